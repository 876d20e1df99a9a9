#include "platform/codepage.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>

#include <climits>
#include <cstring>
#include <iterator>
#include <memory>
#include <string_view>

#include "platform/codepage_fast.h"

namespace quorvel::platform {
namespace {

using codepage_internal::kNoRoom;
using codepage_internal::kNotHandled;

constexpr uint32_t kGbk = 936;
constexpr uint32_t kBig5 = 950;
constexpr int kScratchUnits = 8192;

struct ConverterCloser {
  void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

// The code pages we serve, by ICU's unambiguous names ("windows-936" warns of an ambiguous
// alias, and "cp950" is another table with another substitution byte).
struct CodePageName {
  uint32_t code_page;
  const char* icu_name;
};
constexpr CodePageName kCodePages[] = {{CP_UTF8, "UTF-8"}, {kGbk, "GBK"}, {kBig5, "Big5"}};

// ICU's converter for a code page, opened once per thread and reset for each use: ICU
// converters keep state and must not be shared between threads. Null for a code page we do
// not serve.
UConverter* ConverterFor(uint32_t code_page) {
  thread_local ConverterPtr converters[std::size(kCodePages)];
  if (code_page == CP_ACP) code_page = kGbk;
  for (size_t i = 0; i < std::size(kCodePages); ++i) {
    if (kCodePages[i].code_page != code_page) continue;
    ConverterPtr& converter = converters[i];
    if (!converter) {
      UErrorCode status = U_ZERO_ERROR;
      converter.reset(ucnv_open(kCodePages[i].icu_name, &status));
      if (U_FAILURE(status)) converter.reset();
    }
    if (converter) ucnv_reset(converter.get());
    return converter.get();
  }
  return nullptr;
}

// Decoding: every invalid or unmapped byte sequence becomes one U+FFFD, as the Windows
// function does without MB_ERR_INVALID_CHARS. ICU reports a maximal invalid subsequence at a
// time, so that is also what one U+FFFD stands for.
void ReplaceInvalidBytes(const void* /*context*/, UConverterToUnicodeArgs* args,
                         const char* /*bytes*/, int32_t /*length*/, UConverterCallbackReason reason,
                         UErrorCode* status) {
  if (reason > UCNV_IRREGULAR) return;  // reset, close, clone: nothing to write
  static const UChar kReplacement = 0xFFFD;
  *status = U_ZERO_ERROR;
  ucnv_cbToUWriteUChars(args, &kReplacement, 1, 0, status);
}

// Encoding: a character the code page cannot hold is written as the default character.
struct Substitute {
  const char* bytes;
  int32_t length;
  bool used;
};

void WriteDefaultCharacter(const void* context, UConverterFromUnicodeArgs* args,
                           const UChar* /*units*/, int32_t /*length*/, UChar32 /*code_point*/,
                           UConverterCallbackReason reason, UErrorCode* status) {
  if (reason > UCNV_IRREGULAR) return;
  auto* substitute = static_cast<Substitute*>(const_cast<void*>(context));
  substitute->used = true;
  *status = U_ZERO_ERROR;
  ucnv_cbFromUWriteBytes(args, substitute->bytes, substitute->length, 0, status);
}

// Runs one whole conversion into dst, or only counts its output when dst is null.
// Returns the count, or -1 when dst is too small or ICU fails.
template <typename Out, typename In, typename Step>
int64_t RunConversion(const In* src, int64_t src_count, Out* dst, int64_t dst_count, Step step) {
  const In* source = src;
  const In* source_end = src + src_count;
  UErrorCode status = U_ZERO_ERROR;
  if (dst != nullptr) {
    Out* target = dst;
    step(&target, dst + dst_count, &source, source_end, &status);
    return U_FAILURE(status) ? -1 : target - dst;
  }
  Out scratch[kScratchUnits];
  int64_t count = 0;
  do {
    status = U_ZERO_ERROR;
    Out* target = scratch;
    step(&target, scratch + kScratchUnits, &source, source_end, &status);
    count += target - scratch;
  } while (status == U_BUFFER_OVERFLOW_ERROR);
  return U_FAILURE(status) ? -1 : count;
}

// The Windows result: the count, or 0 for a failure or a count an int cannot hold.
int CountOrZero(int64_t count) {
  return count <= 0 || count > INT_MAX ? 0 : static_cast<int>(count);
}

template <typename Unit>
int64_t UnitsUpToZero(const Unit* text) {
  int64_t n = 0;
  while (text[n] != 0) ++n;
  return n + 1;
}

bool BadArguments(uint32_t flags, const void* src, int src_len, const void* dst, int dst_size) {
  return flags != 0 || src == nullptr || src_len == 0 || src_len < -1 || dst_size < 0 ||
         (dst == nullptr && dst_size != 0);
}

// The default character as bytes: one byte, or two when it starts with a lead byte.
Substitute SubstituteFor(uint32_t code_page, const char* default_char) {
  if (code_page == CP_UTF8) return {"\xEF\xBF\xBD", 3, false};
  if (default_char == nullptr) return {"?", 1, false};
  bool two_bytes = static_cast<unsigned char>(default_char[0]) >= 0x80 && default_char[1] != 0;
  return {default_char, two_bytes ? 2 : 1, false};
}

// The general path: any code page we serve, through ICU's converter.
int64_t DecodeWithIcu(uint32_t code_page, const char* src, int64_t length, char16_t* dst,
                      int64_t dst_units) {
  UConverter* converter = ConverterFor(code_page);
  if (converter == nullptr) return -1;
  UErrorCode status = U_ZERO_ERROR;
  ucnv_setToUCallBack(converter, ReplaceInvalidBytes, nullptr, nullptr, nullptr, &status);
  if (U_FAILURE(status)) return -1;
  auto step = [converter](UChar** target, const UChar* target_end, const char** source,
                          const char* source_end, UErrorCode* error) {
    ucnv_toUnicode(converter, target, target_end, source, source_end, nullptr, true, error);
  };
  return RunConversion(src, length, reinterpret_cast<UChar*>(dst), dst_units, step);
}

int64_t EncodeWithIcu(uint32_t code_page, const char16_t* src, int64_t length, char* dst,
                      int64_t dst_size, Substitute& substitute) {
  UConverter* converter = ConverterFor(code_page);
  if (converter == nullptr) return -1;
  UErrorCode status = U_ZERO_ERROR;
  ucnv_setFromUCallBack(converter, WriteDefaultCharacter, &substitute, nullptr, nullptr, &status);
  if (U_FAILURE(status)) return -1;
  auto step = [converter](char** target, const char* target_end, const UChar** source,
                          const UChar* source_end, UErrorCode* error) {
    ucnv_fromUnicode(converter, target, target_end, source, source_end, nullptr, true, error);
  };
  int64_t count = RunConversion(reinterpret_cast<const UChar*>(src), length, dst, dst_size, step);
  // The callback's context lives in the caller's frame: take it off the cached converter.
  status = U_ZERO_ERROR;
  ucnv_setFromUCallBack(converter, UCNV_FROM_U_CALLBACK_SUBSTITUTE, nullptr, nullptr, nullptr,
                        &status);
  return count;
}

}  // namespace

int MultiByteToWideChar(uint32_t code_page, uint32_t flags, const char* src, int src_len,
                        char16_t* dst, int dst_units) {
  if (BadArguments(flags, src, src_len, dst, dst_units)) return 0;
  int64_t length = src_len == -1 ? static_cast<int64_t>(std::strlen(src)) + 1 : src_len;
  if (code_page == CP_UTF8) {
    // Well-formed UTF-8, the usual page, skips ICU; ICU replaces what is ill-formed.
    int64_t count = codepage_internal::DecodeWellFormedUtf8(src, length, dst, dst_units);
    if (count != kNotHandled) return CountOrZero(count);
  }
  return CountOrZero(DecodeWithIcu(code_page, src, length, dst, dst_units));
}

int WideCharToMultiByte(uint32_t code_page, uint32_t flags, const char16_t* src, int src_units,
                        char* dst, int dst_size, const char* default_char, bool* used_default) {
  if (BadArguments(flags, src, src_units, dst, dst_size)) return 0;
  if (code_page == CP_UTF8 && (default_char != nullptr || used_default != nullptr)) return 0;
  Substitute substitute = SubstituteFor(code_page, default_char);
  int64_t count = kNotHandled;
  if (code_page == kGbk || code_page == CP_ACP) {
    // GBK, the usual target, skips ICU, and finds the zero unit as it goes.
    std::string_view bytes(substitute.bytes, static_cast<size_t>(substitute.length));
    count = codepage_internal::EncodeGbk(src, src_units, dst, dst_size, bytes, &substitute.used);
  }
  if (count == kNotHandled) {
    int64_t length = src_units == -1 ? UnitsUpToZero(src) : src_units;
    count = EncodeWithIcu(code_page, src, length, dst, dst_size, substitute);
  }
  if (used_default != nullptr) *used_default = substitute.used;
  return CountOrZero(count);
}

}  // namespace quorvel::platform
