#pragma once

// The demo forum's own logic, apart from HTTP: accounts, sessions and the punch of the day.
// Names and passwords are GBK bytes, compared exactly. Safe to use from several threads.

#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace quorvel::demo {

enum class PunchOutcome { kNoSession, kPunched, kAlreadyToday };

class ForumState {
 public:
  // Makes the session tokens; the default draws 32 random hex digits.
  using TokenSource = std::function<std::string()>;

  ForumState();
  explicit ForumState(TokenSource tokens);

  // Adds the account, or replaces the password of an existing one.
  void AddAccount(const std::string& user, const std::string& password);
  // A new session for the user; nothing when the user is unknown or the password wrong.
  std::optional<std::string> Login(const std::string& user, const std::string& password);
  // The user of a session; nothing for an unknown one.
  std::optional<std::string> UserOf(const std::string& session) const;
  // The punch of `day` (any text that names the day, such as "2026-12-11"): the first one of a
  // user on a day earns 5 coins, later ones earn nothing.
  PunchOutcome Punch(const std::string& session, const std::string& day);
  // The coins a user has earned.
  int Coins(const std::string& user) const;

 private:
  TokenSource tokens_;
  mutable std::mutex mutex_;
  std::map<std::string, std::string> passwords_;
  std::map<std::string, std::string> sessions_;    // token -> user
  std::map<std::string, std::string> punch_days_;  // user -> day of the last punch
  std::map<std::string, int> coins_;
};

// 32 random hex digits.
std::string RandomToken();

}  // namespace quorvel::demo
