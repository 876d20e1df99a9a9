#pragma once

// The cookies of an answer: every "Set-Cookie:" line of the raw headers goes to the
// process-wide store, and its name=value part joins the harvested cookie text.

#include "base/text.h"

namespace quorvel {

// For each line that begins with "Set-Cookie:" (any case, blank after the colon or not), the
// remainder after the colon and its leading blanks: its text before the first ";" (the whole
// remainder when it has none) and ";" join the result, and InternetSetCookieA stores it for
// "http://" + host, named by the bytes before its first "=", with every byte after that "="
// as data (attributes included).
Text HarvestCookies(const Text& raw_headers, const Text& host);

}  // namespace quorvel
