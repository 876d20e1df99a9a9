#include "web/url_helpers.h"

#include <gtest/gtest.h>

#include <climits>

namespace quorvel {
namespace {

TEST(HostOfTest, TakesTheHostAlone) {
  struct Case {
    Text address;
    Text host;
  };
  const Case cases[] = {
      {"http://Example.COM:8080/x", "example.com"},
      {"https://bbs.quorvel.com/u.php", "bbs.quorvel.com"},
      // A scheme at the start counts in any letter case.
      {"HTTP://Example.COM:8080/x", "example.com"},
      {"HttpS://Example.com", "example.com"},
      // Without a scheme: before the first "/", then before the first ":".
      {"Example.com/a:b", "example.com"},
      {"host:81", "host"},
      // User information: the text before its ":" is taken for the host.
      {"http://user:pw@host/x", "user"},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.address.str());
    EXPECT_EQ(HostOf(c.address).str(), c.host.str());
  }
}

TEST(PathOfTest, TakesEverythingFromThePathOn) {
  struct Case {
    Text address;
    Text path;
  };
  const Case cases[] = {
      {"http://bbs.quorvel.com/login.php", "/login.php"},
      // The query and any later "/" stay in the path.
      {"http://h.com/jobcenter.php?action=punch&to=/u.php",
       "/jobcenter.php?action=punch&to=/u.php"},
      {"http://h.com", "/"},
      {"http://h.com:8080", "/"},
      {"", "/"},
      {"h.com/x", "/x"},
      {"HTTP://H.com/x", "/x"},
      // A host whose letters also stand in the scheme: the path still starts after the host.
      {"http://h/x", "/x"},
      {"http://tp/a?b", "/a?b"},
      {"https://p/q", "/q"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.address.str());
    EXPECT_EQ(PathOf(c.address).str(), c.path.str());
  }
}

TEST(PortOfTest, ReadsTheNumberAfterTheHost) {
  struct Case {
    Text address;
    int32_t port;
  };
  const Case cases[] = {
      {"http://h.com/x", 80},
      {"http://h.com:8080/x", 8080},
      {"HTTP://h.com:81", 81},
      {"h.com:90/x", 90},
      {"h.com", 80},
      // A ":" in the path is not a port.
      {"http://h.com/x:99", 80},
      // No number after the ":".
      {"http://h.com:/x", 0},
      {"http://h.com:abc", 0},
      {"http://h.com:80.9", 80},
      {"http://h.com:99999999999", INT32_MIN},
      // https: its own default, an explicit port still wins.
      {"https://h.com/x", 443},
      {"HTTPS://h.com", 443},
      {"https://h.com:8443/x", 8443},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.address.str());
    EXPECT_EQ(PortOf(c.address), c.port);
  }
}

TEST(TextBetweenTest, TakesTheTextBetweenMarkers) {
  struct Case {
    const char* name;
    Text text, start_marker, end_marker;
    int32_t start;
    bool exact_case;
    Text expected;
  };
  const Case cases[] = {
      {"ignoring case", "Set-Cookie: a=1; path=/", "SET-COOKIE: ", ";", 0, false, "a=1"},
      {"exact case", "Set-Cookie: a=1; path=/", "SET-COOKIE: ", ";", 0, true, ""},
      {"quote spelled out", "<input name=\"t\" value=\"9\">", "value=#引号", "#引号", 0, false,
       "9"},
      {"no start marker", "a=1;", "b=", ";", 0, false, ""},
      {"no end marker", "a=1", "a=", ";", 0, false, ""},
      {"end right after start", "a=;", "a=", ";", 0, false, ""},
      {"first end after start", "x(1)(2)", "(", ")", 0, false, "1"},
      {"double-byte text", "状态：成功。", "状态：", "。", 0, false, "成功"},
      // From a later start, the end marker's search skips as many bytes of the rest.
      {"later start", "xx[abcd]", "[", "]", 2, false, "abcd"},
      {"later start skips", "xx[]a]", "[", "]", 3, false, "]a"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(TextBetween(c.text, c.start_marker, c.end_marker, c.start, c.exact_case).str(),
              c.expected.str());
  }
}

TEST(TextBeforeTest, TakesTheTextBeforeTheMarker) {
  struct Case {
    const char* name;
    Text text, marker;
    int32_t start;
    bool ignore_case;
    Text expected;
  };
  const Case cases[] = {
      {"header name", "Content-Type: text/html", ":", 0, false, "Content-Type"},
      {"absent", "abc", ":", 0, false, ""},
      {"text begins with marker", ":abc", ":", 0, false, ""},
      {"exact case", "aXbx", "x", 0, false, "aXb"},
      {"ignoring case", "aXbx", "x", 0, true, "a"},
      // A later start still counts the result from the very start.
      {"later start", "a:b:c", ":", 3, false, "a:b"},
      {"start below 1", "a:b", ":", -5, false, "a"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(TextBefore(c.text, c.marker, c.start, c.ignore_case).str(), c.expected.str());
  }
}

}  // namespace
}  // namespace quorvel
