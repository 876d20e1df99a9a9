#include "platform/worker_signal.h"

#include "platform/window/backend.h"

namespace quorvel::platform {

void WorkerSignal::Signal() const {
  raised_->store(true, std::memory_order_release);
  WakeWindowThread();
}

uint32_t WaitForSignalOrInput(const WorkerSignal& signal, uint32_t limit_ms) {
  return Backend().WaitForSignalOrInput(signal, limit_ms);
}

}  // namespace quorvel::platform
