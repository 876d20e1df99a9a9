#pragma once

// Operations on texts. Positions and lengths count bytes, from 1; a search that finds nothing
// gives -1. Out-of-range positions and counts are clamped; nothing fails.

#include <initializer_list>
#include <optional>

#include "base/text.h"

namespace quorvel {

// The number of bytes of the text.
int32_t TextLength(const Text& text);

// The texts' bytes one after the other.
Text ConcatText(std::initializer_list<Text> parts);
template <typename... Parts>
Text ConcatText(const Parts&... parts) {
  return ConcatText({Text(parts)...});
}

// The first n bytes; empty for n <= 0, the whole text for n beyond its length.
Text TextLeft(const Text& text, int32_t n);
// The last n bytes; empty for n <= 0, the whole text for n beyond its length.
Text TextRight(const Text& text, int32_t n);
// n bytes from position start; empty when start is outside the text or n <= 0.
Text TextMid(const Text& text, int32_t start, int32_t n);

// The position of the first occurrence of sub at or after start (omitted or below 1: the
// beginning), moving character by character; -1 when absent. Ignoring case folds A-Z only.
int32_t FindText(const Text& text, const Text& sub, std::optional<int32_t> start, bool ignore_case);
// The position of the last occurrence of sub that begins on a character boundary and lies
// wholly within the first start - 1 bytes (omitted: the whole text; given <= 1: nothing).
int32_t FindTextReverse(const Text& text, const Text& sub, std::optional<int32_t> start,
                        bool ignore_case);

// Removes length bytes from position start and puts the replacement in their place.
Text ReplaceRange(const Text& text, int32_t start, int32_t length, const Text& replacement = {});
// Replaces occurrences of sub from start (omitted: 1), at most count of them (omitted: all;
// given 0: none), moving character by character.
Text ReplaceSubtext(const Text& text, const Text& sub, const Text& replacement,
                    std::optional<int32_t> start, std::optional<int32_t> count,
                    bool case_sensitive);

// Removes spaces and full-width spaces (0xA1 0xA1) at both ends.
Text TrimBlanks(const Text& text);
// Lowers A-Z; the second byte of a two-byte character is never changed.
Text ToLower(const Text& text);
// Negative, 0 or positive as a sorts before, equal to or after b.
int CompareText(const Text& a, const Text& b, bool case_sensitive);

}  // namespace quorvel
