#pragma once

// The window system drawn with Qt 6 Widgets. Creating it creates the process's QApplication;
// make it on the main thread, once, before any form is created.

#include <memory>

#include "platform/window/backend.h"

namespace quorvel::platform {

// `argc` must outlive the backend, as QApplication requires.
std::unique_ptr<WindowBackend> MakeQtBackend(int& argc, char** argv);

}  // namespace quorvel::platform
