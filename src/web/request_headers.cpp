#include "web/request_headers.h"

#include "base/byte_ops.h"
#include "base/text_ops.h"
#include "platform/http.h"
#include "web/url_helpers.h"

namespace quorvel {
namespace {

const char kDefaultAgent[] =
    "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1; .NET CLR 2.0.50727; .NET CLR "
    "3.0.04506.648; .NET CLR 3.5.21022)";
const char kAcceptLine[] =
    "Accept: image/gif, image/bmp, image/x-xbitmap, image/jpeg, image/pjpeg, "
    "application/x-shockwave-flash, application/vnd.ms-excel, application/vnd.ms-powerpoint, "
    "application/msword, */*\r\n";
const char kLanguageLine[] = "Accept-Language: zh-cn\r\n";
const char kFormTypeLine[] = "Content-Type: application/x-www-form-urlencoded\r\n";

bool Has(const Text& headers, const Text& word) { return FindText(headers, word, 1, true) != -1; }

}  // namespace

Text UserAgentOf(const Text& headers) {
  if (!Has(headers, "User-Agent:")) return kDefaultAgent;
  return TrimBlanks(TextBetween(headers, "User-Agent:", "\r\n", 0, false));
}

uint32_t RequestFlags(bool secure, const Text& cookies, bool follow_redirects) {
  if (secure) return platform::INTERNET_FLAG_SECURE;
  uint32_t flags = platform::INTERNET_FLAG_RELOAD | platform::INTERNET_FLAG_NEED_FILE |
                   platform::INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS;
  if (!TrimBlanks(cookies).empty()) flags |= platform::INTERNET_FLAG_NO_COOKIES;
  if (!follow_redirects) flags |= platform::INTERNET_FLAG_NO_AUTO_REDIRECT;
  return flags;
}

void AppendLine(Text& headers, const Text& line) {
  if (!headers.empty() && TextRight(headers, 2) != Text("\r\n")) {
    headers = ConcatText(headers, "\r\n");
  }
  headers = ConcatText(headers, line);
}

void AddDefaultLines(Text& headers, const Text& address) {
  if (!Has(headers, "Accept")) AppendLine(headers, kAcceptLine);
  if (Has(headers, "RefererNo")) {
    headers = ReplaceSubtext(headers, "RefererNo", "", kOmitted, 1, true);
  } else if (!Has(headers, "Referer")) {
    AppendLine(headers, ConcatText("Referer: ", address, "\r\n"));
  }
  if (!Has(headers, "Accept-Language")) AppendLine(headers, kLanguageLine);
}

void AddBodyLines(Text& headers, int32_t body_length) {
  if (!Has(headers, "Content-Type")) AppendLine(headers, kFormTypeLine);
  if (!Has(headers, "Content-Length")) {
    AppendLine(headers, ConcatText("Content-Length: ", ToText(body_length), "\r\n"));
  }
}

void AddCookieLine(Text& headers, const Text& cookies) {
  AppendLine(headers, ConcatText("Cookie: ", cookies, "\r\n\r\n"));
}

}  // namespace quorvel
