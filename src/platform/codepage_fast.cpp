#include "platform/codepage_fast.h"

#include <unicode/ucnv.h>

#include <cstring>
#include <memory>
#include <vector>

namespace quorvel::platform::codepage_internal {
namespace {

constexpr uint64_t kHighBits = 0x8080808080808080ull;

// Where the output goes: into dst while it has room, or only counted when dst is null.
template <typename Unit>
class Sink {
 public:
  Sink(Unit* dst, int64_t capacity) : dst_(dst), capacity_(capacity) {}
  bool Put(Unit unit) {
    if (dst_ != nullptr) {
      if (count_ >= capacity_) return false;
      dst_[count_] = unit;
    }
    ++count_;
    return true;
  }
  int64_t count() const { return count_; }

 private:
  Unit* dst_;
  int64_t capacity_;
  int64_t count_ = 0;
};

// The code point of the well-formed sequence of `length` bytes at s, or -1 (Unicode's table of
// well-formed byte sequences: no overlong forms, no surrogates, nothing above U+10FFFF).
int32_t WellFormedCodePoint(const unsigned char* s, int length) {
  int32_t code_point = s[0] & (0x7F >> length);
  for (int k = 1; k < length; ++k) {
    if ((s[k] & 0xC0) != 0x80) return -1;
    code_point = (code_point << 6) | (s[k] & 0x3F);
  }
  bool bad =
      (length == 3 && (code_point < 0x800 || (code_point >= 0xD800 && code_point <= 0xDFFF))) ||
      (length == 4 && (code_point < 0x10000 || code_point > 0x10FFFF));
  return bad ? -1 : code_point;
}

int SequenceLength(unsigned char lead) {
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
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

}  // namespace

int64_t DecodeWellFormedUtf8(const char* src, int64_t length, char16_t* dst, int64_t dst_units) {
  const auto* s = reinterpret_cast<const unsigned char*>(src);
  Sink<char16_t> out(dst, dst_units);
  int64_t i = 0;
  while (i < length) {
    uint64_t word;
    if (i + 8 <= length && (std::memcpy(&word, s + i, 8), (word & kHighBits) == 0)) {
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
    int sequence = SequenceLength(s[i]);
    if (sequence == 0 || i + sequence > length) return kNotHandled;
    int32_t code_point = WellFormedCodePoint(s + i, sequence);
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

int64_t EncodeGbk(const char16_t* src, int64_t units, char* dst, int64_t dst_size,
                  std::string_view substitute, bool* used) {
  const std::vector<uint16_t>* table = GbkTable();
  if (table == nullptr) return kNotHandled;
  Sink<char> out(dst, dst_size);
  for (int64_t i = 0; i < units; ++i) {
    char16_t unit = src[i];
    uint16_t bytes = unit < 0x80 ? unit : (*table)[unit];
    if (bytes == kUnmapped) {
      // A surrogate pair stands for one character outside the BMP, which GBK lacks.
      if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units && src[i + 1] >= 0xDC00 &&
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

}  // namespace quorvel::platform::codepage_internal
