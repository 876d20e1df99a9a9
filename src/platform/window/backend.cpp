#include "platform/window/backend.h"

#include <mutex>
#include <utility>

#include "platform/window/headless/headless_backend.h"

namespace quorvel::platform {
namespace {

// Guards the backend pointer against a worker thread's wake while the window thread replaces
// the backend.
std::mutex& RegistryMutex() {
  static std::mutex mutex;
  return mutex;
}

std::unique_ptr<WindowBackend>& Installed() {
  static std::unique_ptr<WindowBackend> backend;
  return backend;
}

}  // namespace

WindowBackend& Backend() {
  std::lock_guard<std::mutex> lock(RegistryMutex());
  if (!Installed()) Installed() = std::make_unique<HeadlessBackend>();
  return *Installed();
}

void InstallBackend(std::unique_ptr<WindowBackend> backend) {
  {
    std::lock_guard<std::mutex> lock(RegistryMutex());
    std::swap(Installed(), backend);
  }
  // The old backend goes here, out of reach of any wake.
}

void WakeWindowThread() {
  std::lock_guard<std::mutex> lock(RegistryMutex());
  if (Installed()) Installed()->Wake();
}

}  // namespace quorvel::platform
