#pragma once

// Operations on byte strings and the conversions between texts, byte strings and numbers.

#include <initializer_list>

#include "base/text.h"

namespace quorvel {

// The number of bytes.
int32_t BytesLength(const ByteString& bytes);
// The byte strings one after the other.
ByteString ConcatBytes(std::initializer_list<ByteString> parts);
ByteString ConcatBytes(const ByteString& a, const ByteString& b);
// Appends to a value that the caller gives up: `body = ConcatBytes(std::move(body), piece)`
// costs amortised constant time per byte, so a body grown piece by piece stays linear.
ByteString ConcatBytes(ByteString&& a, const ByteString& b);
// The first max(0, min(n, length)) bytes.
ByteString BytesLeft(const ByteString& bytes, int32_t n);
// n zero bytes; empty for n <= 0.
ByteString BlankBytes(int32_t n);
// n spaces; empty for n <= 0.
Text BlankText(int32_t n);
// The bitwise or of two 32-bit values.
int32_t BitOr(int32_t a, int32_t b);

// The text's bytes, without a terminating zero.
ByteString ToBytes(const Text& text);
// The bytes before the first zero byte.
Text ToText(const ByteString& bytes);
// Decimal, with a leading "-" when negative ("%d").
Text ToText(int32_t number);
// "真" for true, "假" for false.
Text ToText(bool truth);
// Reads a decimal number at the start of the text (full-width forms count as ASCII); 0 when
// the text does not begin with one.
double ToNumber(const Text& text);

}  // namespace quorvel
