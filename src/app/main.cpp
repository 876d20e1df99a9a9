#include <cstdio>
#include <string>
#include <vector>

#include "app/forum_wiring.h"
#include "app/headless_run.h"
#include "app/library_failure_report.h"
#include "app/options.h"
#include "app/startup.h"
#include "forum/forum_address.h"
#include "platform/threads.h"
#include "platform/window/backend.h"
#include "platform/window/qt/qt_backend.h"

namespace {

// Gives workers abandoned at a time limit a moment to wind down before the process ends.
constexpr uint32_t kWorkerGraceMs = 1000;

int RunWindow(int argc, char** argv) {
  quorvel::platform::InstallBackend(quorvel::platform::MakeQtBackend(argc, argv));
  quorvel::InstallLibraryFailureReport(/*headless=*/false);
  const int status = quorvel::RunWindowProgram(&quorvel::WireForumActions);
  // The QApplication goes now, before the static objects it may still use.
  quorvel::platform::InstallBackend(nullptr);
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  const quorvel::Options options =
      quorvel::ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (!options.error.empty()) {
    std::fprintf(stderr, "quorvel-checkin: %s\n%s", options.error.c_str(), quorvel::UsageText());
    return quorvel::kExitUsage;
  }
  if (options.help) {
    std::fputs(quorvel::UsageText(), stdout);
    return 0;
  }
  if (options.version) {
    std::printf("quorvel-checkin %s\n", QUORVEL_VERSION);
    return 0;
  }
  if (options.forum) quorvel::SetForumBaseAddress(quorvel::Text(*options.forum));

  const int status = options.headless ? quorvel::RunHeadless() : RunWindow(argc, argv);
  std::fflush(stdout);
  quorvel::platform::WaitForAbandonedWorkers(kWorkerGraceMs);
  return status;
}
