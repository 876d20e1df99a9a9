#pragma once

// The program's command-line options.

#include <optional>
#include <string>
#include <vector>

namespace quorvel {

struct Options {
  bool help = false;
  bool version = false;
  bool headless = false;
  std::optional<std::string> forum;  // --forum URL
  std::string error;                 // set when the command line is refused
};

// Reads the arguments after the program's name.
Options ParseOptions(const std::vector<std::string>& arguments);

// Whether the address can serve as the forum's base address: "http://", a host, and no
// trailing slash, blanks or control bytes.
bool IsForumAddress(const std::string& address);

// The text of --help (ASCII only, so the same in every code page).
const char* UsageText();

}  // namespace quorvel
