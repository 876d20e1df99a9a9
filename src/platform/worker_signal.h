#pragma once

// The wait of the window thread for a worker thread: the worker raises a WorkerSignal when it
// is done, and the window thread blocks in WaitForSignalOrInput until that signal, new window
// input or the time limit, whichever comes first.
//
// Contract of the wait, for the web access call built on it:
// - Call it on the window thread only. It blocks the thread; it never spins.
// - 0 (kWaitSignalled): the signal is raised. It is checked first: a signal raised before the
//   call, or together with input, gives 0.
// - 258 (kWaitTimedOut): limit_ms milliseconds passed (measured on the steady clock from the
//   call) without the signal and without input. A limit of 0 checks the signal and returns.
//   kNoLimit waits without a limit.
// - 1 (kWaitInput): new window input arrived before the signal and the limit. The Qt backend
//   has already handled that input, running its handlers nested inside this call; the headless
//   backend leaves it queued for ProcessEvents. Either way, call ProcessEvents next and wait
//   again. Window input includes events that the toolkit raises itself (timers, painting), so
//   this result may come often; it never means the worker is done.
// - Any other value: the wait failed (kWaitFailed); treat it as input.
// - The worker raises the signal from its own thread with Signal(), at its very end, and then
//   touches nothing that the waiter owns: the WorkerSignal is a shared handle, so a worker
//   that outlives a timed-out wait still raises a valid signal that nobody reads. Never join a
//   worker after a time-out; detach it.
// - Signal() wakes a waiting window thread at once, from any thread, also when the window
//   thread is inside a nested wait: every wait of the thread wakes and rechecks its own signal.

#include <atomic>
#include <cstdint>
#include <memory>

namespace quorvel::platform {

inline constexpr uint32_t kWaitSignalled = 0;
inline constexpr uint32_t kWaitInput = 1;
inline constexpr uint32_t kWaitTimedOut = 258;
inline constexpr uint32_t kWaitFailed = 0xFFFFFFFFu;
inline constexpr uint32_t kNoLimit = 0xFFFFFFFFu;

// A one-shot flag that a worker thread raises when it ends. Copies share the flag.
class WorkerSignal {
 public:
  WorkerSignal() : raised_(std::make_shared<std::atomic<bool>>(false)) {}

  // Raises the flag and wakes the window thread. Any thread; raising twice is harmless.
  void Signal() const;
  bool IsSignalled() const { return raised_->load(std::memory_order_acquire); }

 private:
  std::shared_ptr<std::atomic<bool>> raised_;
};

// Blocks the window thread until the signal is raised (0), the limit has passed (258) or new
// window input arrived (1); see the contract above.
uint32_t WaitForSignalOrInput(const WorkerSignal& signal, uint32_t limit_ms);

}  // namespace quorvel::platform
