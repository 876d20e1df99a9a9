#include "app/library_failure_report.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "platform/library.h"
#include "platform/window/headless/headless_backend.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

// The message as the user sees it (UTF-8), with the message box's title in a window run.
std::string Expected(const char* prefix) {
  std::string pattern(prefix);
  pattern.append(
      reinterpret_cast<const char*>(u8"无法载入 SkinH_EL\\.dll 中的函数 SkinH_AttachRes。"));
  return pattern;
}

class LibraryFailureReportTest : public ::testing::Test {
 protected:
  void Bind() {
    platform::BindLibraryFunctionOrExit(dir_.File("SkinH_EL.dll").c_str(),
                                        platform::kSkinEngineLibraryName,
                                        platform::kSkinAttachResName);
  }
  testing::TempDir dir_;
};

TEST_F(LibraryFailureReportTest, AWindowRunShowsAMessageBoxThenEnds) {
  // The headless backend prints its message boxes on standard output; the death test reads
  // standard error, so the child sends the one to the other.
  EXPECT_EXIT(
      {
        platform::UseHeadlessBackend();
        InstallLibraryFailureReport(false);
        dup2(STDERR_FILENO, STDOUT_FILENO);
        Bind();
      },
      ::testing::ExitedWithCode(255), Expected(reinterpret_cast<const char*>(u8"提示信息: ")));
}

TEST_F(LibraryFailureReportTest, AHeadlessRunWritesTheTextOnStandardError) {
  EXPECT_EXIT(
      {
        platform::UseHeadlessBackend();
        InstallLibraryFailureReport(true);
        close(STDOUT_FILENO);  // nothing may go there
        Bind();
      },
      ::testing::ExitedWithCode(255), Expected("^"));
}

}  // namespace
}  // namespace quorvel
