// The pure pieces of the HTTP stand-in: header lines for libcurl, cookie lines, proxy lists.

#include <gtest/gtest.h>

#include "platform/http/cookie_store.h"
#include "platform/http/handles.h"
#include "platform/http/transfer.h"

namespace quorvel::platform::http {
namespace {

using Lines = std::vector<std::string>;

TEST(HeaderLinesToSend, SplitsLinesAndKeepsLibcurlDefaultsOut) {
  struct Case {
    std::string text;
    Lines expected;
  };
  const Case cases[] = {
      // Nothing given: only the three suppressors.
      {"", {"Accept:", "Expect:", "Content-Type:"}},
      // Any line end; empty and blank lines dropped; each line as given.
      {"A: 1\r\n\r\nB:2\n  \rC:  x y \r\n",
       {"A: 1", "B:2", "C:  x y ", "Accept:", "Expect:", "Content-Type:"}},
      // An empty value goes out as "Name;" (libcurl would drop "Name:").
      {"X-Empty:\r\nX-Blank:   \r\n",
       {"X-Empty;", "X-Blank;", "Accept:", "Expect:", "Content-Type:"}},
      // Given names, in any case, are not suppressed; "Accept-Language" is not "Accept".
      {"accept: */*\r\nAccept-Language: zh-cn\r\nCONTENT-TYPE: text/plain\r\n",
       {"accept: */*", "Accept-Language: zh-cn", "CONTENT-TYPE: text/plain", "Expect:"}},
      // libcurl counts the body itself, so a redirected POST that turns into a GET has none.
      {"Content-Length: 12\r\nCookie: a=1\r\n\r\n",
       {"Cookie: a=1", "Accept:", "Expect:", "Content-Type:"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(HeaderLinesToSend(c.text), c.expected) << c.text;
  }
}

TEST(CookieLine, HostOnlyNetscapeLines) {
  struct Case {
    std::string url, name, data;
    std::string expected;  // empty: refused
  };
  const int64_t now = 1000;
  const Case cases[] = {
      {"http://127.0.0.1", "sid", "abc", "127.0.0.1\tFALSE\t/\tFALSE\t0\tsid\tabc"},
      // Port, user and query do not count; the host is lower-cased.
      {"http://u@Forum.Example:8080?x=1", "a", "1", "forum.example\tFALSE\t/\tFALSE\t0\ta\t1"},
      // Value up to the first ";", attributes after it.
      {"http://h/dir/page.php", "a", " v1 ; path=/p; Secure; HttpOnly",
       "#HttpOnly_h\tFALSE\t/p\tTRUE\t0\ta\tv1"},
      // Default path: the address's directory.
      {"http://h/dir/page.php", "a", "v", "h\tFALSE\t/dir\tFALSE\t0\ta\tv"},
      {"http://h", "a", "v; expires=Thu, 01 Jan 1970 00:00:10 GMT", "h\tFALSE\t/\tFALSE\t10\ta\tv"},
      {"http://h", "a", "v; max-age=60", "h\tFALSE\t/\tFALSE\t1060\ta\tv"},
      // A cookie already expired keeps a past time, so that it replaces and then goes.
      {"http://h", "a", "v; max-age=0", "h\tFALSE\t/\tFALSE\t1\ta\tv"},
      // Unknown attributes, such as domain, are ignored: the cookie stays host-only.
      {"http://h", "a", "v; domain=.other; Foo", "h\tFALSE\t/\tFALSE\t0\ta\tv"},
      {"http://h", "", "v", ""},
      {"http://h", "a b", "v", ""},
      {"http://", "a", "v", ""},
      {"http://h", "a", "v\tw", ""},
  };
  for (const Case& c : cases) {
    std::optional<std::string> line = CookieLine(c.url, c.name, c.data, now);
    EXPECT_EQ(line.value_or(""), c.expected) << c.url << " " << c.name << " " << c.data;
  }
}

TEST(ParseProxyList, PicksTheProxyPerScheme) {
  struct Case {
    std::string list, http, https;
  };
  const Case cases[] = {
      {"http=127.0.0.1:8888", "127.0.0.1:8888", ""},
      {"http=a:1 https=b:2", "a:1", "b:2"},
      {"https=b:2;http=a:1", "a:1", "b:2"},
      {"a:1", "a:1", "a:1"},
      {"ftp=c:3", "", ""},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    std::string http, https;
    ParseProxyList(c.list, http, https);
    EXPECT_EQ(http, c.http) << c.list;
    EXPECT_EQ(https, c.https) << c.list;
  }
}

}  // namespace
}  // namespace quorvel::platform::http
