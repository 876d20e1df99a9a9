#pragma once

// Pages in UTF-8 or Big5 turned into GBK (code page 936), the code page of every Text, through
// UTF-16 and the code-page functions. Nothing fails: what cannot be converted is replaced.

#include <cstdint>

#include "base/text.h"

namespace quorvel {

// UTF-8 bytes to GBK. Each invalid UTF-8 sequence, and each character GBK cannot hold, becomes
// "?"; the rest is kept.
Text Utf8ToAnsi(const Text& text);
// Big5 bytes to GBK, traditional characters mapped to simplified ones. A character GBK cannot
// hold becomes "?".
Text Big5ToSimplified(const Text& text);

// The inner steps.

// The text decoded from the code page (65001, UTF-8, unless code_page_given) into UTF-16
// units, two bytes each, little-endian, with the terminating zero unit.
ByteString DecodeToWide(const Text& text, int32_t code_page, bool code_page_given);
// UTF-16 units up to the first zero unit, encoded into the code page (the system code page,
// 0, unless code_page_given). A character the code page cannot hold becomes "?".
Text EncodeFromWide(const ByteString& wide, int32_t code_page, bool code_page_given);
// Big5 (950) bytes to GBK (936).
Text Big5ToAnsi(const Text& text);
// GBK text with traditional characters mapped to simplified ones, character for character.
Text ToSimplified(const Text& text);

}  // namespace quorvel
