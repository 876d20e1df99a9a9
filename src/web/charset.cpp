#include "web/charset.h"

#include <algorithm>
#include <bit>
#include <string>

#include "base/byte_ops.h"
#include "base/text_ops.h"
#include "platform/codepage.h"

namespace quorvel {
namespace {

static_assert(std::endian::native == std::endian::little,
              "wide texts are kept as little-endian UTF-16 bytes");

constexpr uint32_t kBig5 = 950;
constexpr uint32_t kGbk = 936;

// The bytes of a wide text as UTF-16 units: a std::string's storage is aligned for them.
char16_t* Units(ByteString& wide) { return reinterpret_cast<char16_t*>(wide.mutable_str().data()); }
const char16_t* Units(const ByteString& wide) {
  return reinterpret_cast<const char16_t*>(wide.data());
}

// Whether the last whole unit is the terminating zero, so that reading up to it stays inside.
bool EndsInZeroUnit(const ByteString& wide) {
  int32_t units = BytesLength(wide) / 2;
  return units > 0 && Units(wide)[units - 1] == 0;
}

// A buffer of n spaces (BlankText's bytes, made in place: pages run to megabytes) to encode
// into; what is not written stays spaces.
ByteString SpaceBuffer(int32_t n) {
  return ByteString(std::string(static_cast<size_t>(std::max(n, 0)), ' '));
}

}  // namespace

ByteString DecodeToWide(const Text& text, int32_t code_page, bool code_page_given) {
  uint32_t page = code_page_given ? static_cast<uint32_t>(code_page) : platform::CP_UTF8;
  int units = platform::MultiByteToWideChar(page, 0, text.c_str(), -1, nullptr, 0);
  ByteString wide = BlankBytes(units * 2);
  if (units > 0) platform::MultiByteToWideChar(page, 0, text.c_str(), -1, Units(wide), units);
  return wide;
}

Text EncodeFromWide(const ByteString& wide, int32_t code_page, bool code_page_given) {
  uint32_t page = code_page_given ? static_cast<uint32_t>(code_page) : platform::CP_ACP;
  if (!EndsInZeroUnit(wide)) {
    // Not made by DecodeToWide: read its whole units, then stop.
    ByteString terminated = ConcatBytes(BytesLeft(wide, BytesLength(wide) / 2 * 2), BlankBytes(2));
    return EncodeFromWide(terminated, code_page, code_page_given);
  }
  int size = platform::WideCharToMultiByte(page, 0, Units(wide), -1, nullptr, 0, nullptr, nullptr);
  ByteString buffer = SpaceBuffer(size * 2);
  if (size > 0) {
    platform::WideCharToMultiByte(page, 0, Units(wide), -1, buffer.mutable_str().data(), size * 2,
                                  nullptr, nullptr);
  }
  return ToText(buffer);
}

Text Big5ToAnsi(const Text& text) {
  ByteString wide = DecodeToWide(text, kBig5, true);
  int units = BytesLength(wide) / 2;
  // No default character: one that GBK cannot hold becomes "?" rather than a zero byte, which
  // would cut the rest of the page off.
  int size =
      platform::WideCharToMultiByte(kGbk, 0, Units(wide), units, nullptr, 0, nullptr, nullptr);
  ByteString buffer = SpaceBuffer(size);
  if (size > 0) {
    platform::WideCharToMultiByte(kGbk, 0, Units(wide), units, buffer.mutable_str().data(), size,
                                  nullptr, nullptr);
  }
  return ToText(buffer);
}

Text ToSimplified(const Text& text) {
  int32_t length = TextLength(text);
  ByteString buffer = SpaceBuffer(length);
  // The mapping writes no terminating zero: the buffer ends the text. Simplified characters
  // keep the width of traditional ones, so the result fills the buffer; a shorter result would
  // leave spaces behind it, and one that does not fit leaves the buffer as it was.
  platform::LCMapStringA(platform::kLocaleChinesePrc, platform::LCMAP_SIMPLIFIED_CHINESE,
                         text.c_str(), length, buffer.mutable_str().data(), length);
  return ToText(buffer);
}

Text Utf8ToAnsi(const Text& text) {
  return EncodeFromWide(DecodeToWide(text, 0, false), kGbk, true);
}

Text Big5ToSimplified(const Text& text) { return ToSimplified(Big5ToAnsi(text)); }

}  // namespace quorvel
