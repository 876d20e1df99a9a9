// The Qt backend (offscreen platform): the wait (the worker's wake-up ends the blocked event
// dispatcher, the limit's timer ends it, window input is handled inside it) and the message box.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "platform/window/headless/headless_backend.h"
#include "platform/window/qt/qt_backend.h"
#include "platform/window/qt/qt_text.h"
#include "platform/worker_signal.h"

namespace quorvel::platform {
namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

class QtBackendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    InstallBackend(MakeQtBackend(argc_, argv_));
  }
  void TearDown() override { UseHeadlessBackend(); }

  int argc_ = 1;
  char name_[8] = "test";
  char* argv_[2] = {name_, nullptr};
};

TEST_F(QtBackendTest, WorkerWakeUpEndsTheWait) {
  WorkerSignal signal;
  std::thread worker([signal] {
    std::this_thread::sleep_for(milliseconds(30));
    signal.Signal();
  });
  // Qt may deliver events of its own first (input); the caller then simply waits again.
  Clock::time_point start = Clock::now();
  uint32_t result;
  do {
    result = WaitForSignalOrInput(signal, 600000);
  } while (result == kWaitInput && Clock::now() - start < milliseconds(5000));
  EXPECT_EQ(result, kWaitSignalled);
  worker.join();
}

TEST_F(QtBackendTest, LimitEndsTheWait) {
  WorkerSignal signal;
  Clock::time_point start = Clock::now();
  uint32_t result;
  do {
    result = WaitForSignalOrInput(signal, 40);
  } while (result == kWaitInput && Clock::now() - start < milliseconds(40));
  EXPECT_EQ(result, kWaitTimedOut);
  EXPECT_GE(Clock::now() - start, milliseconds(40));
}

// An event of the window thread is input: it is handled inside the wait, which then returns.
TEST_F(QtBackendTest, EventsAreHandledInsideTheWait) {
  WorkerSignal signal;
  bool handled = false;
  QTimer::singleShot(10, [&handled] { handled = true; });
  Clock::time_point start = Clock::now();
  while (!handled && Clock::now() - start < milliseconds(5000)) {
    EXPECT_EQ(WaitForSignalOrInput(signal, 600000), kWaitInput);
  }
  EXPECT_TRUE(handled);
}

// The box the handlers show: the title, the text as plain text, no icon, one OK button without
// an icon, modal for the whole application; it returns when the button is pressed.
TEST_F(QtBackendTest, MessageBoxHasTheTitleAndOneOkButtonWithoutIcons) {
  bool checked = false;
  QTimer::singleShot(0, [&checked] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowTitle(), FromGbk("提示信息"));
    EXPECT_EQ(box->text(), FromGbk("<b>登陆成功</b>"));
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
    EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
    EXPECT_EQ(box->windowModality(), Qt::ApplicationModal);
    ASSERT_EQ(box->buttons().size(), 1);
    QAbstractButton* ok = box->button(QMessageBox::Ok);
    ASSERT_NE(ok, nullptr);
    EXPECT_TRUE(ok->icon().isNull());
    checked = true;
    ok->click();
  });
  EXPECT_EQ(Backend().ShowMessage("<b>登陆成功</b>", 0, "提示信息"), 1);
  EXPECT_TRUE(checked);
}

}  // namespace
}  // namespace quorvel::platform
