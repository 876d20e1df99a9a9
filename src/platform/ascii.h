#pragma once

// Small byte-level text helpers for the formats the platform layer parses (profile files,
// header lines, cookie attributes): ASCII letter case and blanks only, every other byte as is.

#include <algorithm>
#include <string>
#include <string_view>

namespace quorvel::platform {

// A-Z become a-z; every other byte stays.
inline char AsciiLower(char byte) {
  return (byte >= 'A' && byte <= 'Z') ? static_cast<char>(byte + 32) : byte;
}

// The text with A-Z lowered.
inline std::string AsciiLowered(std::string_view text) {
  std::string out(text);
  for (char& byte : out) byte = AsciiLower(byte);
  return out;
}

// Equal when A-Z and a-z are taken as the same letters.
inline bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return AsciiLower(x) == AsciiLower(y);
         });
}

// The text without spaces and tabs at either end.
inline std::string_view TrimSpacesAndTabs(std::string_view text) {
  const size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string_view::npos) return {};
  return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

}  // namespace quorvel::platform
