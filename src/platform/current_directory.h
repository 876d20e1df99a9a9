#pragma once

// The process's current directory.

namespace quorvel::platform {

// Makes `path` the current directory of the process; false when it cannot.
bool SetCurrentDirectoryA(const char* path);

}  // namespace quorvel::platform
