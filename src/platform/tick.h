#pragma once

// The millisecond tick counter, with a seam for tests that need a counter about to wrap.

#include <cstdint>

namespace quorvel::platform {

// Milliseconds from steady_clock, truncated to 32 bits: it wraps after about 49.7 days.
uint32_t GetTickCount();

// Replaces the counter (null restores the real one). For tests.
using TickSource = uint32_t (*)();
void SetTickSourceForTesting(TickSource source);

}  // namespace quorvel::platform
