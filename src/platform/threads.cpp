#include "platform/threads.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

namespace quorvel::platform {
namespace {

// Counts the worker threads still running, so the end of the program can let them finish.
struct LiveWorkers {
  std::mutex mutex;
  std::condition_variable changed;
  int count = 0;
};

LiveWorkers& Live() {
  static LiveWorkers* live = new LiveWorkers;  // outlives every worker
  return *live;
}

}  // namespace

Worker StartWorker(void (*entry)(uint64_t), uint64_t parameter) {
  Worker worker{WorkerSignal(), CancelToken::Create(), false};
  {
    std::lock_guard lock(Live().mutex);
    ++Live().count;
  }
  try {
    std::thread([entry, parameter, done = worker.done, token = worker.token] {
      {
        ScopedCancelToken scope(token);
        entry(parameter);
      }
      done.Signal();
      std::lock_guard lock(Live().mutex);
      --Live().count;
      Live().changed.notify_all();
    }).detach();
    worker.started = true;
  } catch (const std::system_error&) {
    std::lock_guard lock(Live().mutex);
    --Live().count;
  }
  return worker;
}

uint32_t WaitForWorker(const Worker& worker, uint32_t limit_ms) {
  return WaitForSignalOrInput(worker.done, limit_ms);
}

void AbandonWorker(const Worker& worker) {
  if (!worker.done.IsSignalled()) worker.token->Cancel();
}

bool WaitForAbandonedWorkers(uint32_t limit_ms) {
  std::unique_lock lock(Live().mutex);
  return Live().changed.wait_for(lock, std::chrono::milliseconds(limit_ms),
                                 [] { return Live().count == 0; });
}

}  // namespace quorvel::platform
