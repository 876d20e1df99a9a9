// Accounts, sessions and the punch of the day, without HTTP.

#include <gtest/gtest.h>

#include "forum_state.h"
#include "pages.h"

namespace quorvel::demo {
namespace {

class ForumStateTest : public ::testing::Test {
 protected:
  ForumStateTest() : state_([this] { return "token" + std::to_string(++tokens_); }) {
    state_.AddAccount("demo", "demo123");
    state_.AddAccount("测试用户", "a&b=c");
  }

  int tokens_ = 0;
  ForumState state_;
};

TEST_F(ForumStateTest, LoginNeedsTheExactNameAndPassword) {
  EXPECT_EQ(state_.Login("demo", "demo123"), "token1");
  EXPECT_EQ(state_.Login("测试用户", "a&b=c"), "token2");
  EXPECT_EQ(state_.Login("demo", "demo1234"), std::nullopt);
  EXPECT_EQ(state_.Login("Demo", "demo123"), std::nullopt);
  EXPECT_EQ(state_.Login("nobody", ""), std::nullopt);
  EXPECT_EQ(state_.UserOf("token2"), "测试用户");
  EXPECT_EQ(state_.UserOf("token3"), std::nullopt);
}

TEST_F(ForumStateTest, FirstPunchOfTheDayEarnsCoinsLaterOnesDoNot) {
  std::string first = *state_.Login("demo", "demo123");
  std::string second = *state_.Login("demo", "demo123");  // another session, same user
  EXPECT_EQ(state_.Punch(first, "2026-12-11"), PunchOutcome::kPunched);
  EXPECT_EQ(state_.Punch(second, "2026-12-11"), PunchOutcome::kAlreadyToday);
  EXPECT_EQ(state_.Punch(first, "2026-12-12"), PunchOutcome::kPunched);
  EXPECT_EQ(state_.Coins("demo"), 10);
  // Users punch independently.
  std::string other = *state_.Login("测试用户", "a&b=c");
  EXPECT_EQ(state_.Punch(other, "2026-12-12"), PunchOutcome::kPunched);
}

TEST_F(ForumStateTest, PunchWithoutAValidSessionChangesNothing) {
  EXPECT_EQ(state_.Punch("", "2026-12-11"), PunchOutcome::kNoSession);
  EXPECT_EQ(state_.Punch("forged", "2026-12-11"), PunchOutcome::kNoSession);
  EXPECT_EQ(state_.Coins("demo"), 0);
}

TEST(DemoPages, EachPageHoldsOnlyItsOwnPhrase) {
  struct Case {
    std::string page;
    bool logged_in, punched, already;
  };
  const Case cases[] = {
      {LoginSucceededPage("demo"), true, false, false},
      {LoginFailedPage(), false, false, false},
      {PunchedPage("demo", 5), false, true, false},
      {AlreadyPunchedPage("demo"), false, false, true},
      {NotLoggedInPunchPage(), false, false, false},
      {HomePage(), false, false, false},
      {UserPage("demo", 5), false, false, false},
      {AnonymousUserPage(), false, false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.page.find("您已经顺利登录") != std::string::npos, c.logged_in) << c.page;
    EXPECT_EQ(c.page.find("金币+5") != std::string::npos, c.punched) << c.page;
    EXPECT_EQ(c.page.find("你已经打卡") != std::string::npos, c.already) << c.page;
  }
  // A user name cannot inject markup.
  EXPECT_EQ(LoginSucceededPage("<b>").find("<b>"), std::string::npos);
}

}  // namespace
}  // namespace quorvel::demo
