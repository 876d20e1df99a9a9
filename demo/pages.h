#pragma once

// The demo forum's pages, as GBK bytes (this file's literals are compiled to GBK).

#include <string>

namespace quorvel::demo {

// The built-in accounts: a plain one and one with a Chinese user name.
inline constexpr const char* kDemoUser = "demo";
inline constexpr const char* kDemoPassword = "demo123";
const char* ChineseDemoUser();  // "测试用户" in GBK
inline constexpr const char* kChineseDemoPassword = "ceshi123";

std::string HomePage();
// Holds "您已经顺利登录".
std::string LoginSucceededPage(const std::string& user);
// Holds neither the success phrase nor anything like it.
std::string LoginFailedPage();
// The first punch of the day: holds "金币+5".
std::string PunchedPage(const std::string& user, int coins);
// A later punch that day: holds "你已经打卡".
std::string AlreadyPunchedPage(const std::string& user);
// A punch without a valid session: holds neither phrase.
std::string NotLoggedInPunchPage();
// The user's page; without a session, a page that asks to log in.
std::string UserPage(const std::string& user, int coins);
std::string AnonymousUserPage();

}  // namespace quorvel::demo
