#include "forum_state.h"

#include <random>

namespace quorvel::demo {

std::string RandomToken() {
  static std::mutex mutex;
  static std::mt19937_64 engine{std::random_device{}()};
  std::lock_guard lock(mutex);
  static const char digits[] = "0123456789abcdef";
  std::string token;
  for (int i = 0; i < 32; ++i) token += digits[engine() % 16];
  return token;
}

ForumState::ForumState() : ForumState(RandomToken) {}

ForumState::ForumState(TokenSource tokens) : tokens_(std::move(tokens)) {}

void ForumState::AddAccount(const std::string& user, const std::string& password) {
  std::lock_guard lock(mutex_);
  passwords_[user] = password;
}

std::optional<std::string> ForumState::Login(const std::string& user, const std::string& password) {
  std::lock_guard lock(mutex_);
  auto account = passwords_.find(user);
  if (account == passwords_.end() || account->second != password) return std::nullopt;
  std::string token = tokens_();
  sessions_[token] = user;
  return token;
}

std::optional<std::string> ForumState::UserOf(const std::string& session) const {
  std::lock_guard lock(mutex_);
  auto found = sessions_.find(session);
  if (found == sessions_.end()) return std::nullopt;
  return found->second;
}

PunchOutcome ForumState::Punch(const std::string& session, const std::string& day) {
  std::lock_guard lock(mutex_);
  auto found = sessions_.find(session);
  if (found == sessions_.end()) return PunchOutcome::kNoSession;
  const std::string& user = found->second;
  std::string& last = punch_days_[user];
  if (last == day) return PunchOutcome::kAlreadyToday;
  last = day;
  coins_[user] += 5;
  return PunchOutcome::kPunched;
}

int ForumState::Coins(const std::string& user) const {
  std::lock_guard lock(mutex_);
  auto found = coins_.find(user);
  return found == coins_.end() ? 0 : found->second;
}

}  // namespace quorvel::demo
