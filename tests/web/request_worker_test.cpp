// The request worker against a recording fake of the HTTP functions: what it passes to each
// function, the header lines it adds, and the record it writes back.

#include "web/request_worker.h"

#include <gtest/gtest.h>

#include "base/byte_ops.h"
#include "support/recording_http.h"

namespace quorvel {
namespace {

using testing::RecordingHttp;

const std::string kAgent =
    "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1; .NET CLR 2.0.50727; .NET CLR "
    "3.0.04506.648; .NET CLR 3.5.21022)";
const std::string kAccept =
    "Accept: image/gif, image/bmp, image/x-xbitmap, image/jpeg, image/pjpeg, "
    "application/x-shockwave-flash, application/vnd.ms-excel, application/vnd.ms-powerpoint, "
    "application/msword, */*\r\n";
const std::string kLanguage = "Accept-Language: zh-cn\r\n";
const std::string kFormType = "Content-Type: application/x-www-form-urlencoded\r\n";

struct Slots {
  std::string url = "http://bbs/p";
  std::string method = "GET";
  std::string proxy;
  std::string headers;
  std::string body;
  std::string cookies;
  std::string redirect = "真";
};

TextArray Record(const Slots& s) {
  return {ByteString(s.url),  ByteString(s.method),  ByteString(s.proxy),   ByteString(s.headers),
          ByteString(s.body), ByteString(s.cookies), ByteString(s.redirect)};
}

class RequestWorkerTest : public ::testing::Test {
 protected:
  // Runs the worker on a file holding the record and gives back what the file then holds.
  TextArray Run(const Slots& slots) {
    FileNumber file = OpenMemoryFile();
    WriteArray(file, Record(slots));
    RequestWorker(file);
    TextArray out(7);
    SeekToStart(file);
    EXPECT_TRUE(ReadArray(file, out));
    CloseFile(file);
    return out;
  }

  // The header text of the one send.
  std::string Sent() const {
    EXPECT_EQ(http_.sends.size(), 1u);
    return http_.sends.empty() ? "" : http_.sends[0].headers;
  }

  RecordingHttp http_;
  testing::ScopedRecordingHttp installed_{http_};
};

TEST_F(RequestWorkerTest, FlagsHostPortAndObjectByAddress) {
  struct Case {
    std::string url, cookies, redirect;
    uint32_t flags;
    uint16_t port;
    std::string host, object;
  };
  const Case cases[] = {
      // The four plain-http flag values.
      {"http://bbs/p", "", "真", 0x80004010, 80, "bbs", "/p"},
      {"http://bbs/p", "a=1", "真", 0x80084010, 80, "bbs", "/p"},
      {"http://bbs/p", "", "假", 0x80204010, 80, "bbs", "/p"},
      {"http://bbs/p", "a=1", "", 0x80284010, 80, "bbs", "/p"},
      // Blanks only are no cookie text for the flags.
      {"http://bbs/p", "  ", "真", 0x80004010, 80, "bbs", "/p"},
      // Every secure request: the secure flag alone, port 443 unless one is written.
      {"https://bbs/p", "a=1", "假", 0x00800000, 443, "bbs", "/p"},
      {"https://Bbs.Example:8443/x?y=1", "", "真", 0x00800000, 8443, "bbs.example", "/x?y=1"},
      // The scheme in capitals is secure too.
      {"HTTPS://bbs/p", "", "真", 0x00800000, 443, "bbs", "/p"},
      // "https://" elsewhere than at the start does not make a request secure.
      {"http://bbs:8080/go?to=https://x/", "", "真", 0x80004010, 8080, "bbs", "/go?to=https://x/"},
  };
  for (const Case& c : cases) {
    http_ = RecordingHttp();
    Slots slots;
    slots.url = c.url;
    slots.cookies = c.cookies;
    slots.redirect = c.redirect;
    Run(slots);
    ASSERT_EQ(http_.requests.size(), 1u) << c.url;
    EXPECT_EQ(http_.requests[0].flags, c.flags) << c.url << " " << c.cookies << c.redirect;
    EXPECT_EQ(http_.connects[0].port, c.port) << c.url;
    EXPECT_EQ(http_.connects[0].server, c.host) << c.url;
    EXPECT_EQ(http_.requests[0].object, c.object) << c.url;
  }
}

TEST_F(RequestWorkerTest, FixedArgumentsOfOpenConnectAndRequest) {
  Slots slots;
  slots.method = "POST";
  Run(slots);
  ASSERT_EQ(http_.opens.size(), 1u);
  EXPECT_EQ(http_.opens[0].access_type, 1u);
  EXPECT_EQ(http_.opens[0].proxy, "");
  EXPECT_EQ(http_.opens[0].proxy_bypass, "");
  EXPECT_EQ(http_.opens[0].flags, 0u);
  const RecordingHttp::Connect& connect = http_.connects[0];
  EXPECT_EQ(connect.user_name, "");
  EXPECT_EQ(connect.password, "");
  EXPECT_EQ(connect.service, 3u);
  EXPECT_EQ(connect.flags, 0u);
  EXPECT_EQ(connect.context, 0u);
  const RecordingHttp::Request& request = http_.requests[0];
  EXPECT_EQ(request.verb, "POST");
  EXPECT_EQ(request.version, "HTTP/1.1");
  EXPECT_EQ(request.referrer, "");
  EXPECT_FALSE(request.accept_types_given);
  EXPECT_EQ(http_.closed, (std::vector<std::string>{"request", "connection", "internet"}));
}

TEST_F(RequestWorkerTest, ProxyGoesAsAnHttpProxyList) {
  Slots slots;
  slots.proxy = "127.0.0.1:3128";
  Run(slots);
  EXPECT_EQ(http_.opens[0].access_type, 3u);
  EXPECT_EQ(http_.opens[0].proxy, "http=127.0.0.1:3128");
  EXPECT_EQ(http_.opens[0].proxy_bypass, "");
}

TEST_F(RequestWorkerTest, UserAgentFromTheHeaderTextOrTheDefault) {
  const std::pair<std::string, std::string> cases[] = {
      {"", kAgent},
      {"User-Agent: Quorvel/1.0\r\n", "Quorvel/1.0"},
      {"X: 1\r\nuser-agent:   two words  \r\nY: 2\r\n", "two words"},
      // Without a line end after it the value is empty.
      {"User-Agent: cut", ""},
  };
  for (const auto& [headers, agent] : cases) {
    http_ = RecordingHttp();
    Slots slots;
    slots.headers = headers;
    Run(slots);
    EXPECT_EQ(http_.opens[0].agent, agent) << headers;
    EXPECT_EQ(Sent().find(headers), 0u) << "the line stays in the text: " << headers;
  }
}

TEST_F(RequestWorkerTest, HeaderLinesAddedAndNotAdded) {
  const std::string referrer = "Referer: http://bbs/p\r\n";
  struct Case {
    std::string method, headers, body, cookies;
    std::string sent;
  };
  const Case cases[] = {
      {"GET", "", "", "", kAccept + referrer + kLanguage},
      // "Accept" inside Accept-Language counts as present.
      {"GET", "Accept-Language: en\r\n", "", "", "Accept-Language: en\r\n" + referrer},
      // "Referer" anywhere, in any case, means no referrer line.
      {"GET", "X-Note: REFERER\r\n", "", "", "X-Note: REFERER\r\n" + kAccept + kLanguage},
      // "RefererNo" spelled so is removed; in other letter case it stays.
      {"GET", "X: RefererNo\r\n", "", "", "X: \r\n" + kAccept + kLanguage},
      {"GET", "X: refererno\r\n", "", "", "X: refererno\r\n" + kAccept + kLanguage},
      // A last line without its line end gets one before the first added line.
      {"GET", "X: 1", "", "", "X: 1\r\n" + kAccept + referrer + kLanguage},
      {"GET", "", "", "a=1; b=2", kAccept + referrer + kLanguage + "Cookie: a=1; b=2\r\n\r\n"},
      // Blanks only still make a cookie line.
      {"GET", "", "", "  ", kAccept + referrer + kLanguage + "Cookie:   \r\n\r\n"},
      {"POST", "", "a=1", "", kAccept + referrer + kLanguage + kFormType + "Content-Length: 3\r\n"},
      {"POST", "Content-Type: text/plain\r\nContent-Length: 3\r\n", "a=1", "c=1",
       "Content-Type: text/plain\r\nContent-Length: 3\r\n" + kAccept + referrer + kLanguage +
           "Cookie: c=1\r\n\r\n"},
      // A POST without a body gets no body lines, and the cookie line all the same.
      {"POST", "", "", "c=1", kAccept + referrer + kLanguage + "Cookie: c=1\r\n\r\n"},
  };
  for (const Case& c : cases) {
    http_ = RecordingHttp();
    Slots slots;
    slots.method = c.method;
    slots.headers = c.headers;
    slots.body = c.body;
    slots.cookies = c.cookies;
    TextArray out = Run(slots);
    EXPECT_EQ(Sent(), c.sent) << c.method << " [" << c.headers << "] [" << c.cookies << "]";
    EXPECT_EQ(http_.sends[0].headers_length, c.sent.size());
    EXPECT_EQ(out[3], ByteString(c.headers)) << "slot 3 keeps the caller's text";
  }
}

TEST_F(RequestWorkerTest, BodyGoesOnlyWithAPost) {
  Slots slots;
  slots.method = "POST";
  slots.body = std::string("a\0b", 3);
  Run(slots);
  EXPECT_EQ(http_.sends[0].body, slots.body);
  EXPECT_EQ(http_.sends[0].body_length, 3u);

  http_ = RecordingHttp();
  slots.method = "GET";
  Run(slots);
  EXPECT_EQ(http_.sends[0].body, std::nullopt);
  EXPECT_EQ(http_.sends[0].body_length, 0u);

  http_ = RecordingHttp();
  slots.method = "POST";
  slots.body = "";
  Run(slots);
  EXPECT_EQ(http_.sends[0].body, std::nullopt);
  EXPECT_EQ(http_.sends[0].body_length, 0u);
}

TEST_F(RequestWorkerTest, AMethodInLowerCaseSendsNothing) {
  http_.body = "page";
  Slots slots;
  slots.method = "post";
  slots.body = "a=1";
  TextArray out = Run(slots);
  EXPECT_TRUE(http_.sends.empty());
  EXPECT_EQ(out[0], ByteString());
  EXPECT_EQ(http_.closed.size(), 3u);
}

TEST_F(RequestWorkerTest, TheRecordAfterAnExchange) {
  http_.body = std::string(5000, 'x') + std::string("\0end", 4);
  http_.raw_headers = "HTTP/1.1 200 OK\r\nX: 1\r\n\r\n";
  Slots slots;
  slots.proxy = "p:1";
  slots.headers = "X: 1\r\n";
  slots.cookies = "a=1";
  slots.redirect = "假";
  TextArray out = Run(slots);
  EXPECT_EQ(out[0], ByteString(http_.body));
  EXPECT_EQ(http_.reads, 4);  // 2048 + 2048 + 908, then 0
  EXPECT_EQ(out[1], ByteString());
  EXPECT_EQ(out[2], ByteString(std::string("p:1")));
  EXPECT_EQ(out[3], ByteString(std::string("X: 1\r\n")));
  EXPECT_EQ(out[5], ByteString(http_.raw_headers));
  EXPECT_EQ(out[6], ByteString(std::string("假")));
}

TEST_F(RequestWorkerTest, LongHeadersAreQueriedAgainWhole) {
  std::string padding = "X-Pad: " + std::string(3000, 'p') + "\r\n";
  http_.raw_headers = "HTTP/1.1 200 OK\r\n" + padding + "Set-Cookie: late=1\r\n\r\n";
  TextArray out = Run(Slots());
  EXPECT_EQ(out[5], ByteString(http_.raw_headers));
  EXPECT_EQ(http_.query_lengths,
            (std::vector<uint32_t>{2048, static_cast<uint32_t>(http_.raw_headers.size() + 1)}));
  EXPECT_EQ(out[1], ByteString(std::string("late=1;")));
}

TEST_F(RequestWorkerTest, AFailedHeaderQueryLeavesSlotFiveEmpty) {
  http_.headers_available = false;
  Slots slots;
  slots.cookies = "a=1";
  TextArray out = Run(slots);
  EXPECT_EQ(out[5], ByteString());
}

TEST_F(RequestWorkerTest, CookieHarvest) {
  struct Cookie {
    std::string name, data;
  };
  struct Case {
    std::string lines;  // between the status line and the empty line
    std::string harvested;
    std::vector<Cookie> stored;
  };
  const Case cases[] = {
      {"X: 1\r\n", "", {}},
      {"Set-Cookie: a=1; path=/\r\n", "a=1;", {{"a", "1; path=/"}}},
      // Any letter case, with or without blanks after the colon.
      {"set-cookie:b=2\r\nSET-COOKIE:   c=3;\r\n", "b=2;c=3;", {{"b", "2"}, {"c", "3;"}}},
      // No ";": the whole remainder.
      {"Set-Cookie: d=4\r\n", "d=4;", {{"d", "4"}}},
      // No "=": an empty name, the whole remainder as data.
      {"Set-Cookie: flag; x\r\n", "flag;", {{"", "flag; x"}}},
      // The marker must begin the line.
      {"X-Set-Cookie: e=5\r\nX: Set-Cookie: f=6\r\n", "", {}},
      {"Set-Cookie: g==7; a=b\r\n", "g==7;", {{"g", "=7; a=b"}}},
  };
  for (const Case& c : cases) {
    http_ = RecordingHttp();
    http_.raw_headers = "HTTP/1.1 200 OK\r\n" + c.lines + "\r\n";
    Slots slots;
    slots.url = "https://Forum.Example/x";
    TextArray out = Run(slots);
    EXPECT_EQ(out[1], ByteString(c.harvested)) << c.lines;
    ASSERT_EQ(http_.cookies.size(), c.stored.size()) << c.lines;
    for (size_t i = 0; i < c.stored.size(); ++i) {
      EXPECT_EQ(http_.cookies[i].url, "http://forum.example") << c.lines;
      EXPECT_EQ(http_.cookies[i].name, c.stored[i].name) << c.lines;
      EXPECT_EQ(http_.cookies[i].data, c.stored[i].data) << c.lines;
    }
  }
}

TEST_F(RequestWorkerTest, AFailedOpenWritesTheRecordBackWithSlotsZeroAndSixEmpty) {
  struct Case {
    bool open, connect, request;
    std::vector<std::string> closed;
  };
  const Case cases[] = {
      {true, false, false, {}},
      {false, true, false, {"internet"}},
      {false, false, true, {"connection", "internet"}},
  };
  for (const Case& c : cases) {
    http_ = RecordingHttp();
    http_.fail_open = c.open;
    http_.fail_connect = c.connect;
    http_.fail_request = c.request;
    Slots slots;
    slots.method = "POST";
    slots.proxy = "p:1";
    slots.headers = "X: 1\r\n";
    slots.body = "a=1";
    slots.cookies = "c=1";
    TextArray out = Run(slots);
    TextArray expected = Record(slots);
    expected[0] = ByteString();
    expected[6] = ByteString();
    EXPECT_EQ(out, expected);
    EXPECT_EQ(http_.closed, c.closed);
    EXPECT_TRUE(http_.sends.empty());
    EXPECT_TRUE(http_.cookies.empty());
  }
}

TEST_F(RequestWorkerTest, AnUnreadableRecordLeavesTheFileAlone) {
  FileNumber file = OpenMemoryFile();
  WriteText(file, "ab");  // not even one slot's length
  RequestWorker(file);
  EXPECT_TRUE(http_.opens.empty());
  SeekToStart(file);
  EXPECT_EQ(ReadLine(file), Text("ab"));
  CloseFile(file);
}

}  // namespace
}  // namespace quorvel
