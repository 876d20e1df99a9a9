#include "app/forum_wiring.h"

#include "app/credentials.h"
#include "base/window_services.h"
#include "forum/forum_actions.h"

namespace quorvel {

Text MainWindowCheckInForm::UserName() const {
  return Alive() ? BoxText(window_.编辑框_用户名) : Text();
}

Text MainWindowCheckInForm::Password() const {
  return Alive() ? BoxText(window_.编辑框_密码) : Text();
}

void MainWindowCheckInForm::SetLoginEnabled(bool enabled) {
  if (Alive()) window_.按钮_登陆.SetEnabled(enabled);
}

void MainWindowCheckInForm::SetCheckInEnabled(bool enabled) {
  if (Alive()) window_.按钮_签到.SetEnabled(enabled);
}

void MainWindowCheckInForm::SetLinkVisible(bool visible) {
  if (Alive()) window_.标签1.SetVisible(visible);
}

void MainWindowCheckInForm::SetStatus(const Text& text) {
  if (Alive()) SetStatusText(window_.状态条1, 0, text);
}

void MainWindowCheckInForm::SaveCredentials() {
  if (Alive()) quorvel::SaveCredentials(window_);
}

void WireForumActions(MainWindow& window) {
  window.on_login = [&window] {
    MainWindowCheckInForm form(window);
    OnLogin(form);
  };
  window.on_check_in = [&window] {
    MainWindowCheckInForm form(window);
    OnCheckIn(form);
  };
}

}  // namespace quorvel
