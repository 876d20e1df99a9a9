#include "app/library_failure_report.h"

#include "base/text.h"
#include "base/window_services.h"
#include "platform/library.h"

namespace quorvel {
namespace {

void ReportInMessageBox(const char* library, const char* function) {
  ShowMessage(Text(platform::LibraryFailureText(library, function)), 0, "提示信息");
}

}  // namespace

void InstallLibraryFailureReport(bool headless) {
  platform::SetLibraryFailureReporter(headless ? &platform::ReportLibraryFailureOnStderr
                                               : &ReportInMessageBox);
}

}  // namespace quorvel
