#pragma once

// A main window on the headless backend, wired to the forum actions, with the program, its
// config.ini and the forum all in places of the test's own.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/credentials.h"
#include "app/forum_wiring.h"
#include "app/main_window.h"
#include "forum/forum_address.h"
#include "platform/files.h"
#include "platform/threads.h"
#include "platform/window/headless/headless_backend.h"
#include "support/recording_xdg_open.h"
#include "support/test_support.h"

namespace quorvel::testing {

class ForumFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetProgramPathForTesting(dir_.File("quorvel-checkin"));
    SetConfigDirectoryForTesting(Text(dir_.path().string()));
    backend_ = &platform::UseHeadlessBackend();
    window_ = std::make_unique<MainWindow>();
    WireForumActions(*window_);
    backend_->CreateWindow(window_->form());
    window_->OnWindowCreated();
  }
  void TearDown() override {
    EXPECT_TRUE(platform::WaitForAbandonedWorkers(3000)) << "a worker outlived its call";
    window_.reset();
    platform::InstallBackend(nullptr);
    SetForumBaseAddress(kDefaultForumBaseAddress);
    SetConfigDirectoryForTesting({});
    platform::SetProgramPathForTesting("");
  }

  // Types the credentials as the user would, then clicks a button and lets every event run.
  void Type(platform::EditBox& box, const std::string& text) {
    backend_->QueueTyping(box, text);
    backend_->ProcessEvents();
  }
  void Click(platform::Button& button) {
    backend_->QueueClick(button);
    backend_->ProcessEvents();
  }
  void LogInAs(const std::string& user, const std::string& password) {
    Type(window_->编辑框_用户名, user);
    Type(window_->编辑框_密码, password);
    Click(window_->按钮_登陆);
  }

  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const auto& message : backend_->messages()) texts.push_back(message.text);
    return texts;
  }
  std::string Status() const {
    const auto texts = backend_->status_texts();
    return texts.empty() ? std::string() : texts.back();
  }
  std::string ConfigFile() const { return ReadFileBytes(dir_.File("config.ini")); }

  TempDir dir_;
  RecordingXdgOpen browser_;
  platform::HeadlessBackend* backend_ = nullptr;
  std::unique_ptr<MainWindow> window_;
};

}  // namespace quorvel::testing
