// The main window drawn by the Qt backend (offscreen platform), driven through its real
// widgets found by the controls' names: state mirrored into the widgets, user input turned into
// the controls' events exactly once, Esc and Enter.

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <cstdlib>

#include "app/credentials.h"
#include "app/main_window.h"
#include "platform/window/headless/headless_backend.h"
#include "platform/window/qt/qt_backend.h"
#include "platform/window/qt/qt_text.h"
#include "support/recording_xdg_open.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

class QtMainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    platform::InstallBackend(platform::MakeQtBackend(argc_, argv_));
    SetConfigDirectoryForTesting(Text(dir_.path().string()));
    testing::WriteFileBytes(dir_.File("config.ini"),
                            "[userinfo]\r\nusername=alice\r\npassword=secret\r\n");
    window_ = std::make_unique<MainWindow>();
    // Counts the runs of the user-name box's content-changed handler.
    auto handler = window_->编辑框_用户名.on_content_changed;
    window_->编辑框_用户名.on_content_changed = [this, handler] {
      ++user_name_changes_;
      handler();
    };
    platform::Backend().CreateWindow(window_->form());
    window_->OnWindowCreated();
    platform::Backend().ShowCentred(window_->form());
  }

  void TearDown() override {
    window_.reset();
    platform::UseHeadlessBackend();
    SetConfigDirectoryForTesting({});
  }

  template <typename W>
  W* Widget(const char* name) {
    for (QWidget* top : QApplication::topLevelWidgets()) {
      if (W* found = top->findChild<W*>(platform::FromGbk(name))) return found;
    }
    return nullptr;
  }

  static void SendKey(QWidget* widget, Qt::Key key, const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &press);
    QApplication::sendEvent(widget, &release);
  }

  int argc_ = 1;
  char name_[8] = "test";
  char* argv_[2] = {name_, nullptr};
  testing::TempDir dir_;
  testing::RecordingXdgOpen opener_;
  std::unique_ptr<MainWindow> window_;
  int user_name_changes_ = 0;
};

TEST_F(QtMainWindowTest, WidgetsShowTheStateAfterWindowCreated) {
  auto* user = Widget<QLineEdit>("编辑框_用户名");
  auto* password = Widget<QLineEdit>("编辑框_密码");
  auto* check_in = Widget<QPushButton>("按钮_签到");
  auto* link = Widget<QLabel>("标签1");
  ASSERT_TRUE(user && password && check_in && link);
  EXPECT_EQ(user->text(), QStringLiteral("alice"));
  EXPECT_EQ(password->text(), QStringLiteral("secret"));
  EXPECT_EQ(password->echoMode(), QLineEdit::Password);
  EXPECT_FALSE(check_in->isEnabled());
  EXPECT_TRUE(link->isHidden());
  EXPECT_EQ(user->geometry(), QRect(85, 29, 120, 24));
  EXPECT_EQ(user->window()->size(), QSize(374, 222));
  EXPECT_EQ(user->window()->windowTitle(), QStringLiteral(u"Quorvel打卡签到器 BY:Drelmo"));
  EXPECT_EQ(user_name_changes_, 1);  // once, by LoadCredentials
}

// A key typed by the user raises content-changed once; a change by the program raises it once
// and reaches the widget without coming back as user input.
TEST_F(QtMainWindowTest, UserAndProgramChangesRaiseContentChangedOnce) {
  auto* user = Widget<QLineEdit>("编辑框_用户名");
  auto* password = Widget<QLineEdit>("编辑框_密码");
  ASSERT_TRUE(user && password);
  user->setCursorPosition(5);
  SendKey(user, Qt::Key_X, QStringLiteral("x"));
  EXPECT_EQ(user_name_changes_, 2);
  EXPECT_EQ(window_->编辑框_用户名.text(), "alicex");
  EXPECT_TRUE(password->text().isEmpty());

  SetBoxText(window_->编辑框_用户名, "bob");
  EXPECT_EQ(user_name_changes_, 3);
  EXPECT_EQ(user->text(), QStringLiteral("bob"));
  SetBoxText(window_->编辑框_用户名, "bob");
  EXPECT_EQ(user_name_changes_, 4);

  SetBoxText(window_->编辑框_用户名, "用户");
  EXPECT_EQ(user->text(), QStringLiteral(u"用户"));
}

TEST_F(QtMainWindowTest, EnterClicksNoButtonAndEscClosesTheWindow) {
  int logins = 0;
  window_->on_login = [&] { ++logins; };
  auto* login = Widget<QPushButton>("按钮_登陆");
  auto* user = Widget<QLineEdit>("编辑框_用户名");
  ASSERT_TRUE(login && user);
  SendKey(login, Qt::Key_Return);
  SendKey(user, Qt::Key_Return);
  EXPECT_EQ(logins, 0);
  login->click();
  EXPECT_EQ(logins, 1);

  SendKey(user, Qt::Key_Escape);
  EXPECT_TRUE(window_->destroyed());
  EXPECT_EQ(opener_.WaitForAddresses(1), std::vector<std::string>{"http://bbs.quorvel.com"});
}

TEST_F(QtMainWindowTest, LeftPressOnTheLinkOpensTheUserPage) {
  window_->标签1.SetVisible(true);
  auto* link = Widget<QLabel>("标签1");
  ASSERT_TRUE(link);
  EXPECT_FALSE(link->isHidden());
  EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(link, &press);
  EXPECT_EQ(opener_.WaitForAddresses(1), std::vector<std::string>{"http://bbs.quorvel.com/u.php"});
}

}  // namespace
}  // namespace quorvel
