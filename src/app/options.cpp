#include "app/options.h"

namespace quorvel {

bool IsForumAddress(const std::string& address) {
  constexpr std::string_view kScheme = "http://";
  if (address.size() <= kScheme.size() || address.compare(0, kScheme.size(), kScheme) != 0) {
    return false;
  }
  if (address.back() == '/' || address[kScheme.size()] == '/') return false;
  for (const char c : address) {
    if (static_cast<unsigned char>(c) <= 0x20 || c == 0x7F) return false;
  }
  return true;
}

Options ParseOptions(const std::vector<std::string>& arguments) {
  Options options;
  for (size_t i = 0; i < arguments.size() && options.error.empty(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--help" || argument == "-h") {
      options.help = true;
    } else if (argument == "--version") {
      options.version = true;
    } else if (argument == "--headless") {
      options.headless = true;
    } else if (argument == "--forum" || argument.rfind("--forum=", 0) == 0) {
      std::string address;
      if (argument == "--forum") {
        if (i + 1 == arguments.size()) {
          options.error = "--forum needs an address, such as http://127.0.0.1:8080";
          break;
        }
        address = arguments[++i];
      } else {
        address = argument.substr(8);
      }
      if (!IsForumAddress(address)) {
        options.error =
            "--forum takes an http:// address without a trailing slash, not \"" + address + "\"";
      }
      options.forum = address;
    } else {
      options.error = "unknown option \"" + argument + "\"";
    }
  }
  return options;
}

const char* UsageText() {
  return R"(Usage: quorvel-checkin [--forum URL] [--headless]

Logs in to the Quorvel forum and makes the daily check-in.

  --forum URL   the forum's base address, an http:// address without a trailing
                slash (default http://bbs.quorvel.com)
  --headless    no window: log in with the user name and password saved in
                config.ini beside the program, check in, print the outcome
  --help        show this text
  --version     show the version

Exit status with --headless: 0 checked in now or already today, 1 login failed,
2 bad usage, 3 check-in failed, 4 no saved user name and password.
)";
}

}  // namespace quorvel
