#pragma once

// A stand-in for xdg-open that records the addresses it is asked to open instead of starting a
// browser: a script in a temporary directory put first in PATH for the object's lifetime.

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace quorvel::testing {

class RecordingXdgOpen {
 public:
  RecordingXdgOpen();
  ~RecordingXdgOpen();
  RecordingXdgOpen(const RecordingXdgOpen&) = delete;
  RecordingXdgOpen& operator=(const RecordingXdgOpen&) = delete;

  // The addresses recorded so far, in order (bytes as passed).
  std::vector<std::string> Addresses() const;
  // Waits until at least `count` addresses are recorded (the opener is not waited for by the
  // program) or the time is up, and returns what is recorded then.
  std::vector<std::string> WaitForAddresses(
      size_t count, std::chrono::milliseconds limit = std::chrono::seconds(10)) const;

 private:
  TempDir dir_;
  std::string old_path_;
  bool had_path_ = false;
};

}  // namespace quorvel::testing
