#include "forum/forum_actions.h"

#include "base/byte_ops.h"
#include "base/text_ops.h"
#include "base/window_services.h"
#include "forum/forum_address.h"
#include "web/web_access.h"

namespace quorvel {
namespace {

constexpr const char* kTitle = "提示信息";
constexpr const char* kLoginPhrase = "您已经顺利登录";
constexpr const char* kCheckedInPhrase = "金币+5";
constexpr const char* kAlreadyPhrase = "你已经打卡";
constexpr const char* kCheckInQuery =
    "/jobcenter.php?action=punch&verify=7f3c08e6&nowtime=6173060361943&verify=7f3c08e6";

// Escapes the bytes that would change the form's meaning: "%", "&", "+", "=" and every control
// byte. Every other byte, a GBK character's included, goes as it stands.
Text FormValue(const Text& value) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const char c : value.view()) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || c == '%' || c == '&' || c == '+' || c == '=') {
      out += '%';
      out += kHex[byte >> 4];
      out += kHex[byte & 0xF];
    } else {
      out += c;
    }
  }
  return Text(out);
}

// The page as text (up to its first zero byte), searched from its end, ignoring case.
bool PageHolds(const Text& page, const char* phrase) {
  return FindTextReverse(page, phrase, kOmitted, true) != -1;
}

// Shows a message box, unless the window has gone meanwhile.
void Tell(const CheckInForm& form, const char* text) {
  if (form.Alive()) ShowMessage(text, 0, kTitle);
}

Text Post(Text address, const Text& body) {
  return ToText(WebAccess(address, 1, {}, {}, ToBytes(body)));
}

}  // namespace

Text LoginAddress() { return ConcatText(ForumBaseAddress(), "/login.php"); }
Text CheckInAddress() { return ConcatText(ForumBaseAddress(), kCheckInQuery); }
Text UserPageAddress() { return ConcatText(ForumBaseAddress(), "/u.php"); }

Text LoginBody(const Text& user_name, const Text& password) {
  Text jump = ReplaceSubtext(ForumBaseAddress(), ":", "%3A", kOmitted, kOmitted, true);
  jump = ReplaceSubtext(jump, "/", "%2F", kOmitted, kOmitted, true);
  return ConcatText("jumpurl=", jump, "%2Findex.php", "&step=2&pwuser=", FormValue(user_name),
                    "&question=0&customquest=&answer=&pwpwd=", FormValue(password),
                    "&head_login=&lgt=0");
}

LoginOutcome OnLogin(CheckInForm& form) {
  if (form.UserName().empty() || form.Password().empty()) {
    form.SetStatus("用户名密码不能为空。");
    return LoginOutcome::kEmptyBox;
  }
  form.SaveCredentials();
  form.SetStatus("正在登录...");
  const Text page = Post(LoginAddress(), LoginBody(form.UserName(), form.Password()));
  if (PageHolds(page, kLoginPhrase)) {
    Tell(form, "登陆成功");
    form.SetCheckInEnabled(true);
    form.SetLoginEnabled(false);
    form.SetStatus("登录成功请打卡签到。");
    return LoginOutcome::kLoggedIn;
  }
  Tell(form, "登陆失败");
  form.SetStatus("请重新登录。");
  return LoginOutcome::kFailed;
}

CheckInOutcome OnCheckIn(CheckInForm& form) {
  form.SetStatus("打卡签到中...");
  const Text page = Post(CheckInAddress(), "step=2");
  if (PageHolds(page, kCheckedInPhrase)) {
    Tell(form, "打卡成功");
    form.SetCheckInEnabled(false);
    form.SetLinkVisible(true);
    form.SetStatus("签到成功，您可签到其他账号。");
    return CheckInOutcome::kCheckedIn;
  }
  if (PageHolds(page, kAlreadyPhrase)) {
    Tell(form, "您已经打卡，明天再来吧。");
    form.SetStatus("您已经打卡，明天再来吧。");
    return CheckInOutcome::kAlreadyToday;
  }
  Tell(form, "打卡失败");
  form.SetStatus("打卡失败,请重新打卡。");
  return CheckInOutcome::kFailed;
}

}  // namespace quorvel
