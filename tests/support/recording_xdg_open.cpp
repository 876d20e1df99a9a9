#include "support/recording_xdg_open.h"

#include <sys/stat.h>

#include <cstdlib>
#include <sstream>
#include <thread>

namespace quorvel::testing {

RecordingXdgOpen::RecordingXdgOpen() {
  std::string script = dir_.File("xdg-open");
  // Writes the address and a line feed in one append, so that concurrent openers never mix.
  WriteFileBytes(script, "#!/bin/sh\nprintf '%s\\n' \"$1\" >> \"$(dirname \"$0\")/opened\"\n");
  chmod(script.c_str(), 0755);
  const char* path = std::getenv("PATH");
  had_path_ = path != nullptr;
  if (had_path_) old_path_ = path;
  std::string new_path = dir_.path().string() + (had_path_ ? ":" + old_path_ : "");
  setenv("PATH", new_path.c_str(), 1);
}

RecordingXdgOpen::~RecordingXdgOpen() {
  if (had_path_) {
    setenv("PATH", old_path_.c_str(), 1);
  } else {
    unsetenv("PATH");
  }
}

std::vector<std::string> RecordingXdgOpen::Addresses() const {
  std::vector<std::string> lines;
  std::istringstream in(ReadFileBytes(dir_.File("opened")));
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> RecordingXdgOpen::WaitForAddresses(size_t count,
                                                            std::chrono::milliseconds limit) const {
  auto deadline = std::chrono::steady_clock::now() + limit;
  std::vector<std::string> lines = Addresses();
  while (lines.size() < count && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    lines = Addresses();
  }
  return lines;
}

}  // namespace quorvel::testing
