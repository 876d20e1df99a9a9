// The login and check-in handlers against forums that misbehave: each ends as a failure with
// its message and status text, within the fixed minute plus a small margin, and leaves no
// worker thread and no descriptor behind. The minute passes quickly: the tick counter runs 120
// times faster than the clock, and a waker thread gives the wait input so that it looks at the
// counter often.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "forum/forum_actions.h"
#include "forum/forum_fixture.h"
#include "platform/threads.h"
#include "platform/tick.h"
#include "support/hostile_peers.h"

namespace quorvel::testing {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr int kSpeedUp = 120;                 // the handlers' minute lasts half a second
constexpr auto kMinute = 60000ms / kSpeedUp;  // as the clock on the wall sees it
constexpr auto kMargin = 1500ms;

uint32_t FastTicks() {
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch());
  return static_cast<uint32_t>(static_cast<uint64_t>(ms.count()) * kSpeedUp);
}

class HostileForumTest : public ForumFixture, public ::testing::WithParamInterface<Fault> {
 protected:
  void SetUp() override {
    ForumFixture::SetUp();
    platform::SetTickSourceForTesting(&FastTicks);
    waker_ = std::thread([this] {
      while (!stop_waker_) {
        backend_->Queue([] {});
        std::this_thread::sleep_for(20ms);
      }
    });
  }
  void TearDown() override {
    stop_waker_ = true;
    waker_.join();
    backend_->ProcessEvents();
    platform::SetTickSourceForTesting(nullptr);
    ForumFixture::TearDown();
  }

  // Runs one handler through its button and returns how long it took.
  template <typename Action>
  static Clock::duration Timed(Action action) {
    const auto start = Clock::now();
    action();
    return Clock::now() - start;
  }
  void LogIn() { LogInAs("demo", "demo123"); }
  void CheckIn() {
    window_->按钮_签到.SetEnabled(true);  // as after a login
    Click(window_->按钮_签到);
  }

  std::atomic<bool> stop_waker_{false};
  std::thread waker_;
};

TEST_P(HostileForumTest, LoginAndCheckInEndAsFailuresInTime) {
  const int descriptors = OpenDescriptorCount();
  {
    HostilePeer peer(GetParam());
    ASSERT_TRUE(peer.Start());
    SetForumBaseAddress(Text(peer.BaseUrl()));

    EXPECT_LT(Timed([this] { LogIn(); }), kMinute + kMargin);
    EXPECT_EQ(Messages().back(), "登陆失败");
    EXPECT_EQ(Status(), "请重新登录。");
    EXPECT_TRUE(window_->按钮_登陆.enabled());

    EXPECT_LT(Timed([this] { CheckIn(); }), kMinute + kMargin);
    EXPECT_EQ(Messages().back(), "打卡失败");
    EXPECT_EQ(Status(), "打卡失败,请重新打卡。");
    EXPECT_EQ(Messages().size(), 2u);
    EXPECT_TRUE(platform::WaitForAbandonedWorkers(3000)) << "a worker is still running";
  }
  EXPECT_EQ(OpenDescriptorCount(), descriptors);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, HostileForumTest,
    ::testing::Values(Fault::kNeverAnswers, Fault::kHeadersThenStall, Fault::kClosesMidBody,
                      Fault::kGarbageStatusLine, Fault::kHugeHeaders, Fault::kHugeBody,
                      Fault::kBrokenChunks, Fault::kRedirectLoop, Fault::kRefused,
                      Fault::kUnresolvable, Fault::kPlainTextOnTls, Fault::kTrickle),
    [](const ::testing::TestParamInfo<Fault>& info) { return FaultName(info.param); });

}  // namespace
}  // namespace quorvel::testing
