#include <cstdio>
#include <cstring>

#include "app/library_failure_report.h"
#include "app/startup.h"
#include "platform/window/backend.h"
#include "platform/window/qt/qt_backend.h"

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("quorvel-checkin %s\n", QUORVEL_VERSION);
      return 0;
    }
    if (std::strcmp(argv[i], "--help") == 0) {
      std::printf("Usage: quorvel-checkin [--version] [--help]\n");
      return 0;
    }
  }
  quorvel::platform::InstallBackend(quorvel::platform::MakeQtBackend(argc, argv));
  quorvel::InstallLibraryFailureReport(/*headless=*/false);
  int status = quorvel::RunWindowProgram({});
  // The QApplication goes now, before the static objects it may still use.
  quorvel::platform::InstallBackend(nullptr);
  return status;
}
