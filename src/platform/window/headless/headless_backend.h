#pragma once

// The window system without a display: forms keep their state and nothing is drawn. Message
// boxes print "<title>: <text>" in UTF-8 on standard output and return at once; status texts
// go to standard error. Tests play the user by queueing input, which ProcessEvents runs in
// order and which a wait counts as new input.

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "platform/window/backend.h"

namespace quorvel::platform {

class HeadlessBackend : public WindowBackend {
 public:
  struct Message {
    std::string title;  // GBK
    std::string text;   // GBK
  };

  void CreateWindow(Form& form) override;
  void ShowCentred(Form& form) override;
  // There is no user: runs the queued input until the form is destroyed or nothing is left.
  void RunUntilDestroyed(Form& form) override;
  int32_t ShowMessage(const std::string& text, int32_t buttons, const std::string& title) override;
  void SetStatusText(StatusBar& bar, int32_t part, const std::string& text) override;
  void ProcessEvents() override;
  uint32_t WaitForSignalOrInput(const WorkerSignal& signal, uint32_t limit_ms) override;
  void Wake() override;

  // User input, queued from any thread and run by ProcessEvents on the window thread. The
  // controls must outlive the queued input. Input for a disabled or hidden control, or for a
  // destroyed form, is dropped when it runs, as a real window would.
  // Typing `typed` at the end of the box's text: one edit.
  void QueueTyping(EditBox& box, std::string typed);
  void QueueClick(Button& button);
  void QueueLinkPress(LinkLabel& label);
  // The user closes the window (close box, Esc, Alt+F4).
  void QueueClose(Form& form);
  // Any other input: `event` runs on the window thread.
  void Queue(std::function<void()> event);

  // Every message box and status text shown so far, in order.
  std::vector<Message> messages() const;
  std::vector<std::string> status_texts() const;
  bool shown() const { return shown_; }

 private:
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::function<void()>> queue_;
  std::vector<Message> messages_;
  std::vector<std::string> status_texts_;
  bool shown_ = false;
};

// Installs a fresh headless backend and returns it.
HeadlessBackend& UseHeadlessBackend();

}  // namespace quorvel::platform
