// The wait on the Qt backend (offscreen platform): the worker's wake-up ends the blocked event
// dispatcher, the limit's timer ends it, and window input is handled inside it.

#include <gtest/gtest.h>

#include <QTimer>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "platform/window/headless/headless_backend.h"
#include "platform/window/qt/qt_backend.h"
#include "platform/worker_signal.h"

namespace quorvel::platform {
namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

class QtWaitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    InstallBackend(MakeQtBackend(argc_, argv_));
  }
  void TearDown() override { UseHeadlessBackend(); }

  int argc_ = 1;
  char name_[8] = "test";
  char* argv_[2] = {name_, nullptr};
};

TEST_F(QtWaitTest, WorkerWakeUpEndsTheWait) {
  WorkerSignal signal;
  std::thread worker([signal] {
    std::this_thread::sleep_for(milliseconds(30));
    signal.Signal();
  });
  // Qt may deliver events of its own first (input); the caller then simply waits again.
  Clock::time_point start = Clock::now();
  uint32_t result;
  do {
    result = WaitForSignalOrInput(signal, 600000);
  } while (result == kWaitInput && Clock::now() - start < milliseconds(5000));
  EXPECT_EQ(result, kWaitSignalled);
  worker.join();
}

TEST_F(QtWaitTest, LimitEndsTheWait) {
  WorkerSignal signal;
  Clock::time_point start = Clock::now();
  uint32_t result;
  do {
    result = WaitForSignalOrInput(signal, 40);
  } while (result == kWaitInput && Clock::now() - start < milliseconds(40));
  EXPECT_EQ(result, kWaitTimedOut);
  EXPECT_GE(Clock::now() - start, milliseconds(40));
}

// An event of the window thread is input: it is handled inside the wait, which then returns.
TEST_F(QtWaitTest, EventsAreHandledInsideTheWait) {
  WorkerSignal signal;
  bool handled = false;
  QTimer::singleShot(10, [&handled] { handled = true; });
  Clock::time_point start = Clock::now();
  while (!handled && Clock::now() - start < milliseconds(5000)) {
    EXPECT_EQ(WaitForSignalOrInput(signal, 600000), kWaitInput);
  }
  EXPECT_TRUE(handled);
}

}  // namespace
}  // namespace quorvel::platform
