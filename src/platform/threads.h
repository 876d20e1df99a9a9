#pragma once

// Worker threads for the web access call: start one on a number, wait for it with the window
// system's wait, and end it at a time limit without joining it.

#include <cstdint>
#include <memory>

#include "platform/http.h"
#include "platform/worker_signal.h"

namespace quorvel::platform {

// One started worker: the signal it raises at its end and the token that cancels its
// transfers. Copies refer to the same worker.
struct Worker {
  WorkerSignal done;
  std::shared_ptr<CancelToken> token;
  bool started = false;
};

// Runs entry(parameter) on a new thread, with `token` installed for its HTTP requests; the
// thread raises `done` when entry returns. When no thread can be started, the worker is never
// signalled (started is false).
Worker StartWorker(void (*entry)(uint64_t), uint64_t parameter);

// Waits for the worker's end, new window input or the limit: 0, 258 or another value, as
// WaitForSignalOrInput.
uint32_t WaitForWorker(const Worker& worker, uint32_t limit_ms);

// Ends a worker that may still run: cancels its transfers (they end within milliseconds and
// store no cookie) and abandons the thread without joining. Harmless for a worker that ended.
void AbandonWorker(const Worker& worker);

// Waits at most `limit_ms` for abandoned workers to finish, so the process does not end under
// their feet. Returns whether none is left.
bool WaitForAbandonedWorkers(uint32_t limit_ms);

}  // namespace quorvel::platform
