// The HTTP stand-in against servers on 127.0.0.1: cookies, redirects, header lines, proxy,
// TLS, failures, raw headers, body pieces and cancelling.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <thread>

#include "platform/http.h"
#include "support/child_process.h"
#include "support/http_client.h"
#include "support/http_test_server.h"
#include "support/raw_tcp_server.h"
#include "support/test_support.h"

namespace quorvel::platform {
namespace {

using testing::HttpTestServer;
using testing::RawTcpServer;

using Call = testing::HttpCall;
using Outcome = testing::HttpOutcome;
using testing::Perform;

Call Get(const HttpTestServer& server, const std::string& object, uint32_t flags = 0) {
  Call call;
  call.port = server.port();
  call.object = object;
  call.flags = flags;
  return call;
}

// A server whose /set/NAME sets cookie NAME=VALUE-of-query and whose /echo returns the
// Cookie header it received; /hop/NAME sets a cookie and redirects to /echo.
class CookieServer : public ::testing::Test {
 protected:
  void SetUp() override {
    server_.server().Get(R"(/set/(\w+))", [](const httplib::Request& req, httplib::Response& res) {
      res.set_header("Set-Cookie",
                     req.matches[1].str() + "=" + req.get_param_value("v") + "; Path=/");
      res.set_content("set", "text/plain");
    });
    server_.server().Get(R"(/hop/(\w+))", [](const httplib::Request& req, httplib::Response& res) {
      res.set_header("Set-Cookie", req.matches[1].str() + "=hop; Path=/");
      res.set_redirect("/echo");
    });
    server_.server().Get("/echo", [](const httplib::Request& req, httplib::Response& res) {
      res.set_content(req.get_header_value("Cookie"), "text/plain");
    });
    ASSERT_TRUE(server_.Start());
  }

  HttpTestServer server_;
};

TEST_F(CookieServer, StoredCookiesGoWithLaterRequestsToTheirHost) {
  ASSERT_TRUE(Perform(Get(server_, "/set/store_a?v=1")).sent);
  EXPECT_NE(Perform(Get(server_, "/echo")).body.find("store_a=1"), std::string::npos);
  // Another host name for the same server: the cookie stays with its own host.
  Call other = Get(server_, "/echo");
  other.host = "localhost";
  EXPECT_EQ(Perform(other).body.find("store_a"), std::string::npos);
}

TEST_F(CookieServer, CookiesOfRedirectAnswersAreStoredAndSentOnTheWay) {
  Outcome out = Perform(Get(server_, "/hop/store_hop"));
  EXPECT_NE(out.body.find("store_hop=hop"), std::string::npos);
}

TEST_F(CookieServer, NoCookiesFlagNeitherSendsNorStoresButKeepsTheGivenLine) {
  ASSERT_TRUE(Perform(Get(server_, "/set/nocookie_a?v=1")).sent);
  ASSERT_TRUE(Perform(Get(server_, "/set/nocookie_b?v=2", INTERNET_FLAG_NO_COOKIES)).sent);

  Call given = Get(server_, "/echo", INTERNET_FLAG_NO_COOKIES);
  given.headers = "Cookie: mine=3\r\n\r\n";
  EXPECT_EQ(Perform(given).body, "mine=3");  // neither stored cookie goes along

  std::string sent = Perform(Get(server_, "/echo")).body;
  EXPECT_NE(sent.find("nocookie_a=1"), std::string::npos);
  EXPECT_EQ(sent.find("nocookie_b"), std::string::npos);
}

TEST_F(CookieServer, SetCookieGoesToItsHostOnly) {
  ASSERT_TRUE(InternetSetCookieA("http://127.0.0.1", "given_a", "42; path=/"));
  ASSERT_TRUE(InternetSetCookieA("http://localhost", "given_b", "43"));
  std::string to_ip = Perform(Get(server_, "/echo")).body;
  EXPECT_NE(to_ip.find("given_a=42"), std::string::npos);
  EXPECT_EQ(to_ip.find("given_b"), std::string::npos);

  Call to_name = Get(server_, "/echo");
  to_name.host = "localhost";
  std::string sent = Perform(to_name).body;
  EXPECT_NE(sent.find("given_b=43"), std::string::npos);
  EXPECT_EQ(sent.find("given_a"), std::string::npos);
}

TEST_F(CookieServer, SetCookieHonoursPathAndExpiry) {
  ASSERT_TRUE(InternetSetCookieA("http://127.0.0.1", "path_a", "1; path=/elsewhere"));
  ASSERT_TRUE(InternetSetCookieA("http://127.0.0.1", "gone_a", "1"));
  ASSERT_TRUE(
      InternetSetCookieA("http://127.0.0.1", "gone_a", "1; expires=Thu, 01 Jan 1970 00:00:10 GMT"));
  std::string sent = Perform(Get(server_, "/echo")).body;
  EXPECT_EQ(sent.find("path_a"), std::string::npos);
  EXPECT_EQ(sent.find("gone_a"), std::string::npos);
}

// A server that answers /redirect/CODE with that redirect to /target and records everything.
class RedirectServer : public ::testing::Test {
 protected:
  void SetUp() override {
    server_.server().Post(R"(/redirect/(\d+))",
                          [](const httplib::Request& req, httplib::Response& res) {
                            res.set_redirect("/target", std::stoi(req.matches[1].str()));
                          });
    auto target = [](const httplib::Request& req, httplib::Response& res) {
      res.set_content(req.method + " " + req.body, "text/plain");
    };
    server_.server().Get("/target", target);
    server_.server().Post("/target", target);
    ASSERT_TRUE(server_.Start());
  }

  HttpTestServer server_;
};

TEST_F(RedirectServer, PostContinuesAsGetAfter301To303AndKeepsItsBodyAfter307And308) {
  struct Case {
    int code;
    std::string expected;
  };
  for (const Case& c : {Case{301, "GET "}, Case{302, "GET "}, Case{303, "GET "},
                        Case{307, "POST a=1&b=2"}, Case{308, "POST a=1&b=2"}}) {
    Call call = Get(server_, "/redirect/" + std::to_string(c.code));
    call.verb = "POST";
    call.body = "a=1&b=2";
    call.headers = "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: 7\r\n";
    Outcome out = Perform(call);
    EXPECT_TRUE(out.sent) << c.code << " " << out.error;
    EXPECT_EQ(out.body, c.expected) << c.code;
    EXPECT_EQ(out.raw_headers.rfind("HTTP/1.1 200", 0), 0u) << c.code;
  }
  // The GET that follows a 302 carries no length and no body.
  std::vector<testing::RecordedRequest> seen = server_.Requests();
  ASSERT_GE(seen.size(), 4u);
  EXPECT_EQ(seen[3].method, "GET");
  EXPECT_FALSE(seen[3].HasHeader("Content-Length"));
}

TEST_F(RedirectServer, NoAutoRedirectHandsBackTheRedirectItself) {
  Call call = Get(server_, "/redirect/302", INTERNET_FLAG_NO_AUTO_REDIRECT);
  call.verb = "POST";
  Outcome out = Perform(call);
  EXPECT_EQ(out.raw_headers.rfind("HTTP/1.1 302", 0), 0u);
  EXPECT_NE(out.raw_headers.find("Location: /target\r\n"), std::string::npos);
  EXPECT_EQ(server_.Requests().size(), 1u);
}

TEST(HttpHeaderLines, TheRequestCarriesTheGivenLinesHostLengthAndAgentOnly) {
  RawTcpServer server([](const std::string&) {
    return std::string("HTTP/1.1 200 OK\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
  });
  ASSERT_TRUE(server.Start());
  Call call;
  call.port = server.port();
  call.verb = "POST";
  call.object = "/form?x=1";
  call.headers = "X-One: 1\r\nX-Empty:\r\n\r\nReferer: http://r/\r\n";
  call.body = "k=v";
  call.flags = INTERNET_FLAG_NO_COOKIES;
  ASSERT_TRUE(Perform(call).sent);
  ASSERT_EQ(server.Requests().size(), 1u);
  std::string port = std::to_string(server.port());
  EXPECT_EQ(server.Requests()[0],
            "POST /form?x=1 HTTP/1.1\r\nHost: 127.0.0.1:" + port +
                "\r\nUser-Agent: quorvel-test-agent\r\nX-One: 1\r\nX-Empty:\r\n"
                "Referer: http://r/\r\nContent-Length: 3\r\n\r\nk=v");
}

TEST(HttpRawHeaders, FinalAnswerLinesAndTheTooSmallBuffer) {
  const std::string head = "HTTP/1.1 200 OK\r\nX-A: 1\r\nSet-Cookie: raw_a=1\r\nContent-Length: 2";
  RawTcpServer server([&](const std::string&) { return head + "\r\n\r\nhi"; });
  ASSERT_TRUE(server.Start());
  HINTERNET internet = InternetOpenA("a", INTERNET_OPEN_TYPE_DIRECT, "", "", 0);
  HINTERNET connection =
      InternetConnectA(internet, "127.0.0.1", static_cast<uint16_t>(server.port()), "", "",
                       INTERNET_SERVICE_HTTP, 0, 0);
  HINTERNET request = HttpOpenRequestA(connection, "GET", "/", "HTTP/1.1", "", nullptr,
                                       INTERNET_FLAG_NO_COOKIES, 0);
  ASSERT_TRUE(HttpSendRequestA(request, nullptr, 0, nullptr, 0));
  const std::string expected = head + "\r\n\r\n";

  // One byte short of the zero: refused, buffer untouched, the size needed given back.
  std::string small(expected.size(), '#');
  uint32_t length = static_cast<uint32_t>(small.size());
  EXPECT_FALSE(
      HttpQueryInfoA(request, HTTP_QUERY_RAW_HEADERS_CRLF, small.data(), &length, nullptr));
  EXPECT_EQ(length, expected.size() + 1);
  EXPECT_EQ(small, std::string(expected.size(), '#'));

  std::string exact(length, '#');
  EXPECT_TRUE(HttpQueryInfoA(request, HTTP_QUERY_RAW_HEADERS_CRLF, exact.data(), &length, nullptr));
  EXPECT_EQ(length, expected.size());
  EXPECT_EQ(exact, expected + '\0');
  InternetCloseHandle(request);
  InternetCloseHandle(connection);
  InternetCloseHandle(internet);
}

TEST(HttpBody, LargeBodiesComeOutWholeInPiecesWithZeroAtTheEnd) {
  HttpTestServer server;
  std::string big(3 * 1024 * 1024 + 7, '\0');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 131 % 251);
  server.server().Get("/big", [&](const httplib::Request&, httplib::Response& res) {
    res.set_content(big, "application/octet-stream");
  });
  ASSERT_TRUE(server.Start());
  Outcome out = Perform(Get(server, "/big", INTERNET_FLAG_NO_COOKIES));
  EXPECT_TRUE(out.sent);
  EXPECT_TRUE(out.body == big);
}

TEST(HttpFailures, RefusedConnectionGivesNoAnswer) {
  Call call;
  call.port = testing::UnusedPort();
  Outcome out = Perform(call);
  EXPECT_FALSE(out.sent);
  EXPECT_NE(out.error, "");
  EXPECT_EQ(out.body, "");
  EXPECT_EQ(out.raw_headers, "");
}

TEST(HttpFailures, BadHandlesAndArgumentsFail) {
  EXPECT_EQ(InternetOpenA("a", 2, "", "", 0), nullptr);
  HINTERNET internet = InternetOpenA("a", INTERNET_OPEN_TYPE_DIRECT, "", "", 0);
  EXPECT_EQ(InternetConnectA(internet, "h", 80, "", "", 1, 0, 0), nullptr);
  EXPECT_EQ(HttpOpenRequestA(internet, "GET", "/", "HTTP/1.1", "", nullptr, 0, 0), nullptr);
  EXPECT_TRUE(InternetCloseHandle(internet));
  EXPECT_FALSE(InternetCloseHandle(internet));
  EXPECT_FALSE(HttpSendRequestA(internet, nullptr, 0, nullptr, 0));
}

TEST(HttpProxy, PlainHttpGoesThroughTheProxy) {
  testing::TempDir dir;
  testing::LocalProxy proxy(dir.path().string());
  ASSERT_TRUE(proxy.Start());
  HttpTestServer server;
  server.server().Get("/", [](const httplib::Request&, httplib::Response& res) {
    res.set_content("proxied", "text/plain");
  });
  ASSERT_TRUE(server.Start());
  Call call = Get(server, "/");
  call.proxy_list = "http=" + proxy.Address();
  Outcome out = Perform(call);
  EXPECT_EQ(out.body, "proxied");
  ASSERT_EQ(server.Requests().size(), 1u);
  EXPECT_NE(server.Requests()[0].Header("Via").find("quorvel-test-proxy"), std::string::npos);

  // With the proxy gone, the same request fails: it does not go direct.
  call.proxy_list = "http=127.0.0.1:" + std::to_string(testing::UnusedPort());
  EXPECT_FALSE(Perform(call).sent);
}

// Sets an environment variable for the life of the object.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : name_(name) {
    const char* old = std::getenv(name);
    if (old != nullptr) old_ = old;
    had_ = old != nullptr;
    setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() {
    if (had_) {
      setenv(name_, old_.c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::string old_;
  bool had_ = false;
};

class TlsServer : public ::testing::Test {
 protected:
  void SetUp() override {
    certificates_ = testing::MakeTestCertificates(dir_.path().string());
    ASSERT_TRUE(certificates_.ok);
    server_ = std::make_unique<HttpTestServer>(certificates_.cert_file, certificates_.key_file);
    server_->server().Get("/", [](const httplib::Request&, httplib::Response& res) {
      res.set_content("secret", "text/plain");
    });
    ASSERT_TRUE(server_->Start());
  }

  Call SecureGet() const {
    Call call = Get(*server_, "/", INTERNET_FLAG_SECURE);
    return call;
  }

  testing::TempDir dir_;
  testing::TestCertificates certificates_;
  std::unique_ptr<HttpTestServer> server_;
};

TEST_F(TlsServer, SecureRequestVerifiesTheCertificate) {
  {
    ScopedEnv trust("SSL_CERT_FILE", certificates_.ca_file);
    Outcome out = Perform(SecureGet());
    EXPECT_TRUE(out.sent) << out.error;
    EXPECT_EQ(out.body, "secret");
  }
  // The system store does not know the test authority.
  ScopedEnv other("SSL_CERT_FILE", "/etc/ssl/certs/ca-certificates.crt");
  Outcome out = Perform(SecureGet());
  EXPECT_FALSE(out.sent);
  EXPECT_NE(out.error.find("certificate"), std::string::npos) << out.error;
  EXPECT_EQ(out.body, "");
}

TEST_F(TlsServer, HttpsGoesDirectDespiteAnHttpProxy) {
  ScopedEnv trust("SSL_CERT_FILE", certificates_.ca_file);
  Call call = SecureGet();
  call.proxy_list = "http=127.0.0.1:" + std::to_string(testing::UnusedPort());
  Outcome out = Perform(call);
  EXPECT_TRUE(out.sent) << out.error;
  EXPECT_EQ(out.body, "secret");
}

TEST(HttpCancel, CancelEndsAWaitingTransferAtOnceAndLaterOnesFail) {
  RawTcpServer silent;
  ASSERT_TRUE(silent.Start());
  std::shared_ptr<CancelToken> token = CancelToken::Create();
  std::atomic<bool> done{false};
  std::atomic<bool> sent{true};
  std::atomic<bool> cookie_stored{true};
  std::atomic<int64_t> ended_at{0};
  std::thread worker([&] {
    ScopedCancelToken installed(token);
    Call call;
    call.port = silent.port();
    sent = Perform(call).sent;
    ended_at = std::chrono::steady_clock::now().time_since_epoch().count();
    cookie_stored = InternetSetCookieA("http://127.0.0.1", "after_cancel", "1");
    done = true;
  });
  while (silent.Requests().empty()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  // Past libcurl's own short timers, so that only the wake-up can end the wait soon.
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  auto cancelled_at = std::chrono::steady_clock::now();
  token->Cancel();
  worker.join();
  auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::duration(ended_at.load()) - cancelled_at.time_since_epoch());
  EXPECT_FALSE(sent);
  EXPECT_FALSE(cookie_stored);
  // Without the wake-up the transfer would wait out a poll of many seconds.
  EXPECT_LT(waited.count(), 2000);
}

TEST(HttpCancel, CancelRequestReachesTheHandleFromAnotherThread) {
  RawTcpServer silent;
  ASSERT_TRUE(silent.Start());
  HINTERNET internet = InternetOpenA("a", INTERNET_OPEN_TYPE_DIRECT, "", "", 0);
  HINTERNET connection =
      InternetConnectA(internet, "127.0.0.1", static_cast<uint16_t>(silent.port()), "", "",
                       INTERNET_SERVICE_HTTP, 0, 0);
  HINTERNET request = HttpOpenRequestA(connection, "GET", "/", "HTTP/1.1", "", nullptr, 0, 0);
  std::thread canceller([&] {
    while (silent.Requests().empty()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    CancelRequest(request);
  });
  EXPECT_FALSE(HttpSendRequestA(request, nullptr, 0, nullptr, 0));
  canceller.join();
  EXPECT_EQ(RequestError(request), "cancelled");
  InternetCloseHandle(request);
  InternetCloseHandle(connection);
  InternetCloseHandle(internet);
}

}  // namespace
}  // namespace quorvel::platform
