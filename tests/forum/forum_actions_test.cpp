#include "forum/forum_actions.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "forum/forum_fixture.h"
#include "platform/tick.h"
#include "support/http_test_server.h"

namespace quorvel::testing {
namespace {

using namespace std::chrono_literals;

// A forum of fixed pages: the login and the punch each answer with the page the test sets.
class FixedPagesTest : public ForumFixture {
 protected:
  void SetUp() override {
    ForumFixture::SetUp();
    server_.server().Post("/login.php", [this](const httplib::Request&, httplib::Response& res) {
      std::this_thread::sleep_for(login_delay_.load());
      res.set_content(login_page_, "text/html");
    });
    server_.server().Post("/jobcenter.php",
                          [this](const httplib::Request&, httplib::Response& res) {
                            res.set_content(punch_page_, "text/html");
                          });
    ASSERT_TRUE(server_.Start());
    SetForumBaseAddress(Text(server_.Url("")));
  }

  void LogIn() {
    login_page_ = "<p>您已经顺利登录</p>";
    LogInAs("demo", "demo123");
    ASSERT_FALSE(window_->按钮_登陆.enabled());
  }

  HttpTestServer server_;
  std::string login_page_;
  std::string punch_page_;
  std::atomic<std::chrono::milliseconds> login_delay_{0ms};
};

TEST_F(FixedPagesTest, EmptyBoxesSaveAndSendNothing) {
  for (const auto& [user, password] : {std::pair{"", "secret"}, std::pair{"demo", ""}}) {
    LogInAs(user, password);
    EXPECT_EQ(Status(), "用户名密码不能为空。");
    EXPECT_TRUE(Messages().empty());
    window_->编辑框_用户名.SetText("");
  }
  EXPECT_TRUE(server_.Requests().empty());
  EXPECT_EQ(ConfigFile(), "");
}

TEST_F(FixedPagesTest, LoginSucceedsOnThePhraseAndOpensTheCheckIn) {
  login_page_ = "<html>欢迎，您已经顺利登录，正在返回</html>";
  LogInAs("demo", "demo123");
  EXPECT_EQ(Messages(), std::vector<std::string>{"登陆成功"});
  EXPECT_EQ(Status(), "登录成功请打卡签到。");
  EXPECT_FALSE(window_->按钮_登陆.enabled());
  EXPECT_TRUE(window_->按钮_签到.enabled());
  EXPECT_EQ(ConfigFile(), "[userinfo]\r\nusername=demo\r\npassword=demo123\r\n");
}

TEST_F(FixedPagesTest, LoginFailsWithoutThePhraseAndChangesNoControl) {
  login_page_ = "<html>密码错误</html>";
  LogInAs("demo", "wrong");
  EXPECT_EQ(Messages(), std::vector<std::string>{"登陆失败"});
  EXPECT_EQ(Status(), "请重新登录。");
  EXPECT_TRUE(window_->按钮_登陆.enabled());
  EXPECT_FALSE(window_->按钮_签到.enabled());
  EXPECT_NE(ConfigFile().find("password=wrong"), std::string::npos) << "saved all the same";
}

struct PunchCase {
  const char* page;
  const char* message;
  const char* status;
  bool button_after;  // 按钮_签到 enabled afterwards
  bool link_after;    // 标签1 visible afterwards
};

TEST_F(FixedPagesTest, CheckInSortsThePageIntoThreeOutcomes) {
  const PunchCase cases[] = {
      {"<b>金币+5</b>", "打卡成功", "签到成功，您可签到其他账号。", false, true},
      {"你已经打卡 金币+5", "打卡成功", "签到成功，您可签到其他账号。", false, true},
      {"你已经打卡", "您已经打卡，明天再来吧。", "您已经打卡，明天再来吧。", true, false},
      {"您已经打卡", "打卡失败", "打卡失败,请重新打卡。", true, false},
      {"", "打卡失败", "打卡失败,请重新打卡。", true, false},
  };
  for (const PunchCase& c : cases) {
    SCOPED_TRACE(c.page);
    window_->编辑框_用户名.SetText("");  // back to logged out
    LogIn();
    punch_page_ = c.page;
    Click(window_->按钮_签到);
    EXPECT_EQ(Messages().back(), c.message);
    EXPECT_EQ(Status(), c.status);
    EXPECT_EQ(window_->按钮_签到.enabled(), c.button_after);
    EXPECT_EQ(window_->标签1.visible(), c.link_after);
    EXPECT_FALSE(window_->按钮_登陆.enabled());
  }
  const auto requests = server_.Requests();
  ASSERT_FALSE(requests.empty());
  EXPECT_EQ(requests.back().target,
            "/jobcenter.php?action=punch&verify=7f3c08e6&nowtime=6173060361943&verify=7f3c08e6");
  EXPECT_EQ(requests.back().body, "step=2");
}

// The tick counter jumps a minute ahead after its first reading.
std::atomic<int> g_tick_reads{0};
uint32_t JumpingTicks() { return g_tick_reads++ == 0 ? 1000u : 1000u + 61000u; }

TEST_F(FixedPagesTest, TimeOutEndsAsAFailureWithTheCredentialsSaved) {
  login_delay_ = 2s;  // longer than the test lets the request run
  g_tick_reads = 0;
  platform::SetTickSourceForTesting(&JumpingTicks);
  // Any input wakes the wait, which then finds the minute gone.
  std::thread waker([this] {
    std::this_thread::sleep_for(100ms);
    backend_->Queue([] {});
  });
  const auto started = std::chrono::steady_clock::now();
  LogInAs("demo", "demo123");
  platform::SetTickSourceForTesting(nullptr);
  waker.join();
  EXPECT_LT(std::chrono::steady_clock::now() - started, 1500ms);
  EXPECT_EQ(Messages(), std::vector<std::string>{"登陆失败"});
  EXPECT_EQ(Status(), "请重新登录。");
  EXPECT_NE(ConfigFile().find("username=demo"), std::string::npos);
}

TEST_F(FixedPagesTest, ASecondClickDuringTheWaitRunsNestedToItsEnd) {
  login_page_ = "您已经顺利登录";
  login_delay_ = 300ms;
  Type(window_->编辑框_用户名, "demo");
  Type(window_->编辑框_密码, "demo123");
  std::thread second_click([this] {
    std::this_thread::sleep_for(100ms);
    login_delay_ = 0ms;
    backend_->QueueClick(window_->按钮_登陆);
  });
  Click(window_->按钮_登陆);
  second_click.join();
  EXPECT_EQ(server_.Requests().size(), 2u);
  EXPECT_EQ(Messages(), (std::vector<std::string>{"登陆成功", "登陆成功"}));
  // The nested login ran to its end (status included) before the outer one went on.
  const auto statuses = backend_->status_texts();
  const std::vector<std::string> tail(statuses.end() - 4, statuses.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"正在登录...", "正在登录...", "登录成功请打卡签到。",
                                            "登录成功请打卡签到。"}));
}

TEST_F(FixedPagesTest, ClosingTheWindowDuringTheWaitEndsTheHandlerQuietly) {
  login_page_ = "您已经顺利登录";
  login_delay_ = 300ms;
  std::thread closer([this] {
    std::this_thread::sleep_for(100ms);
    backend_->QueueClose(window_->form());
  });
  LogInAs("demo", "demo123");
  closer.join();
  EXPECT_TRUE(window_->destroyed());
  EXPECT_TRUE(Messages().empty()) << "no message box after the window has gone";
  EXPECT_EQ(browser_.WaitForAddresses(1), std::vector<std::string>{server_.Url("")});
}

}  // namespace
}  // namespace quorvel::testing
