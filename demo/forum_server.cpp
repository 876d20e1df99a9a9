#include "forum_server.h"

#include <httplib.h>

#include <ctime>
#include <mutex>

#include "form_codec.h"
#include "pages.h"

namespace quorvel::demo {
namespace {

constexpr const char* kHtml = "text/html; charset=gbk";

std::string LogEntry(const httplib::Request& request) {
  std::string entry = "--- " + EscapeForLog(request.method) + " " + EscapeForLog(request.target) +
                      " " + EscapeForLog(request.version) + "\n";
  for (const auto& [name, value] : request.headers) {
    // httplib adds these itself; they are not what the client sent.
    if (name == "REMOTE_ADDR" || name == "REMOTE_PORT" || name == "LOCAL_ADDR" ||
        name == "LOCAL_PORT") {
      continue;
    }
    entry += EscapeForLog(name) + ": " + EscapeForLog(value) + "\n";
  }
  entry += "body: " + EscapeForLog(request.body) + "\n";
  return entry;
}

std::string SessionOf(const httplib::Request& request) {
  return CookieValue(request.get_header_value("Cookie"), kSessionCookie).value_or("");
}

void AnswerLogin(ForumState& state, const httplib::Request& request, httplib::Response& response) {
  std::map<std::string, std::string> form = ParseForm(request.body);
  std::optional<std::string> session = state.Login(form["pwuser"], form["pwpwd"]);
  if (!session) {
    response.set_content(LoginFailedPage(), kHtml);
    return;
  }
  response.set_header("Set-Cookie",
                      std::string(kSessionCookie) + "=" + *session + "; path=/; HttpOnly");
  response.set_content(LoginSucceededPage(form["pwuser"]), kHtml);
}

void AnswerPunch(ForumState& state, const std::string& day, const httplib::Request& request,
                 httplib::Response& response) {
  if (request.get_param_value("action") != "punch") {
    response.status = 400;  // logged already; only unrouted requests are logged as 404s
    return;
  }
  std::string session = SessionOf(request);
  std::optional<std::string> user = state.UserOf(session);
  switch (state.Punch(session, day)) {
    case PunchOutcome::kNoSession:
      response.set_content(NotLoggedInPunchPage(), kHtml);
      break;
    case PunchOutcome::kPunched:
      response.set_content(PunchedPage(*user, state.Coins(*user)), kHtml);
      break;
    case PunchOutcome::kAlreadyToday:
      response.set_content(AlreadyPunchedPage(*user), kHtml);
      break;
  }
}

}  // namespace

void RequestLog::Write(const std::string& entry) {
  static std::mutex mutex;
  std::lock_guard lock(mutex);
  for (std::FILE* stream : {file_, console_}) {
    if (stream == nullptr) continue;
    std::fwrite(entry.data(), 1, entry.size(), stream);
    std::fflush(stream);
  }
}

std::string LocalDay() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char day[16];
  std::strftime(day, sizeof day, "%Y-%m-%d", &local);
  return day;
}

void AddForumRoutes(httplib::Server& server, ForumState& state, RequestLog& log,
                    std::function<std::string()> today) {
  // Every handler logs its request, body read, before the answer goes out, so a client that
  // has its answer finds its entry. Requests that reach no handler are logged as 404s.
  auto logged = [&log](httplib::Server::Handler handler) {
    return [&log, handler](const httplib::Request& request, httplib::Response& response) {
      log.Write(LogEntry(request));
      handler(request, response);
    };
  };
  server.set_error_handler([&log](const httplib::Request& request, httplib::Response& response) {
    if (response.status == 404) log.Write(LogEntry(request));
  });
  server.Get("/", logged([](const httplib::Request&, httplib::Response& response) {
               response.set_content(HomePage(), kHtml);
             }));
  server.Post("/login.php",
              logged([&state](const httplib::Request& request, httplib::Response& response) {
                AnswerLogin(state, request, response);
              }));
  server.Post("/jobcenter.php",
              logged([&state, today](const httplib::Request& request, httplib::Response& response) {
                AnswerPunch(state, today(), request, response);
              }));
  server.Get("/u.php",
             logged([&state](const httplib::Request& request, httplib::Response& response) {
               std::optional<std::string> user = state.UserOf(SessionOf(request));
               response.set_content(
                   user ? UserPage(*user, state.Coins(*user)) : AnonymousUserPage(), kHtml);
             }));
}

}  // namespace quorvel::demo
