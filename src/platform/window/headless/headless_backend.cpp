#include "platform/window/headless/headless_backend.h"

#include <chrono>
#include <cstdio>
#include <utility>

#include "platform/utf8_text.h"

namespace quorvel::platform {

void HeadlessBackend::CreateWindow(Form& /*form*/) {}

void HeadlessBackend::ShowCentred(Form& /*form*/) { shown_ = true; }

void HeadlessBackend::RunUntilDestroyed(Form& form) {
  while (!form.destroyed()) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (queue_.empty()) return;
    }
    ProcessEvents();
  }
}

int32_t HeadlessBackend::ShowMessage(const std::string& text, int32_t /*buttons*/,
                                     const std::string& title) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    messages_.push_back({title, text});
  }
  std::string line = GbkToUtf8(title) + ": " + GbkToUtf8(text) + "\n";
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fflush(stdout);
  return 1;
}

void HeadlessBackend::SetStatusText(StatusBar& bar, int32_t part, const std::string& text) {
  if (!bar.SetText(part, text)) return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    status_texts_.push_back(text);
  }
  std::string line = GbkToUtf8(text) + "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
}

void HeadlessBackend::ProcessEvents() {
  for (;;) {
    std::function<void()> event;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (queue_.empty()) return;
      event = std::move(queue_.front());
      queue_.pop_front();
    }
    event();  // may queue more input, or wait and process events itself
  }
}

uint32_t HeadlessBackend::WaitForSignalOrInput(const WorkerSignal& signal, uint32_t limit_ms) {
  std::unique_lock<std::mutex> lock(mutex_);
  auto ready = [&] { return signal.IsSignalled() || !queue_.empty(); };
  if (limit_ms == kNoLimit) {
    wake_.wait(lock, ready);
  } else {
    wake_.wait_for(lock, std::chrono::milliseconds(limit_ms), ready);
  }
  if (signal.IsSignalled()) return kWaitSignalled;
  if (!queue_.empty()) return kWaitInput;
  return kWaitTimedOut;
}

void HeadlessBackend::Wake() {
  std::lock_guard<std::mutex> lock(mutex_);
  wake_.notify_all();
}

void HeadlessBackend::QueueTyping(EditBox& box, std::string typed) {
  Queue([&box, typed = std::move(typed)] { box.UserEdited(box.text() + typed); });
}

void HeadlessBackend::QueueClick(Button& button) {
  Queue([&button] { button.UserClicked(); });
}

void HeadlessBackend::QueueLinkPress(LinkLabel& label) {
  Queue([&label] { label.UserPressed(); });
}

void HeadlessBackend::QueueClose(Form& form) {
  Queue([&form] { form.Destroy(); });
}

void HeadlessBackend::Queue(std::function<void()> event) {
  std::lock_guard<std::mutex> lock(mutex_);
  queue_.push_back(std::move(event));
  wake_.notify_all();
}

std::vector<HeadlessBackend::Message> HeadlessBackend::messages() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return messages_;
}

std::vector<std::string> HeadlessBackend::status_texts() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return status_texts_;
}

HeadlessBackend& UseHeadlessBackend() {
  auto backend = std::make_unique<HeadlessBackend>();
  HeadlessBackend& result = *backend;
  InstallBackend(std::move(backend));
  return result;
}

}  // namespace quorvel::platform
