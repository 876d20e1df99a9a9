#include "app/startup.h"

#include "app/main_window.h"
#include "base/services.h"
#include "platform/current_directory.h"
#include "platform/window/backend.h"

namespace quorvel {

int RunWindowProgram(const std::function<void(MainWindow&)>& wire) {
  platform::SetCurrentDirectoryA(RunDirectory().c_str());
  MainWindow window;
  if (wire) wire(window);
  platform::WindowBackend& backend = platform::Backend();
  backend.CreateWindow(window.form());
  window.OnWindowCreated();
  backend.ShowCentred(window.form());
  backend.RunUntilDestroyed(window.form());
  return 0;
}

}  // namespace quorvel
