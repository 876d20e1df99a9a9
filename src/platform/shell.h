#pragma once

// Opens an address in the default browser: xdg-open, started without a shell, not waited for.

namespace quorvel::platform {

// Starts `xdg-open address`; false when it cannot be started.
bool ShellOpen(const char* address);

}  // namespace quorvel::platform
