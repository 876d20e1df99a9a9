#include "app/headless_run.h"

#include <cstdio>

#include "app/forum_wiring.h"
#include "app/library_failure_report.h"
#include "app/main_window.h"
#include "base/services.h"
#include "forum/forum_actions.h"
#include "platform/current_directory.h"
#include "platform/window/headless/headless_backend.h"

namespace quorvel {

int RunHeadless() {
  platform::SetCurrentDirectoryA(RunDirectory().c_str());
  platform::HeadlessBackend& backend = platform::UseHeadlessBackend();
  InstallLibraryFailureReport(/*headless=*/true);
  MainWindow window;
  backend.CreateWindow(window.form());
  window.OnWindowCreated();
  MainWindowCheckInForm form(window);
  if (form.UserName().empty() || form.Password().empty()) {
    std::fprintf(stderr,
                 "quorvel-checkin: no saved user name and password: log in once with the "
                 "window, or write them to config.ini beside the program\n");
    return kExitNoCredentials;
  }
  if (OnLogin(form) != LoginOutcome::kLoggedIn) return kExitLoginFailed;
  switch (OnCheckIn(form)) {
    case CheckInOutcome::kCheckedIn:
    case CheckInOutcome::kAlreadyToday:
      return kExitCheckedIn;
    case CheckInOutcome::kFailed:
      break;
  }
  return kExitCheckInFailed;
}

}  // namespace quorvel
