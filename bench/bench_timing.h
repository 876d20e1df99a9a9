#pragma once

// Timing helpers shared by the benchmark programs that time runs themselves.

#include <algorithm>
#include <chrono>
#include <vector>

namespace quorvel::bench {

using Clock = std::chrono::steady_clock;

// A duration in milliseconds.
inline double Ms(Clock::duration duration) {
  return std::chrono::duration<double, std::milli>(duration).count();
}

// The middle value (the upper one of the two middle values of an even count).
inline double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace quorvel::bench
