// The main window on the headless backend: its first state, OnWindowCreated with and without
// saved credentials, and the window's own events (user-name change, link press, close).

#include "app/main_window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/credentials.h"
#include "platform/window/headless/headless_backend.h"
#include "support/recording_xdg_open.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { SetConfigDirectoryForTesting(Text(dir_.path().string())); }
  void TearDown() override { SetConfigDirectoryForTesting({}); }

  void WriteConfig(std::string_view bytes) {
    testing::WriteFileBytes(dir_.File("config.ini"), bytes);
  }

  // The logged-out state of the buttons and the link label, with the status text.
  void ExpectLoggedOut() {
    EXPECT_TRUE(window_.按钮_登陆.enabled());
    EXPECT_FALSE(window_.按钮_签到.enabled());
    EXPECT_FALSE(window_.标签1.visible());
    EXPECT_EQ(window_.状态条1.text(), std::string("请登录后签到。"));
  }

  platform::HeadlessBackend& backend_ = platform::UseHeadlessBackend();
  testing::TempDir dir_;
  testing::RecordingXdgOpen opener_;
  MainWindow window_;
};

TEST_F(MainWindowTest, StartsWithTheControlsOfTheFormInTheirFirstState) {
  std::vector<std::string> names;
  for (const auto& control : window_.form().controls()) names.push_back(control->name());
  EXPECT_EQ(names,
            (std::vector<std::string>{
                std::string("透明标签1"), std::string("编辑框_用户名"), std::string("透明标签2"),
                std::string("编辑框_密码"), std::string("按钮_登陆"), std::string("按钮_签到"),
                std::string("图片框1"), std::string("标签1"), std::string("状态条1")}));
  EXPECT_EQ(window_.form().title(), std::string("Quorvel打卡签到器 BY:Drelmo"));
  EXPECT_TRUE(window_.按钮_登陆.enabled());
  EXPECT_TRUE(window_.按钮_签到.enabled());
  EXPECT_FALSE(window_.标签1.visible());
  EXPECT_TRUE(window_.编辑框_密码.text().empty());
  EXPECT_FALSE(window_.编辑框_密码.password_mode());
  EXPECT_EQ(window_.状态条1.text(), std::string("状态信息"));
  EXPECT_FALSE(window_.图片框1.image_bytes().empty());
  EXPECT_FALSE(window_.form().icon_bytes().empty());
}

TEST_F(MainWindowTest, WindowCreatedWithoutConfigKeepsBothBoxesEmpty) {
  window_.OnWindowCreated();
  ExpectLoggedOut();
  EXPECT_TRUE(window_.编辑框_密码.password_mode());
  EXPECT_TRUE(window_.编辑框_用户名.text().empty());
  EXPECT_TRUE(window_.编辑框_密码.text().empty());
  // Only OnWindowCreated set the status: the user-name handler did not run.
  EXPECT_EQ(backend_.status_texts(), std::vector<std::string>{std::string("请登录后签到。")});
}

// The user name is set first, which runs OnUserNameChanged once and empties the password box;
// the password is set after it and survives. A missing key gives an empty box.
TEST_F(MainWindowTest, WindowCreatedLoadsTheSavedCredentials) {
  struct Case {
    const char* config;
    const char* user;
    const char* password;
  };
  const Case cases[] = {
      {"[userinfo]\r\nusername=alice\r\npassword=se=cret\r\n", "alice", "se=cret"},
      {"[userinfo]\r\npassword=secret\r\n", "", "secret"},
      {"[userinfo]\r\nusername=alice\r\n", "alice", ""},
      {"[other]\r\nusername=bob\r\n", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.config);
    platform::HeadlessBackend& backend = platform::UseHeadlessBackend();
    WriteConfig(c.config);
    MainWindow window;
    window.OnWindowCreated();
    EXPECT_EQ(window.编辑框_用户名.text(), c.user);
    EXPECT_EQ(window.编辑框_密码.text(), c.password);
    EXPECT_TRUE(window.编辑框_密码.password_mode());
    EXPECT_FALSE(window.按钮_签到.enabled());
    EXPECT_EQ(backend.status_texts(), (std::vector<std::string>{std::string("请登录后签到。"),
                                                                std::string("请登录后签到。")}));
  }
}

// Typing into the user-name box returns any state to logged out and empties the password box.
TEST_F(MainWindowTest, TypingAUserNameReturnsToLoggedOut) {
  struct Case {
    const char* state;
    bool login_enabled, check_in_enabled, link_visible;
  };
  const Case cases[] = {{"logged in", false, true, false}, {"checked in", false, false, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.state);
    window_.OnWindowCreated();
    SetBoxText(window_.编辑框_用户名, "alice");
    SetBoxText(window_.编辑框_密码, "secret");
    window_.按钮_登陆.SetEnabled(c.login_enabled);
    window_.按钮_签到.SetEnabled(c.check_in_enabled);
    window_.标签1.SetVisible(c.link_visible);
    window_.状态条1.SetText(0, "other");

    backend_.QueueTyping(window_.编辑框_用户名, "x");
    backend_.ProcessEvents();
    ExpectLoggedOut();
    EXPECT_EQ(window_.编辑框_用户名.text(), "alicex");
    EXPECT_TRUE(window_.编辑框_密码.text().empty());
  }
}

TEST_F(MainWindowTest, LinkPressOpensTheUserPageAndCloseTheHomePage) {
  window_.OnWindowCreated();
  backend_.QueueLinkPress(window_.标签1);  // hidden: the press cannot reach it
  backend_.ProcessEvents();
  window_.标签1.SetVisible(true);
  backend_.QueueLinkPress(window_.标签1);
  backend_.ProcessEvents();
  EXPECT_EQ(opener_.WaitForAddresses(1), std::vector<std::string>{"http://bbs.quorvel.com/u.php"});
  EXPECT_TRUE(window_.标签1.visible());

  backend_.QueueClose(window_.form());
  backend_.QueueClick(window_.按钮_登陆);  // after the close nothing reaches the window
  bool clicked = false;
  window_.on_login = [&] { clicked = true; };
  backend_.ProcessEvents();
  EXPECT_TRUE(window_.destroyed());
  EXPECT_FALSE(clicked);
  EXPECT_EQ(opener_.WaitForAddresses(2),
            (std::vector<std::string>{"http://bbs.quorvel.com/u.php", "http://bbs.quorvel.com"}));
}

TEST_F(MainWindowTest, ButtonClicksReachTheHooksWhileEnabled) {
  window_.OnWindowCreated();
  int logins = 0, check_ins = 0;
  window_.on_login = [&] { ++logins; };
  window_.on_check_in = [&] { ++check_ins; };
  backend_.QueueClick(window_.按钮_登陆);
  backend_.QueueClick(window_.按钮_签到);  // disabled by OnWindowCreated
  backend_.ProcessEvents();
  EXPECT_EQ(logins, 1);
  EXPECT_EQ(check_ins, 0);
}

// Saved by one window, filled in again by the next; other sections of the file stay.
TEST_F(MainWindowTest, SavedCredentialsAreLoadedByTheNextWindow) {
  WriteConfig("[other]\r\nkey=value\r\n");
  const std::string user = std::string("用户 名"), password = "p&w=d";
  SetBoxText(window_.编辑框_用户名, Text(user));
  SetBoxText(window_.编辑框_密码, Text(password));
  SaveCredentials(window_);

  MainWindow next;
  next.OnWindowCreated();
  EXPECT_EQ(next.编辑框_用户名.text(), user);
  EXPECT_EQ(next.编辑框_密码.text(), password);
  EXPECT_NE(testing::ReadFileBytes(dir_.File("config.ini")).find("key=value"), std::string::npos);
}

}  // namespace
}  // namespace quorvel
