// The whole daily routine against the demo forum, and the requests as the forum saw them.

#include <gtest/gtest.h>

#include <string>

#include "forum/forum_fixture.h"
#include "support/child_process.h"

namespace quorvel::testing {
namespace {

// The demo's log writes bytes outside printable ASCII as \xNN.
std::string Escaped(std::string_view bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F && c != '\\') {
      out += c;
    } else {
      out += c == '\\' ? std::string("\\\\")
                       : std::string{'\\', 'x', digits[byte >> 4], digits[byte & 15]};
    }
  }
  return out;
}

// One logged request: its first line, header lines and body line.
std::string LoggedRequest(const std::string& log, const std::string& first_line, int nth = 0) {
  size_t at = 0;
  for (int i = 0; i <= nth; ++i) {
    at = log.find("--- " + first_line, i == 0 ? 0 : at + 1);
    if (at == std::string::npos) return {};
  }
  return log.substr(at, log.find("\n---", at + 1) - at);
}

class DemoForumTest : public ForumFixture {
 protected:
  void SetUp() override {
    ForumFixture::SetUp();
    ASSERT_TRUE(forum_.Start());
    SetForumBaseAddress(Text(forum_.Url("")));
  }
  std::string Log() const { return ReadFileBytes(log_); }

  static constexpr const char* kUser = "张三";
  static constexpr const char* kPassword = "a&b=c+d%e";
  std::string log_ = dir_.File("forum.log");
  DemoForum forum_{log_, {"--account", std::string(kUser) + ":" + kPassword}};
};

TEST_F(DemoForumTest, LogInCheckInAndCheckInAgainTheSameDay) {
  LogInAs(kUser, kPassword);
  ASSERT_EQ(Messages().back(), "登陆成功") << "the password reached the forum unchanged";
  Click(window_->按钮_签到);
  EXPECT_EQ(Messages().back(), "打卡成功");
  EXPECT_TRUE(window_->标签1.visible());

  // Pressing the link opens the user page.
  backend_->QueueLinkPress(window_->标签1);
  backend_->ProcessEvents();
  EXPECT_EQ(browser_.WaitForAddresses(1), std::vector<std::string>{forum_.Url("/u.php")});

  // Another round for the same user the same day.
  window_->编辑框_用户名.SetText(kUser);  // any change of the user name logs out
  ASSERT_TRUE(window_->按钮_登陆.enabled());
  Type(window_->编辑框_密码, kPassword);
  Click(window_->按钮_登陆);
  Click(window_->按钮_签到);
  EXPECT_EQ(Messages().back(), "您已经打卡，明天再来吧。");
  EXPECT_EQ(Status(), "您已经打卡，明天再来吧。");

  EXPECT_EQ(ConfigFile(),
            "[userinfo]\r\nusername=" + std::string(kUser) + "\r\npassword=" + kPassword + "\r\n");
}

TEST_F(DemoForumTest, RequestsHaveTheFormsBytesHeadersAndSessionCookie) {
  LogInAs(kUser, kPassword);
  Click(window_->按钮_签到);
  const std::string log = Log();

  const std::string login = LoggedRequest(log, "POST /login.php ");
  ASSERT_FALSE(login.empty()) << log;
  const std::string port = std::to_string(forum_.port());
  EXPECT_NE(login.find("body: jumpurl=http%3A%2F%2F127.0.0.1%3A" + port +
                       "%2Findex.php&step=2&pwuser=" + Escaped(kUser) +
                       "&question=0&customquest=&answer=&pwpwd=a%26b%3Dc%2Bd%25e"
                       "&head_login=&lgt=0"),
            std::string::npos)
      << login;
  for (const std::string& line : std::vector<std::string>{
           "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1; .NET CLR "
           "2.0.50727; .NET CLR 3.0.04506.648; .NET CLR 3.5.21022)",
           "Accept: image/gif, image/bmp, image/x-xbitmap, image/jpeg, image/pjpeg, "
           "application/x-shockwave-flash, application/vnd.ms-excel, "
           "application/vnd.ms-powerpoint, application/msword, */*",
           "Accept-Language: zh-cn", "Content-Type: application/x-www-form-urlencoded",
           "Referer: " + forum_.Url("/login.php")}) {
    EXPECT_NE(login.find("\n" + line + "\n"), std::string::npos) << line << "\n" << login;
  }

  const std::string punch = LoggedRequest(
      log,
      "POST /jobcenter.php?action=punch&verify=7f3c08e6&nowtime=6173060361943&verify=7f3c08e6 ");
  ASSERT_FALSE(punch.empty()) << log;
  EXPECT_NE(punch.find("\nbody: step=2\n"), std::string::npos) << punch;
  EXPECT_NE(punch.find("\nContent-Length: 6\n"), std::string::npos) << punch;
  EXPECT_NE(punch.find("\nCookie: qv_sid="), std::string::npos) << "the login's session cookie";
}

}  // namespace
}  // namespace quorvel::testing
