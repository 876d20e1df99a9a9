#pragma once

// Taking an address apart, and picking values out of header text. Every routine returns a new
// value and reports nothing: an absent part gives the empty text, or for PortOf a default.

#include <cstdint>

#include "base/text.h"

namespace quorvel {

// The scheme that begins the address, in any letter case.
enum class Scheme { kNone, kHttp, kHttps };
Scheme SchemeOf(const Text& address);

// The host name, lower-cased: the address without its "http://" or "https://" scheme (any
// letter case at the start; lower case elsewhere), cut before the first "/" and then before
// the first ":". An address with user information gives the user name.
Text HostOf(const Text& address);

// The object path: from the first "/" after the scheme and the host to the end, query
// included; "/" when there is none.
Text PathOf(const Text& address);

// The number after the ":" that follows the host, truncated; 0 when no number follows it.
// Without one: 443 for an "https://" address, otherwise 80. Schemes match in any letter case.
int32_t PortOf(const Text& address);

// The text between the first start marker found from position start and the end marker that
// follows it; empty when either is absent. The end marker is searched from the same position
// counted within what follows the start marker (from the beginning, as every caller asks, that
// is the first end marker after it). "#引号" in a marker stands for a double quote. Letter case
// counts only when exact_case is true.
Text TextBetween(const Text& text, const Text& start_marker, const Text& end_marker, int32_t start,
                 bool exact_case);

// The bytes from the very start of the text up to the first marker found from position start
// (below 1: the beginning); empty when the marker is absent. Note the sense of the flag,
// opposite to TextBetween's: letter case is ignored only when ignore_case is true.
Text TextBefore(const Text& text, const Text& marker, int32_t start, bool ignore_case);

}  // namespace quorvel
