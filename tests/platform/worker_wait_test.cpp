// The wait of the window thread for a worker, on the headless backend: its three results, and
// input that runs nested inside it.

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "platform/window/headless/headless_backend.h"
#include "platform/worker_signal.h"

namespace quorvel::platform {
namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

class WorkerWaitTest : public ::testing::Test {
 protected:
  HeadlessBackend& backend_ = UseHeadlessBackend();
  Form form_{"form", 100, 100, {}};
  Button& button_ = form_.Add<Button>("button", Place{}, "ok");
};

TEST_F(WorkerWaitTest, WorkerSignalWakesTheWait) {
  WorkerSignal signal;
  std::thread worker([signal] {
    std::this_thread::sleep_for(milliseconds(30));
    signal.Signal();
  });
  // A limit far beyond the worker's time: only the signal can end the wait with 0.
  EXPECT_EQ(WaitForSignalOrInput(signal, 600000), kWaitSignalled);
  worker.join();
}

TEST_F(WorkerWaitTest, LimitPassesWithoutSignalOrInput) {
  WorkerSignal signal;
  Clock::time_point start = Clock::now();
  EXPECT_EQ(WaitForSignalOrInput(signal, 40), kWaitTimedOut);
  EXPECT_GE(Clock::now() - start, milliseconds(40));
  EXPECT_EQ(WaitForSignalOrInput(signal, 0), kWaitTimedOut);
}

// Input from another thread ends the wait; the headless backend leaves it for ProcessEvents.
TEST_F(WorkerWaitTest, InputEndsTheWaitAndRunsInProcessEvents) {
  int clicks = 0;
  button_.on_clicked = [&] { ++clicks; };
  WorkerSignal signal;
  std::thread user([this] {
    std::this_thread::sleep_for(milliseconds(30));
    backend_.QueueClick(button_);
  });
  EXPECT_EQ(WaitForSignalOrInput(signal, 600000), kWaitInput);
  user.join();
  EXPECT_EQ(clicks, 0);
  backend_.ProcessEvents();
  EXPECT_EQ(clicks, 1);
}

// A signal raised before the wait, even with input pending, is reported first.
TEST_F(WorkerWaitTest, SignalTakesPrecedenceOverPendingInput) {
  WorkerSignal signal;
  backend_.QueueClick(button_);
  signal.Signal();
  EXPECT_EQ(WaitForSignalOrInput(signal, 600000), kWaitSignalled);
}

// A worker abandoned after a time-out raises its signal later without harm: the flag is
// shared, and a later wait on another signal is not disturbed by it.
TEST_F(WorkerWaitTest, AbandonedWorkerSignalsSafely) {
  std::thread late;
  {
    WorkerSignal signal;
    late = std::thread([signal] {
      std::this_thread::sleep_for(milliseconds(50));
      signal.Signal();
    });
    EXPECT_EQ(WaitForSignalOrInput(signal, 1), kWaitTimedOut);
  }
  WorkerSignal other;
  EXPECT_EQ(WaitForSignalOrInput(other, 150), kWaitTimedOut);
  late.join();
}

// The loop of a waiting handler, as the web access call runs it: a second click during the
// wait starts a second request nested inside the first, which runs to its end before the
// first goes on. The first worker ends only once the nested request has started.
TEST_F(WorkerWaitTest, SecondClickRunsNestedInsideTheWait) {
  std::vector<std::string> order;
  std::promise<void> nested_started;
  std::shared_future<void> nested_started_future = nested_started.get_future().share();
  std::vector<std::thread> workers;
  int depth = 0;
  button_.on_clicked = [&] {
    int my_depth = ++depth;
    order.push_back("start " + std::to_string(my_depth));
    WorkerSignal done;
    if (my_depth == 1) {
      workers.emplace_back([done, nested_started_future] {
        nested_started_future.wait();
        done.Signal();
      });
      backend_.QueueClick(button_);  // the user clicks again while the first request waits
    } else {
      nested_started.set_value();
      workers.emplace_back([done] { done.Signal(); });
    }
    uint32_t result;
    do {
      result = WaitForSignalOrInput(done, 600000);
      backend_.ProcessEvents();
    } while (result != kWaitSignalled && result != kWaitTimedOut);
    order.push_back("end " + std::to_string(my_depth));
  };
  backend_.QueueClick(button_);
  backend_.ProcessEvents();
  for (auto& worker : workers) worker.join();
  EXPECT_EQ(order, (std::vector<std::string>{"start 1", "start 2", "end 2", "end 1"}));
}

}  // namespace
}  // namespace quorvel::platform
