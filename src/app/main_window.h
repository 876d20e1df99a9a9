#pragma once

// The program's only window: its nine controls with their places, texts and first states, and
// the handlers that belong to the window itself. The controls are plain state objects; the
// window backend draws them. The two button clicks are handed to on_login and on_check_in,
// which the program's start-up sets.

#include <functional>

#include "base/text.h"
#include "platform/window/form.h"

namespace quorvel {

class MainWindow {
 public:
  // Creates the form and its controls in their first state; no control event runs.
  MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  platform::Form& form() { return form_; }
  // True once the window has been closed and destroyed. A handler that resumes after a wait
  // checks this and ends without touching the controls or showing message boxes.
  bool destroyed() const { return form_.destroyed(); }

  // Runs before the window is first shown: skin, password mode, status text, check-in button
  // disabled, then the saved credentials when config.ini exists.
  void OnWindowCreated();
  // Back to the logged-out state whenever the user name changes, by the user or the program.
  void OnUserNameChanged();
  // Opens the forum's user page.
  void OnLinkLabelPressed();
  // Opens the forum's home page; runs on every close.
  void OnWindowDestroying();

  // The click handlers of 按钮_登陆 and 按钮_签到; nothing happens while they are empty.
  std::function<void()> on_login;
  std::function<void()> on_check_in;

 private:
  platform::Form form_;

 public:
  // The controls, in creation (and Tab) order.
  platform::TransparentLabel& 透明标签1;
  platform::EditBox& 编辑框_用户名;
  platform::TransparentLabel& 透明标签2;
  platform::EditBox& 编辑框_密码;
  platform::Button& 按钮_登陆;
  platform::Button& 按钮_签到;
  platform::PictureBox& 图片框1;
  platform::LinkLabel& 标签1;
  platform::StatusBar& 状态条1;
};

// The text of an edit box as a Text, and setting it (which raises its content-changed event).
Text BoxText(const platform::EditBox& box);
void SetBoxText(platform::EditBox& box, const Text& text);

}  // namespace quorvel
