#include "platform/codepage_fast.h"

#include <unicode/ucnv.h>

#include <cstring>
#include <memory>
#include <vector>

namespace quorvel::platform::codepage_internal {
namespace {

constexpr uint64_t kHighBits = 0x8080808080808080ull;

// The two ways the output goes: only counted, or written into a buffer while it has room.
// Separate types, so that the counting loop carries no buffer checks.
template <typename Unit>
class Counter {
 public:
  bool Put(Unit /*unit*/) {
    ++count_;
    return true;
  }
  int64_t count() const { return count_; }

 private:
  int64_t count_ = 0;
};

template <typename Unit>
class Writer {
 public:
  Writer(Unit* dst, int64_t capacity) : begin_(dst), next_(dst), end_(dst + capacity) {}
  bool Put(Unit unit) {
    if (next_ == end_) return false;
    *next_++ = unit;
    return true;
  }
  int64_t count() const { return next_ - begin_; }

 private:
  Unit* begin_;
  Unit* next_;
  Unit* end_;
};

// Whether the eight bytes at s are all ASCII.
inline bool IsAsciiWord(const unsigned char* s) {
  uint64_t word;
  std::memcpy(&word, s, sizeof word);
  return (word & kHighBits) == 0;
}

inline bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The code point of the well-formed sequence at s[0..length), whose lead byte is 0x80 or more,
// with the sequence's length; -1 when it is ill-formed (Unicode's table of well-formed byte
// sequences: no overlong forms, no surrogates, nothing above U+10FFFF, nothing cut short).
struct Decoded {
  int32_t code_point;
  int length;
};

inline Decoded DecodeSequence(const unsigned char* s, int64_t length) {
  unsigned char lead = s[0];
  if (lead >= 0xE0 && lead <= 0xEF) {  // most of a Chinese page
    if (length < 3 || !IsContinuation(s[1]) || !IsContinuation(s[2])) return {-1, 0};
    int32_t c = (lead & 0x0F) << 12 | (s[1] & 0x3F) << 6 | (s[2] & 0x3F);
    return {c < 0x800 || (c >= 0xD800 && c <= 0xDFFF) ? -1 : c, 3};
  }
  if (lead >= 0xC2 && lead <= 0xDF) {
    if (length < 2 || !IsContinuation(s[1])) return {-1, 0};
    return {(lead & 0x1F) << 6 | (s[1] & 0x3F), 2};
  }
  if (lead >= 0xF0 && lead <= 0xF4) {
    if (length < 4 || !IsContinuation(s[1]) || !IsContinuation(s[2]) || !IsContinuation(s[3])) {
      return {-1, 0};
    }
    int32_t c = (lead & 0x07) << 18 | (s[1] & 0x3F) << 12 | (s[2] & 0x3F) << 6 | (s[3] & 0x3F);
    return {c < 0x10000 || c > 0x10FFFF ? -1 : c, 4};
  }
  return {-1, 0};
}

// GBK bytes of every BMP code unit: one byte (0x00-0xFF), two (lead << 8 | trail, always
// 0x8140 or more), or kUnmapped. Built once from ICU's converter, so both paths agree.
constexpr uint16_t kUnmapped = 0xFFFF;

std::unique_ptr<std::vector<uint16_t>> BuildGbkTable() {
  UErrorCode status = U_ZERO_ERROR;
  UConverter* converter = ucnv_open("GBK", &status);
  if (U_FAILURE(status)) return nullptr;
  ucnv_setFromUCallBack(converter, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
  auto table = std::make_unique<std::vector<uint16_t>>(0x10000, kUnmapped);
  for (uint32_t unit = 0; unit < 0x10000; ++unit) {
    if (unit >= 0xD800 && unit <= 0xDFFF) continue;
    UChar source = static_cast<UChar>(unit);
    char bytes[4];
    status = U_ZERO_ERROR;
    int32_t n = ucnv_fromUChars(converter, bytes, sizeof bytes, &source, 1, &status);
    if (U_FAILURE(status)) continue;
    auto first = static_cast<unsigned char>(bytes[0]);
    if (n == 1) (*table)[unit] = first;
    if (n == 2)
      (*table)[unit] = static_cast<uint16_t>(first << 8 | static_cast<unsigned char>(bytes[1]));
  }
  ucnv_close(converter);
  return table;
}

const std::vector<uint16_t>* GbkTable() {
  // Never destroyed: a worker thread may still convert while the program exits.
  static const std::vector<uint16_t>* const table = BuildGbkTable().release();
  return table;
}

template <typename Out>
int64_t DecodeUtf8Into(const unsigned char* s, int64_t length, Out& out) {
  int64_t i = 0;
  while (i < length) {
    if (i + 8 <= length && IsAsciiWord(s + i)) {
      for (int k = 0; k < 8; ++k) {
        if (!out.Put(s[i + k])) return kNoRoom;
      }
      i += 8;
      continue;
    }
    if (s[i] < 0x80) {
      if (!out.Put(s[i++])) return kNoRoom;
      continue;
    }
    auto [code_point, sequence] = DecodeSequence(s + i, length - i);
    if (code_point < 0) return kNotHandled;
    i += sequence;
    bool fits = code_point < 0x10000
                    ? out.Put(static_cast<char16_t>(code_point))
                    : out.Put(static_cast<char16_t>(0xD7C0 + (code_point >> 10))) &&
                          out.Put(static_cast<char16_t>(0xDC00 | (code_point & 0x3FF)));
    if (!fits) return kNoRoom;
  }
  return out.count();
}

template <typename Out>
int64_t EncodeGbkInto(const std::vector<uint16_t>& table, const char16_t* src, int64_t units,
                      std::string_view substitute, bool* used, Out& out) {
  const bool up_to_zero = units < 0;
  for (int64_t i = 0; up_to_zero || i < units; ++i) {
    char16_t unit = src[i];
    if (unit < 0x80) {
      if (!out.Put(static_cast<char>(unit))) return kNoRoom;
      if (unit == 0 && up_to_zero) break;
      continue;
    }
    uint16_t bytes = table[unit];
    if (bytes == kUnmapped) {
      // A surrogate pair stands for one character outside the BMP, which GBK lacks. Up to the
      // zero unit, the unit after a non-zero one is always there.
      bool has_next = up_to_zero || i + 1 < units;
      if (unit >= 0xD800 && unit <= 0xDBFF && has_next && src[i + 1] >= 0xDC00 &&
          src[i + 1] <= 0xDFFF) {
        ++i;
      }
      *used = true;
      for (char c : substitute) {
        if (!out.Put(c)) return kNoRoom;
      }
      continue;
    }
    bool fits = bytes <= 0xFF ? out.Put(static_cast<char>(bytes))
                              : out.Put(static_cast<char>(bytes >> 8)) &&
                                    out.Put(static_cast<char>(bytes & 0xFF));
    if (!fits) return kNoRoom;
  }
  return out.count();
}

}  // namespace

int64_t DecodeWellFormedUtf8(const char* src, int64_t length, char16_t* dst, int64_t dst_units) {
  const auto* s = reinterpret_cast<const unsigned char*>(src);
  if (dst == nullptr) {
    Counter<char16_t> counter;
    return DecodeUtf8Into(s, length, counter);
  }
  Writer<char16_t> writer(dst, dst_units);
  return DecodeUtf8Into(s, length, writer);
}

int64_t EncodeGbk(const char16_t* src, int64_t units, char* dst, int64_t dst_size,
                  std::string_view substitute, bool* used) {
  const std::vector<uint16_t>* table = GbkTable();
  if (table == nullptr) return kNotHandled;
  if (dst == nullptr) {
    Counter<char> counter;
    return EncodeGbkInto(*table, src, units, substitute, used, counter);
  }
  Writer<char> writer(dst, dst_size);
  return EncodeGbkInto(*table, src, units, substitute, used, writer);
}

}  // namespace quorvel::platform::codepage_internal
