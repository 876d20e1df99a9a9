#include "platform/window/qt/qt_backend.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <climits>
#include <map>

#include "platform/window/qt/form_window.h"
#include "platform/window/qt/qt_text.h"

namespace quorvel::platform {
namespace {

using Clock = std::chrono::steady_clock;

class QtBackend : public WindowBackend {
 public:
  QtBackend(int& argc, char** argv) : app_(std::make_unique<QApplication>(argc, argv)) {
    // Only the closing of our form ends the program, never the last window closing by itself.
    QApplication::setQuitOnLastWindowClosed(false);
    dispatcher_ = QAbstractEventDispatcher::instance();
  }

  ~QtBackend() override {
    for (auto& [form, window] : windows_) form->SetWindowRelease(nullptr);
    windows_.clear();
    app_.reset();
  }

  void CreateWindow(Form& form) override {
    windows_[&form] = std::make_unique<FormWindow>(form, [this] {
      if (loop_ != nullptr) loop_->quit();
    });
    form.SetWindowRelease([this, &form] { windows_.erase(&form); });
  }

  void ShowCentred(Form& form) override {
    FormWindow* window = Find(form);
    if (window == nullptr) return;
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen != nullptr) {
      QRect area = screen->geometry();
      window->move(area.x() + (area.width() - window->width()) / 2,
                   area.y() + (area.height() - window->height()) / 2);
    }
    window->show();
  }

  void RunUntilDestroyed(Form& form) override {
    if (!form.destroyed() && Find(form) != nullptr) {
      QEventLoop loop;
      loop_ = &loop;
      loop.exec();
      loop_ = nullptr;
    }
    form.SetWindowRelease(nullptr);
    windows_.erase(&form);
  }

  int32_t ShowMessage(const std::string& text, int32_t /*buttons*/,
                      const std::string& title) override {
    QMessageBox box;
    box.setWindowTitle(FromGbk(title));
    box.setTextFormat(Qt::PlainText);
    box.setText(FromGbk(text));
    box.setIcon(QMessageBox::NoIcon);
    QPushButton* ok = box.addButton(QMessageBox::Ok);
    ok->setIcon(QIcon());
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    return 1;
  }

  void SetStatusText(StatusBar& bar, int32_t part, const std::string& text) override {
    bar.SetText(part, text);
  }

  void ProcessEvents() override { QCoreApplication::processEvents(QEventLoop::AllEvents); }

  uint32_t WaitForSignalOrInput(const WorkerSignal& signal, uint32_t limit_ms) override;

  void Wake() override {
    if (dispatcher_ != nullptr) dispatcher_->wakeUp();
  }

 private:
  FormWindow* Find(Form& form) {
    auto it = windows_.find(&form);
    return it == windows_.end() ? nullptr : it->second.get();
  }

  std::unique_ptr<QApplication> app_;
  QAbstractEventDispatcher* dispatcher_ = nullptr;
  std::map<Form*, std::unique_ptr<FormWindow>> windows_;
  QEventLoop* loop_ = nullptr;
};

// Blocks in the event dispatcher until something arrives: the worker's wake-up, the limit's
// timer or window input (whose handlers run in here). A timer can fire a little early, and a
// limit longer than a timer's range takes several rounds, so the deadline is checked on the
// steady clock.
uint32_t QtBackend::WaitForSignalOrInput(const WorkerSignal& signal, uint32_t limit_ms) {
  if (signal.IsSignalled()) return kWaitSignalled;
  const bool limited = limit_ms != kNoLimit;
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(limit_ms);
  bool timer_fired = false;
  QTimer timer;
  timer.setSingleShot(true);
  timer.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer, &QTimer::timeout, [&timer_fired] { timer_fired = true; });
  for (;;) {
    if (limited) {
      auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
      if (left <= 0) return kWaitTimedOut;
      timer.start(static_cast<int>(std::min<long long>(left, INT_MAX)));
    }
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    if (signal.IsSignalled()) return kWaitSignalled;
    if (!timer_fired) return kWaitInput;
    timer_fired = false;
  }
}

}  // namespace

std::unique_ptr<WindowBackend> MakeQtBackend(int& argc, char** argv) {
  return std::make_unique<QtBackend>(argc, argv);
}

}  // namespace quorvel::platform
