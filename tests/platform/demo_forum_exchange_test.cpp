// The demo forum through the HTTP stand-in: the login's session cookie carries the punch.

#include <gtest/gtest.h>

#include "platform/http.h"
#include "support/child_process.h"
#include "support/http_client.h"
#include "support/test_support.h"

namespace quorvel::platform {
namespace {

using testing::HttpCall;
using testing::HttpOutcome;
using testing::Perform;

// The login's body as the forum actions send it: the user name in GBK, unescaped.
std::string LoginBody(const std::string& base, const std::string& user,
                      const std::string& password) {
  std::string jumpurl;
  for (char c : base) jumpurl += c == ':' ? "%3A" : c == '/' ? "%2F" : std::string(1, c);
  return "jumpurl=" + jumpurl + "%2Findex.php&step=2&pwuser=" + user +
         "&question=0&customquest=&answer=&pwpwd=" + password + "&head_login=&lgt=0";
}

HttpCall Post(const testing::DemoForum& forum, const std::string& object, const std::string& body) {
  HttpCall call;
  call.port = forum.port();
  call.verb = "POST";
  call.object = object;
  call.body = body;
  call.headers = "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: " +
                 std::to_string(body.size()) + "\r\n";
  call.flags =
      INTERNET_FLAG_RELOAD | INTERNET_FLAG_NEED_FILE | INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS;
  return call;
}

const char kPunch[] =
    "/jobcenter.php?action=punch&verify=7f3c08e6&nowtime=6173060361943&verify=7f3c08e6";

TEST(DemoForumExchange, LoginThenPunchTwiceWithTheStoredSessionCookie) {
  testing::TempDir dir;
  testing::DemoForum forum(dir.File("forum.log"), {"--account", "punch_user:pw&x"});
  ASSERT_TRUE(forum.Start());
  std::string base = "http://127.0.0.1:" + std::to_string(forum.port());

  // Before any login the punch is refused.
  HttpOutcome refused = Perform(Post(forum, kPunch, "step=2"));
  EXPECT_EQ(refused.body.find("金币+5"), std::string::npos);
  EXPECT_EQ(refused.body.find("你已经打卡"), std::string::npos);

  HttpOutcome failed = Perform(Post(forum, "/login.php", LoginBody(base, "punch_user", "no")));
  EXPECT_EQ(failed.body.find("您已经顺利登录"), std::string::npos);

  // The password's "&" goes unescaped and so cuts the field: only "pw" arrives.
  HttpOutcome login = Perform(Post(forum, "/login.php", LoginBody(base, "punch_user", "pw&x")));
  EXPECT_EQ(login.body.find("您已经顺利登录"), std::string::npos);
  login = Perform(Post(forum, "/login.php", LoginBody(base, "punch_user", "pw%26x")));
  ASSERT_NE(login.body.find("您已经顺利登录"), std::string::npos);
  EXPECT_NE(login.raw_headers.find("Set-Cookie: qv_sid="), std::string::npos);

  EXPECT_NE(Perform(Post(forum, kPunch, "step=2")).body.find("金币+5"), std::string::npos);
  EXPECT_NE(Perform(Post(forum, kPunch, "step=2")).body.find("你已经打卡"), std::string::npos);

  // The log shows each request, GBK and all, with the session cookie on the punches.
  std::string log = testing::ReadFileBytes(dir.File("forum.log"));
  EXPECT_NE(log.find("--- POST /login.php HTTP/1.1\n"), std::string::npos);
  EXPECT_NE(log.find("Cookie: qv_sid="), std::string::npos);
  EXPECT_NE(log.find("body: step=2\n"), std::string::npos);
}

TEST(DemoForumExchange, ChineseUserNameInGbkLogsIn) {
  testing::TempDir dir;
  testing::DemoForum forum(dir.File("forum.log"));
  ASSERT_TRUE(forum.Start());
  HttpCall call = Post(forum, "/login.php", LoginBody("http://x", "测试用户", "ceshi123"));
  call.flags |= INTERNET_FLAG_NO_COOKIES;  // keeps this session out of the shared store
  HttpOutcome login = Perform(call);
  EXPECT_NE(login.body.find("您已经顺利登录"), std::string::npos);
  // The name's GBK bytes are visible, escaped, in the log.
  std::string log = testing::ReadFileBytes(dir.File("forum.log"));
  EXPECT_NE(log.find("pwuser=\\xb2\\xe2\\xca\\xd4\\xd3\\xc3\\xbb\\xa7&"), std::string::npos);
}

}  // namespace
}  // namespace quorvel::platform
