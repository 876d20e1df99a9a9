#include "web/url_helpers.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/byte_ops.h"
#include "base/text_ops.h"

namespace quorvel {
namespace {

constexpr int32_t kHttpPort = 80;
constexpr int32_t kHttpsPort = 443;

// The length of the "http://" or "https://" that begins the address; 0 without a scheme.
int32_t SchemeLength(const Text& address) {
  switch (SchemeOf(address)) {
    case Scheme::kHttps:
      return 8;
    case Scheme::kHttp:
      return 7;
    case Scheme::kNone:
      break;
  }
  return 0;
}

// A real truncated toward zero, as the processor's conversion does: a value that an int32_t
// cannot hold (or not a number) gives the lowest int32_t.
int32_t TruncateToInt32(double value) {
  double truncated = std::trunc(value);
  if (!(truncated >= std::numeric_limits<int32_t>::min() &&
        truncated <= std::numeric_limits<int32_t>::max())) {
    return std::numeric_limits<int32_t>::min();
  }
  return static_cast<int32_t>(truncated);
}

}  // namespace

Scheme SchemeOf(const Text& address) {
  if (CompareText(TextLeft(address, 8), "https://", false) == 0) return Scheme::kHttps;
  if (CompareText(TextLeft(address, 7), "http://", false) == 0) return Scheme::kHttp;
  return Scheme::kNone;
}

Text HostOf(const Text& address) {
  Text host = ReplaceRange(address, 1, SchemeLength(address));
  host = ReplaceSubtext(host, "https://", "", kOmitted, kOmitted, true);
  host = ReplaceSubtext(host, "http://", "", kOmitted, kOmitted, true);
  int32_t slash = FindText(host, "/", kOmitted, false);
  if (slash != -1) host = TextLeft(host, slash - 1);
  int32_t colon = FindText(host, ":", kOmitted, false);
  if (colon != -1) host = TextLeft(host, colon - 1);
  return ToLower(host);
}

Text PathOf(const Text& address) {
  // The host is looked for after the scheme, so that letters of the scheme are never taken
  // for it, and the path's "/" after the host.
  int32_t after_scheme = SchemeLength(address) + 1;
  Text host = HostOf(address);
  int32_t host_at = FindText(address, host, after_scheme, true);
  int32_t from = host_at == -1 ? after_scheme : std::max(host_at + TextLength(host), after_scheme);
  int32_t slash = FindText(address, "/", from, true);
  if (slash == -1) return "/";
  return TextRight(address, TextLength(address) - slash + 1);
}

int32_t PortOf(const Text& address) {
  int32_t scheme = SchemeLength(address);
  Text host_part = address;
  if (scheme > 0) {
    int32_t slash = FindText(address, "/", scheme + 1, true);
    host_part = slash != -1 ? TextMid(address, scheme + 1, slash - scheme - 1)
                            : ReplaceRange(address, 1, scheme);
  } else {
    int32_t slash = FindText(address, "/", 1, true);
    if (slash != -1) host_part = TextLeft(address, slash - 1);
  }
  int32_t colon = FindText(host_part, ":", 1, true);
  if (colon == -1) return SchemeOf(address) == Scheme::kHttps ? kHttpsPort : kHttpPort;
  return TruncateToInt32(ToNumber(TextRight(host_part, TextLength(host_part) - colon)));
}

Text TextBetween(const Text& text, const Text& start_marker, const Text& end_marker, int32_t start,
                 bool exact_case) {
  // "#引号" lets a marker spell a double quote.
  const Text opening = ReplaceSubtext(start_marker, "#引号", "\"", kOmitted, kOmitted, true);
  const Text closing = ReplaceSubtext(end_marker, "#引号", "\"", kOmitted, kOmitted, true);
  int32_t found = FindText(text, opening, start, !exact_case);
  if (found == -1) return {};
  Text rest = TextRight(text, TextLength(text) - found - TextLength(opening) + 1);
  // The end marker is searched from the same start position, counted within the rest.
  int32_t end = FindText(rest, closing, start, !exact_case);
  if (end == -1) return {};
  return TextLeft(rest, end - 1);
}

Text TextBefore(const Text& text, const Text& marker, int32_t start, bool ignore_case) {
  int32_t found = FindText(text, marker, std::max(start, 1), ignore_case);
  if (found == -1) return {};
  return TextLeft(text, found - 1);
}

}  // namespace quorvel
