#include "platform/http/cookie_store.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <mutex>

#include "platform/ascii.h"
#include "platform/http/curl_handles.h"

namespace quorvel::platform::http {
namespace {

// One mutex per kind of shared data, as libcurl's lock callbacks ask.
std::array<std::mutex, CURL_LOCK_DATA_LAST> share_locks;

void LockShare(CURL*, curl_lock_data data, curl_lock_access, void*) {
  share_locks[static_cast<size_t>(data)].lock();
}

void UnlockShare(CURL*, curl_lock_data data, void*) {
  share_locks[static_cast<size_t>(data)].unlock();
}

CURLSH* MakeShare() {
  if (!EnsureCurlGlobal()) return nullptr;
  CURLSH* share = curl_share_init();
  if (share == nullptr) return nullptr;
  if (curl_share_setopt(share, CURLSHOPT_LOCKFUNC, LockShare) != CURLSHE_OK ||
      curl_share_setopt(share, CURLSHOPT_UNLOCKFUNC, UnlockShare) != CURLSHE_OK ||
      curl_share_setopt(share, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE) != CURLSHE_OK) {
    curl_share_cleanup(share);
    return nullptr;
  }
  return share;
}

struct UrlParts {
  std::string host;
  std::string path;  // the directory of the address's path, "/" when it has none
};

std::optional<UrlParts> SplitUrl(std::string_view url) {
  size_t scheme_end = url.find("://");
  std::string_view rest = scheme_end == std::string_view::npos ? url : url.substr(scheme_end + 3);
  size_t path_start = rest.find_first_of("/?#");
  std::string_view authority = rest.substr(0, path_start);
  if (size_t at = authority.rfind('@'); at != std::string_view::npos) {
    authority = authority.substr(at + 1);
  }
  std::string_view host = authority;
  if (!host.empty() && host.front() == '[') {
    host = host.substr(0, host.find(']') + 1);
  } else if (size_t colon = host.find(':'); colon != std::string_view::npos) {
    host = host.substr(0, colon);
  }
  if (host.empty()) return std::nullopt;
  UrlParts parts{std::string(host), "/"};
  if (path_start != std::string_view::npos && rest[path_start] == '/') {
    std::string_view path = rest.substr(path_start);
    path = path.substr(0, path.find_first_of("?#"));
    size_t last_slash = path.rfind('/');
    if (last_slash > 0) parts.path = std::string(path.substr(0, last_slash));
  }
  parts.host = AsciiLowered(parts.host);
  return parts;
}

struct Attributes {
  std::string path;
  int64_t expires = 0;  // 0: a session cookie
  bool secure = false;
  bool http_only = false;
};

// Applies one "name=value" attribute of a cookie's data.
void ApplyAttribute(std::string_view attribute, int64_t now, Attributes& out) {
  size_t equals = attribute.find('=');
  std::string_view key = TrimSpacesAndTabs(attribute.substr(0, equals));
  std::string_view value = equals == std::string_view::npos
                               ? std::string_view()
                               : TrimSpacesAndTabs(attribute.substr(equals + 1));
  if (EqualsIgnoringAsciiCase(key, "path") && !value.empty() && value.front() == '/') {
    out.path = std::string(value);
  } else if (EqualsIgnoringAsciiCase(key, "expires")) {
    time_t when = curl_getdate(std::string(value).c_str(), nullptr);
    if (when != -1) out.expires = when <= 0 ? 1 : static_cast<int64_t>(when);
  } else if (EqualsIgnoringAsciiCase(key, "max-age")) {
    int64_t seconds = 0;
    auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), seconds);
    if (error == std::errc() && end == value.data() + value.size()) {
      out.expires = seconds <= 0 ? 1 : now + seconds;
    }
  } else if (EqualsIgnoringAsciiCase(key, "secure")) {
    out.secure = true;
  } else if (EqualsIgnoringAsciiCase(key, "httponly")) {
    out.http_only = true;
  }
}

}  // namespace

CURLSH* CookieShare() {
  static CURLSH* share = MakeShare();  // lives as long as the process
  return share;
}

bool UseCookieStore(CURL* easy) {
  CURLSH* share = CookieShare();
  return share != nullptr && curl_easy_setopt(easy, CURLOPT_SHARE, share) == CURLE_OK &&
         curl_easy_setopt(easy, CURLOPT_COOKIEFILE, "") == CURLE_OK;
}

std::optional<std::string> CookieLine(std::string_view url, std::string_view name,
                                      std::string_view data, int64_t now) {
  std::optional<UrlParts> parts = SplitUrl(url);
  if (!parts || name.empty() || name.find_first_of(" \t=\r\n") != std::string_view::npos) {
    return std::nullopt;
  }
  size_t semicolon = data.find(';');
  std::string_view value = TrimSpacesAndTabs(data.substr(0, semicolon));
  if (value.find_first_of("\t\r\n") != std::string_view::npos) return std::nullopt;
  Attributes attributes{parts->path};
  while (semicolon != std::string_view::npos) {
    data = data.substr(semicolon + 1);
    semicolon = data.find(';');
    ApplyAttribute(data.substr(0, semicolon), now, attributes);
  }
  // Fields: domain, include subdomains, path, secure, expiry, name, value.
  std::string line = attributes.http_only ? "#HttpOnly_" : "";
  line += parts->host + "\tFALSE\t" + attributes.path + "\t" +
          (attributes.secure ? "TRUE" : "FALSE") + "\t" + std::to_string(attributes.expires) +
          "\t" + std::string(name) + "\t" + std::string(value);
  return line;
}

bool StoreCookieLine(const std::string& line) {
  CurlEasy easy = NewEasy();
  if (!easy || !UseCookieStore(easy.get())) return false;
  return curl_easy_setopt(easy.get(), CURLOPT_COOKIELIST, line.c_str()) == CURLE_OK;
}

}  // namespace quorvel::platform::http
