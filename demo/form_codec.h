#pragma once

// Byte-level helpers of the demo forum: form bodies, cookies, account lines, log escaping.

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace quorvel::demo {

// Decodes "%XX" (either case) and "+" (a blank); a "%" not followed by two hex digits stays.
std::string PercentDecode(std::string_view text);
// The fields of an application/x-www-form-urlencoded body, names and values decoded. A field
// that occurs twice keeps its first value; a field without "=" has the empty value.
std::map<std::string, std::string> ParseForm(std::string_view body);
// The value of one cookie in a Cookie header; nothing when it is absent.
std::optional<std::string> CookieValue(std::string_view header, std::string_view name);
// "user:password" split at the first ":"; nothing without a ":" or with an empty user.
std::optional<std::pair<std::string, std::string>> ParseAccount(std::string_view line);
// Bytes made visible for a log: printable ASCII as is, "\" as "\\", every other byte as
// "\xHH" (so GBK and control bytes show).
std::string EscapeForLog(std::string_view bytes);
// Text made safe inside HTML: &, <, > and " as entities; other bytes unchanged.
std::string EscapeHtml(std::string_view text);

}  // namespace quorvel::demo
