// The window services on the headless backend: what the message box and the status bar print.

#include "base/window_services.h"

#include <gtest/gtest.h>

#include "platform/window/form.h"
#include "platform/window/headless/headless_backend.h"

namespace quorvel {
namespace {

std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

TEST(WindowServicesTest, MessageBoxPrintsTitleAndTextInUtf8AndReturnsAtOnce) {
  platform::HeadlessBackend& backend = platform::UseHeadlessBackend();
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(ShowMessage("登陆成功", 0, "提示信息"), 1);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), Utf8(u8"提示信息: 登陆成功\n"));
  ASSERT_EQ(backend.messages().size(), 1u);
  EXPECT_EQ(backend.messages()[0].text, Text("登陆成功").str());
}

TEST(WindowServicesTest, StatusTextGoesToPartZeroOnlyAndToStandardError) {
  platform::UseHeadlessBackend();
  platform::Form form("form", 10, 10, {});
  auto& bar = form.Add<platform::StatusBar>("bar", platform::Place{}, "状态信息");
  ::testing::internal::CaptureStderr();
  SetStatusText(bar, 1, "其他");
  SetStatusText(bar, 0, "正在登录...");
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), Utf8(u8"正在登录...\n"));
  EXPECT_EQ(bar.text(), Text("正在登录...").str());
}

}  // namespace
}  // namespace quorvel
