#pragma once

// The demo forum's HTTP side on cpp-httplib: the routes, the session cookie and the request log.

#include <cstdio>
#include <functional>
#include <string>

#include "forum_state.h"

namespace httplib {
class Server;
}

namespace quorvel::demo {

inline constexpr const char* kSessionCookie = "qv_sid";

// Writes each request (method, target, headers, body), bytes escaped, to the open streams.
class RequestLog {
 public:
  // Either may be null.
  RequestLog(std::FILE* file, std::FILE* console) : file_(file), console_(console) {}
  void Write(const std::string& entry);

 private:
  std::FILE* file_;
  std::FILE* console_;
};

// Registers the forum's routes on the server. `today` names the current day.
void AddForumRoutes(httplib::Server& server, ForumState& state, RequestLog& log,
                    std::function<std::string()> today);

// The local date as "YYYY-MM-DD".
std::string LocalDay();

}  // namespace quorvel::demo
