#include "pages.h"

#include "form_codec.h"

namespace quorvel::demo {
namespace {

std::string Page(const std::string& title, const std::string& body) {
  return "<!DOCTYPE html>\n<html><head><meta http-equiv=\"Content-Type\" "
         "content=\"text/html; charset=gbk\"><title>" +
         title + " - Quorvel 演示论坛</title></head>\n<body>\n" + body + "\n</body></html>\n";
}

}  // namespace

const char* ChineseDemoUser() { return "测试用户"; }

std::string HomePage() {
  return Page("首页",
              "<h1>Quorvel 演示论坛</h1>\n<p>欢迎光临。登录后每天可以打卡签到一次，"
              "每次签到获得 5 个金币。</p>\n<p><a href=\"/u.php\">个人空间</a></p>");
}

std::string LoginSucceededPage(const std::string& user) {
  return Page("登录",
              "<p>" + EscapeHtml(user) +
                  "，您已经顺利登录，正在返回首页。</p>\n<p><a href=\"/\">返回首页</a></p>");
}

std::string LoginFailedPage() { return Page("登录", "<p>用户名或密码错误，请重新输入。</p>"); }

std::string PunchedPage(const std::string& user, int coins) {
  return Page("打卡", "<p>" + EscapeHtml(user) + " 打卡成功，金币+5，现有金币 " +
                          std::to_string(coins) + " 个。</p>");
}

std::string AlreadyPunchedPage(const std::string& user) {
  return Page("打卡", "<p>" + EscapeHtml(user) + "，你已经打卡了，请明天再来。</p>");
}

std::string NotLoggedInPunchPage() { return Page("打卡", "<p>请先登录，再来签到。</p>"); }

std::string UserPage(const std::string& user, int coins) {
  return Page("个人空间", "<h1>" + EscapeHtml(user) + " 的个人空间</h1>\n<p>金币：" +
                              std::to_string(coins) + "</p>");
}

std::string AnonymousUserPage() { return Page("个人空间", "<p>您还没有登录。</p>"); }

}  // namespace quorvel::demo
