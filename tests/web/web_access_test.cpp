#include "web/web_access.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "base/byte_ops.h"
#include "base/window_services.h"
#include "platform/http.h"
#include "platform/threads.h"
#include "platform/tick.h"
#include "platform/window/headless/headless_backend.h"
#include "support/http_test_server.h"
#include "support/raw_tcp_server.h"

namespace quorvel::testing {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

const std::string kZeroBody("a\0b", 3);

// A headless window thread and a small forum-like server.
class WebAccessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    backend_ = &platform::UseHeadlessBackend();
    auto& s = server_.server();
    s.Get("/page", [](const httplib::Request&, httplib::Response& res) {
      res.set_content("<p>hello</p>", "text/html");
    });
    s.Post("/echo", [](const httplib::Request& req, httplib::Response& res) {
      res.set_content(req.method + ":" + req.body, "text/plain");
    });
    s.Get("/zero", [](const httplib::Request&, httplib::Response& res) {
      res.set_content(kZeroBody, "application/octet-stream");
    });
    s.Get("/utf8", [](const httplib::Request&, httplib::Response& res) {
      res.set_content("\xE7\xAD\xBE\xE5\x88\xB0 ok", "text/html; charset=utf-8");  // 签到
    });
    s.Get("/cookie", [](const httplib::Request&, httplib::Response& res) {
      res.set_header("Set-Cookie", "flavour=oat; path=/");
      res.set_content("set", "text/plain");
    });
    s.Get("/slow-cookie", [](const httplib::Request&, httplib::Response& res) {
      std::this_thread::sleep_for(1500ms);
      res.set_header("Set-Cookie", "late=1; path=/");
      res.set_content("late", "text/plain");
    });
    s.Get("/slow", [](const httplib::Request&, httplib::Response& res) {
      std::this_thread::sleep_for(300ms);
      res.set_content("slow", "text/plain");
    });
    s.Get("/check", [](const httplib::Request& req, httplib::Response& res) {
      res.set_content("cookie=" + req.get_header_value("Cookie"), "text/plain");
    });
    ASSERT_TRUE(server_.Start());
  }
  void TearDown() override {
    EXPECT_TRUE(platform::WaitForAbandonedWorkers(3000)) << "a worker outlived its call";
    platform::InstallBackend(nullptr);
  }

  std::string Fetch(const std::string& path, int32_t charset = 0) {
    Text url(server_.Url(path));
    return WebAccess(url, 0, {}, {}, {}, {}, kOmitted, nullptr, charset).str();
  }

  platform::HeadlessBackend* backend_ = nullptr;
  HttpTestServer server_;
};

TEST_F(WebAccessTest, BlankAddressReturnsEmptyWithoutARequest) {
  for (const char* blank : {"", "   ", "\xA1\xA1 "}) {
    Text url(blank);
    EXPECT_TRUE(WebAccess(url).empty());
    EXPECT_EQ(url, Text(blank)) << "the caller's text stays";
  }
  EXPECT_TRUE(server_.Requests().empty());
}

TEST_F(WebAccessTest, SchemeIsCompletedAndWrittenBack) {
  Text url(server_.Url("/page").substr(7));  // without "http://"
  EXPECT_EQ(WebAccess(url).str(), "<p>hello</p>");
  EXPECT_EQ(url.str(), server_.Url("/page"));

  Text upper("HTTP://" + server_.Url("/page").substr(7));
  EXPECT_EQ(WebAccess(upper).str(), "<p>hello</p>") << "a scheme in capitals is kept as it is";
  EXPECT_EQ(upper.str().rfind("HTTP://", 0), 0u);
}

TEST_F(WebAccessTest, PostSendsTheBodyAndAnyOtherMethodIsAGet) {
  Text url(server_.Url("/echo"));
  EXPECT_EQ(WebAccess(url, 1, {}, {}, ByteString(std::string("x=1&y=2"))).str(), "POST:x=1&y=2");
  server_.server().Get("/echo", [](const httplib::Request& req, httplib::Response& res) {
    res.set_content(req.method, "text/plain");
  });
  EXPECT_EQ(WebAccess(url, 2).str(), "GET");
}

TEST_F(WebAccessTest, CharsetZeroKeepsEveryByteAndConversionsCutAtZero) {
  EXPECT_EQ(Fetch("/zero", 0), kZeroBody);
  EXPECT_EQ(Fetch("/zero", 1), "a");
  EXPECT_EQ(Fetch("/zero", 2), "a");
  EXPECT_EQ(Fetch("/utf8", 1), "签到 ok");
  EXPECT_EQ(Fetch("/utf8", 0), "\xE7\xAD\xBE\xE5\x88\xB0 ok");
}

TEST_F(WebAccessTest, OutValuesAreWrittenOnlyWhenGiven) {
  Text url(server_.Url("/cookie"));
  Text headers("untouched"), cookies("untouched");
  EXPECT_EQ(WebAccess(url, 0, {}, {}, {}, {}, kOmitted, &headers, 0, &cookies).str(), "set");
  EXPECT_EQ(headers.str().rfind("HTTP/1.1 200", 0), 0u) << headers.str();
  EXPECT_NE(headers.str().find("Set-Cookie: flavour=oat; path=/\r\n"), std::string::npos);
  EXPECT_EQ(cookies, Text("flavour=oat;"));
}

TEST_F(WebAccessTest, NeverAnsweringServerEndsWithTheTimeOutMessageAfterTheLimit) {
  RawTcpServer silent;
  ASSERT_TRUE(silent.Start());
  Text url(silent.Url("/"));
  Text headers("untouched");
  const auto start = Clock::now();
  const ByteString page = WebAccess(url, 0, {}, {}, {}, {}, 5, &headers);
  const auto took = Clock::now() - start;
  EXPECT_EQ(page.str(), kTimeOutMessage);
  EXPECT_EQ(headers, Text("untouched")) << "never written on a time-out";
  EXPECT_GE(took, 5s);
  EXPECT_LT(took, 6s);
}

TEST_F(WebAccessTest, AnAbandonedWorkerLeavesNoCookieBehind) {
  Text url(server_.Url("/slow-cookie"));
  EXPECT_EQ(WebAccess(url, 0, {}, {}, {}, {}, 1).str(), kTimeOutMessage);
  std::this_thread::sleep_for(1000ms);  // the server has answered by now
  EXPECT_EQ(Fetch("/check").find("late="), std::string::npos);
}

TEST_F(WebAccessTest, LimitOfZeroEndsAtTheFirstWake) {
  Text url(server_.Url("/slow"));
  const auto start = Clock::now();
  EXPECT_EQ(WebAccess(url, 0, {}, {}, {}, {}, 0).str(), kTimeOutMessage);
  EXPECT_LT(Clock::now() - start, 200ms);
}

TEST_F(WebAccessTest, InputDuringTheWaitRunsNestedWithItsOwnRequest) {
  std::vector<std::string> order;
  std::thread user([this, &order] {
    std::this_thread::sleep_for(100ms);
    backend_->Queue([this, &order] {
      order.push_back("nested start");
      order.push_back("nested got " + Fetch("/page"));
    });
  });
  order.push_back("outer got " + Fetch("/slow"));
  user.join();
  EXPECT_EQ(order, (std::vector<std::string>{"nested start", "nested got <p>hello</p>",
                                             "outer got slow"}));
}

// A tick counter 200 ms before its wrap when the call starts.
std::atomic<uint32_t> g_tick_base{0};
uint32_t WrappingTicks() {
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch());
  return g_tick_base.load() + static_cast<uint32_t>(ms.count());
}

TEST_F(WebAccessTest, TickCounterWrapDuringTheWaitIsNoTimeOut) {
  const auto now =
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch());
  g_tick_base = 0xFFFFFFFFu - 200u - static_cast<uint32_t>(now.count());
  platform::SetTickSourceForTesting(&WrappingTicks);
  Text url(server_.Url("/slow"));  // answers after 300 ms: the counter wraps meanwhile
  const std::string page = WebAccess(url, 0, {}, {}, {}, {}, 5).str();
  platform::SetTickSourceForTesting(nullptr);
  EXPECT_EQ(page, "slow");
}

}  // namespace
}  // namespace quorvel::testing
