#include "app/main_window.h"

#include "app/credentials.h"
#include "app/embedded_pictures.h"
#include "app/skin_setup.h"
#include "base/services.h"
#include "base/text_ops.h"
#include "base/window_services.h"
#include "forum/forum_actions.h"
#include "forum/forum_address.h"

namespace quorvel {
namespace {

using platform::Place;

constexpr int32_t kClientWidth = 374;
constexpr int32_t kClientHeight = 222;
constexpr const char* kLoggedOutStatus = "请登录后签到。";

}  // namespace

MainWindow::MainWindow()
    : form_("Quorvel打卡签到器 BY:Drelmo", kClientWidth, kClientHeight, LogoIcon()),
      透明标签1(
          form_.Add<platform::TransparentLabel>("透明标签1", Place{24, 32, 48, 16}, "用户名：")),
      编辑框_用户名(form_.Add<platform::EditBox>("编辑框_用户名", Place{85, 29, 120, 24})),
      透明标签2(
          form_.Add<platform::TransparentLabel>("透明标签2", Place{32, 72, 48, 24}, "密码：")),
      编辑框_密码(form_.Add<platform::EditBox>("编辑框_密码", Place{85, 71, 120, 24})),
      按钮_登陆(form_.Add<platform::Button>("按钮_登陆", Place{67, 120, 56, 32}, "登陆")),
      按钮_签到(form_.Add<platform::Button>("按钮_签到", Place{137, 120, 66, 32}, "打卡签到")),
      图片框1(form_.Add<platform::PictureBox>("图片框1", Place{216, 23, 144, 120}, LogoPicture())),
      标签1(form_.Add<platform::LinkLabel>("标签1", Place{243, 150, 87, 16}, "到签到页查看",
                                           platform::LinkLabel::Colour{128, 128, 255})),
      状态条1(form_.Add<platform::StatusBar>("状态条1", Place{0, 202, 374, 20}, "状态信息")) {
  标签1.SetVisible(false);  // no peer yet: nothing is drawn and no event runs
  编辑框_用户名.on_content_changed = [this] { OnUserNameChanged(); };
  标签1.on_left_pressed = [this] { OnLinkLabelPressed(); };
  按钮_登陆.on_clicked = [this] {
    if (on_login) on_login();
  };
  按钮_签到.on_clicked = [this] {
    if (on_check_in) on_check_in();
  };
  form_.on_destroying = [this] { OnWindowDestroying(); };
}

void MainWindow::OnWindowCreated() {
  ApplySkin(6);
  编辑框_密码.SetPasswordMode(true);
  SetStatusText(状态条1, 0, kLoggedOutStatus);
  按钮_签到.SetEnabled(false);
  if (FileExists(ConfigFilePath())) LoadCredentials(*this);
}

void MainWindow::OnUserNameChanged() {
  按钮_签到.SetEnabled(false);
  按钮_登陆.SetEnabled(true);
  标签1.SetVisible(false);
  编辑框_密码.SetText({});
  SetStatusText(状态条1, 0, kLoggedOutStatus);
}

void MainWindow::OnLinkLabelPressed() { OpenAddress(UserPageAddress()); }

void MainWindow::OnWindowDestroying() { OpenAddress(ForumBaseAddress()); }

Text BoxText(const platform::EditBox& box) { return Text(std::string_view(box.text())); }

void SetBoxText(platform::EditBox& box, const Text& text) { box.SetText(text.str()); }

}  // namespace quorvel
