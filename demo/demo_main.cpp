// quorvel-demo-forum: the forum's side of the login and the daily punch, on 127.0.0.1.
//
//   quorvel-demo-forum [--port N] [--log FILE|-] [--accounts FILE] [--account USER:PASSWORD]...
//
// --port 0 (the default) takes any free port. The first line of standard output is
// "port N", the port chosen. Accounts: demo/demo123 and a Chinese user name (ceshi123) built in,
// more from a file of "user:password" lines (GBK) and from --account. --log - logs to standard
// output.

#include <httplib.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "form_codec.h"
#include "forum_server.h"
#include "pages.h"

namespace {

using namespace quorvel::demo;

struct Options {
  int port = 0;
  std::string log_file;
  bool ok = true;
};

bool LoadAccounts(const std::string& path, ForumState& state) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    if (auto account = ParseAccount(line)) state.AddAccount(account->first, account->second);
  }
  return true;
}

Options ParseOptions(int argc, char** argv, ForumState& state) {
  Options options;
  for (int i = 1; i < argc && options.ok; ++i) {
    std::string option = argv[i];
    bool has_value = i + 1 < argc;
    if (option == "--port" && has_value) {
      char* end = nullptr;
      long port = std::strtol(argv[++i], &end, 10);
      options.ok = *end == '\0' && port >= 0 && port <= 65535;
      options.port = static_cast<int>(port);
    } else if (option == "--log" && has_value) {
      options.log_file = argv[++i];
    } else if (option == "--accounts" && has_value) {
      options.ok = LoadAccounts(argv[++i], state);
      if (!options.ok) std::fprintf(stderr, "cannot read %s\n", argv[i]);
    } else if (option == "--account" && has_value) {
      auto account = ParseAccount(argv[++i]);
      options.ok = account.has_value();
      if (account) state.AddAccount(account->first, account->second);
    } else {
      options.ok = false;
    }
  }
  return options;
}

}  // namespace

int main(int argc, char** argv) {
  ForumState state;
  state.AddAccount(kDemoUser, kDemoPassword);
  state.AddAccount(ChineseDemoUser(), kChineseDemoPassword);
  Options options = ParseOptions(argc, argv, state);
  if (!options.ok) {
    std::fprintf(stderr,
                 "usage: quorvel-demo-forum [--port N] [--log FILE|-] [--accounts FILE] "
                 "[--account USER:PASSWORD]...\n");
    return 2;
  }
  std::FILE* log_file = nullptr;
  if (!options.log_file.empty() && options.log_file != "-") {
    log_file = std::fopen(options.log_file.c_str(), "ab");
    if (log_file == nullptr) {
      std::fprintf(stderr, "cannot open %s\n", options.log_file.c_str());
      return 2;
    }
  }
  RequestLog log(log_file, options.log_file == "-" ? stdout : nullptr);
  httplib::Server server;
  AddForumRoutes(server, state, log, LocalDay);
  int port = options.port;
  bool bound = port == 0 ? (port = server.bind_to_any_port("127.0.0.1")) > 0
                         : server.bind_to_port("127.0.0.1", port);
  if (!bound) {
    std::fprintf(stderr, "cannot listen on 127.0.0.1:%d\n", options.port);
    return 1;
  }
  std::printf("port %d\n", port);
  std::fflush(stdout);
  return server.listen_after_bind() ? 0 : 1;
}
