#pragma once

// How the request worker shapes a request: user agent, request flags, and the header lines it
// adds to the caller's header text.

#include <cstdint>

#include "base/text.h"

namespace quorvel {

// The user agent: the default one when the header text has no "User-Agent:" (any case);
// otherwise the text between "User-Agent:" and the next "\r\n", trimmed ("" without "\r\n").
Text UserAgentOf(const Text& headers);

// 0x00800000 alone for a secure request; otherwise RELOAD | NEED_FILE | IGNORE_REDIRECT_TO_HTTPS,
// with NO_COOKIES when the trimmed cookie text is not empty and NO_AUTO_REDIRECT when
// redirects are not followed.
uint32_t RequestFlags(bool secure, const Text& cookies, bool follow_redirects);

// Appends a line. When the text does not end in "\r\n", one goes before the line, so that the
// caller's last line never runs into it.
void AppendLine(Text& headers, const Text& line);

// The default lines, each tested by a bare word anywhere in the text, ignoring case: Accept
// when "Accept" is absent; no referrer when "RefererNo" is present (that exact spelling is
// removed once), else "Referer: address" when "Referer" is absent; Accept-Language when it is
// absent.
void AddDefaultLines(Text& headers, const Text& address);

// For a POST with a body: the form content type and the length, each unless already there.
void AddBodyLines(Text& headers, int32_t body_length);

// "Cookie: " + cookies + an empty line.
void AddCookieLine(Text& headers, const Text& cookies);

}  // namespace quorvel
