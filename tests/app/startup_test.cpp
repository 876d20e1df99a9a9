// The start of the program on the headless backend, and handlers that wait for a worker while
// the user goes on using (or closes) the window.

#include "app/startup.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <future>
#include <string>
#include <thread>
#include <vector>

#include "app/credentials.h"
#include "app/main_window.h"
#include "base/services.h"
#include "base/window_services.h"
#include "platform/window/headless/headless_backend.h"
#include "platform/worker_signal.h"
#include "support/recording_xdg_open.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override { SetConfigDirectoryForTesting(Text(dir_.path().string())); }
  void TearDown() override { SetConfigDirectoryForTesting({}); }

  // Waits as the web access call does, for a worker that ends once every input queued before
  // the call has run: that input runs nested inside the caller's handler.
  void WaitLikeARequest() {
    std::promise<void> inputs_run;
    std::shared_future<void> ran = inputs_run.get_future().share();
    backend_.Queue([&inputs_run] { inputs_run.set_value(); });
    platform::WorkerSignal done;
    std::thread worker([done, ran] {
      ran.wait();
      done.Signal();
    });
    uint32_t result;
    do {
      result = platform::WaitForSignalOrInput(done, 600000);
      ProcessEvents();
    } while (result != platform::kWaitSignalled && result != platform::kWaitTimedOut);
    worker.join();
  }

  // A login that waits for its request and then succeeds, unless the window has gone.
  void FakeLogin(MainWindow& window) {
    SetStatusText(window.状态条1, 0, "正在登录...");
    WaitLikeARequest();
    if (window.destroyed()) return;
    ShowMessage("登陆成功", 0, "提示信息");
    window.按钮_签到.SetEnabled(true);
    window.按钮_登陆.SetEnabled(false);
    SetStatusText(window.状态条1, 0, "登录成功请打卡签到。");
  }

  platform::HeadlessBackend& backend_ = platform::UseHeadlessBackend();
  testing::TempDir dir_;
  testing::RecordingXdgOpen opener_;
};

// Created with no event, then OnWindowCreated, then shown, then the loop until the close,
// which opens the home page; the current directory is the program's.
TEST_F(StartupTest, RunsCreatedShownAndLoopUntilClosed) {
  testing::WriteFileBytes(dir_.File("config.ini"), "[userinfo]\r\nusername=alice\r\n");
  bool shown_at_click = false;
  std::string status_when_wired;
  RunWindowProgram([&](MainWindow& window) {
    status_when_wired = window.状态条1.text();
    window.on_login = [&] { shown_at_click = backend_.shown(); };
    backend_.QueueClick(window.按钮_登陆);
    backend_.QueueClose(window.form());
  });
  EXPECT_EQ(status_when_wired, "状态信息");
  EXPECT_TRUE(backend_.shown());
  EXPECT_TRUE(shown_at_click);  // the queued click ran in the message loop, after the show
  EXPECT_EQ(backend_.status_texts(),
            (std::vector<std::string>{"请登录后签到。", "请登录后签到。"}));
  EXPECT_EQ(opener_.WaitForAddresses(1), std::vector<std::string>{"http://bbs.quorvel.com"});
  char cwd[4096];
  ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
  EXPECT_EQ(std::string(cwd), RunDirectory().str());
}

// A change of the user name during a login request resets the window first; the successful
// answer then still moves it to logged in.
TEST_F(StartupTest, UserNameChangeRunsNestedInsideAWaitingLogin) {
  MainWindow window;
  window.OnWindowCreated();
  SetBoxText(window.编辑框_用户名, "alice");
  SetBoxText(window.编辑框_密码, "secret");
  window.on_login = [&] { FakeLogin(window); };
  backend_.QueueClick(window.按钮_登陆);
  backend_.QueueTyping(window.编辑框_用户名, "x");
  backend_.ProcessEvents();

  EXPECT_TRUE(window.编辑框_密码.text().empty());
  EXPECT_FALSE(window.按钮_登陆.enabled());
  EXPECT_TRUE(window.按钮_签到.enabled());
  std::vector<std::string> statuses = backend_.status_texts();
  EXPECT_EQ(std::vector<std::string>(statuses.end() - 3, statuses.end()),
            (std::vector<std::string>{"正在登录...", "请登录后签到。", "登录成功请打卡签到。"}));
}

// Closing the window while a login waits: the home page opens at once, and the login resumes
// after the window has gone and ends without a message box.
TEST_F(StartupTest, CloseDuringAWaitingLoginEndsItQuietly) {
  MainWindow window;
  window.OnWindowCreated();
  window.on_login = [&] { FakeLogin(window); };
  backend_.QueueClick(window.按钮_登陆);
  backend_.QueueClose(window.form());
  backend_.ProcessEvents();

  EXPECT_TRUE(window.destroyed());
  EXPECT_TRUE(backend_.messages().empty());
  EXPECT_EQ(window.状态条1.text(), "正在登录...");
  EXPECT_EQ(opener_.WaitForAddresses(1), std::vector<std::string>{"http://bbs.quorvel.com"});
}

}  // namespace
}  // namespace quorvel
