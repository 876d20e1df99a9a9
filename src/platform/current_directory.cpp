#include "platform/current_directory.h"

#include <unistd.h>

namespace quorvel::platform {

bool SetCurrentDirectoryA(const char* path) { return ::chdir(path) == 0; }

}  // namespace quorvel::platform
