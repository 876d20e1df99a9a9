#include "platform/tick.h"

#include <atomic>
#include <chrono>

namespace quorvel::platform {
namespace {

std::atomic<TickSource> g_source{nullptr};

}  // namespace

uint32_t GetTickCount() {
  if (TickSource source = g_source.load()) return source();
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

void SetTickSourceForTesting(TickSource source) { g_source.store(source); }

}  // namespace quorvel::platform
