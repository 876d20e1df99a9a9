// Form bodies, cookies, account lines and log escaping of the demo forum.

#include <gtest/gtest.h>

#include "form_codec.h"

namespace quorvel::demo {
namespace {

TEST(PercentDecode, DecodesEscapesAndPlusKeepsBrokenOnes) {
  const std::pair<std::string, std::string> cases[] = {
      {"http%3A%2F%2Fbbs%2findex.php", "http://bbs/index.php"},
      {"a+b", "a b"},
      {"%b2%E2", "\xb2\xe2"},
      {"100%", "100%"},
      {"%4", "%4"},
      {"%zz", "%zz"},
      {"", ""},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(PercentDecode(in), out) << in;
}

TEST(ParseForm, TheLoginBody) {
  // The login's body as the client sends it: a GBK user name unescaped.
  std::string body =
      "jumpurl=http%3A%2F%2F127.0.0.1%2Findex.php&step=2&pwuser=\xb2\xe2\xca\xd4&question=0"
      "&customquest=&answer=&pwpwd=p%26w&head_login=&lgt=0";
  std::map<std::string, std::string> form = ParseForm(body);
  EXPECT_EQ(form.size(), 9u);
  EXPECT_EQ(form["jumpurl"], "http://127.0.0.1/index.php");
  EXPECT_EQ(form["pwuser"], "\xb2\xe2\xca\xd4");
  EXPECT_EQ(form["pwpwd"], "p&w");
  EXPECT_EQ(form["customquest"], "");
}

TEST(ParseForm, RepeatedEmptyAndBareFields) {
  std::map<std::string, std::string> form = ParseForm("a=1&&a=2&b&c=");
  EXPECT_EQ(form, (std::map<std::string, std::string>{{"a", "1"}, {"b", ""}, {"c", ""}}));
}

TEST(CookieValue, FindsOneCookieAmongOthers) {
  EXPECT_EQ(CookieValue("a=1; qv_sid=abc; b=2", "qv_sid"), "abc");
  EXPECT_EQ(CookieValue("qv_sid=abc", "qv_sid"), "abc");
  EXPECT_EQ(CookieValue("xqv_sid=abc; qv_sidx=1", "qv_sid"), std::nullopt);
  EXPECT_EQ(CookieValue("", "qv_sid"), std::nullopt);
}

TEST(ParseAccount, SplitsAtTheFirstColon) {
  EXPECT_EQ(ParseAccount("user:pa:ss\r"),
            std::make_pair(std::string("user"), std::string("pa:ss")));
  EXPECT_EQ(ParseAccount("user:"), std::make_pair(std::string("user"), std::string()));
  EXPECT_EQ(ParseAccount(":pass"), std::nullopt);
  EXPECT_EQ(ParseAccount("nocolon"), std::nullopt);
}

TEST(EscapeForLog, MakesEveryByteVisible) {
  EXPECT_EQ(EscapeForLog(std::string("a b\\\r\n\x00\xb2\xe2~", 10)),
            "a b\\\\\\x0d\\x0a\\x00\\xb2\\xe2~");
}

}  // namespace
}  // namespace quorvel::demo
