#pragma once

// The process-wide cookie store: one libcurl share with locking, and the cookies that
// InternetSetCookieA puts into it as Netscape-format lines (which give an exact host).

#include <curl/curl.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorvel::platform::http {

// The share that holds every cookie of the process; null when libcurl cannot make it.
CURLSH* CookieShare();

// Puts the cookie store on an easy handle: the share, and the cookie engine switched on.
bool UseCookieStore(CURL* easy);

// The Netscape-format line for a host-only cookie of the address's host: the value is the data
// up to its first ";"; the attributes after it that count are path, expires, max-age, secure
// and HttpOnly (others are ignored). No expiry: a session cookie. `now` is in Unix seconds.
// Nothing when the address has no host or the name is empty or holds a blank, tab or "=".
std::optional<std::string> CookieLine(std::string_view url, std::string_view name,
                                      std::string_view data, int64_t now);

// Adds one Netscape-format line to the store; false when libcurl refuses it.
bool StoreCookieLine(const std::string& line);

}  // namespace quorvel::platform::http
