// The code-page stand-in on arbitrary input, against ICU's own converters: the fast UTF-8
// decoder and GBK encoder must give exactly what ICU gives; counts asked for must be the
// counts written; a buffer one short must fail; a GBK round trip is stable.
//
// Input: one mode byte, then the bytes (modes 0, 2, 3) or UTF-16 units (mode 1) to convert;
// at least one.

#include <unicode/ucnv.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "platform/codepage.h"

using namespace quorvel::platform;

namespace {

constexpr uint32_t kGbk = 936;

// ICU's conversion to UTF-16 with its default handling (U+FFFD for each bad sequence).
std::u16string IcuDecode(const char* name, std::string_view bytes) {
  UErrorCode status = U_ZERO_ERROR;
  UConverter* converter = ucnv_open(name, &status);
  std::u16string out(bytes.size() + 1, u'\0');
  const int32_t units = ucnv_toUChars(converter, reinterpret_cast<UChar*>(out.data()),
                                      static_cast<int32_t>(out.size()), bytes.data(),
                                      static_cast<int32_t>(bytes.size()), &status);
  ucnv_close(converter);
  FUZZ_CHECK(U_SUCCESS(status));
  out.resize(static_cast<size_t>(units));
  return out;
}

// Leaves the error in place, so the conversion stops at the first unit without a GBK form.
// (ICU's own UCNV_FROM_U_CALLBACK_STOP lets default-ignorable characters such as U+FEFF
// vanish; the stand-in gives them the default character like any other.)
void StopAtAnyUnmapped(const void*, UConverterFromUnicodeArgs*, const UChar*, int32_t, UChar32,
                       UConverterCallbackReason, UErrorCode*) {}

// ICU's GBK bytes, or false when some unit has no GBK form.
bool IcuEncodeGbk(std::u16string_view wide, std::string& out) {
  UErrorCode status = U_ZERO_ERROR;
  UConverter* converter = ucnv_open("GBK", &status);
  ucnv_setFromUCallBack(converter, StopAtAnyUnmapped, nullptr, nullptr, nullptr, &status);
  out.assign(wide.size() * 4 + 4, '\0');
  const int32_t size = ucnv_fromUChars(converter, out.data(), static_cast<int32_t>(out.size()),
                                       reinterpret_cast<const UChar*>(wide.data()),
                                       static_cast<int32_t>(wide.size()), &status);
  ucnv_close(converter);
  if (U_FAILURE(status)) return false;
  out.resize(static_cast<size_t>(size));
  return true;
}

// Decodes through the stand-in, checking the counting call and a buffer one short.
std::u16string Decode(uint32_t code_page, std::string_view bytes) {
  const int src = static_cast<int>(bytes.size());
  const int units = MultiByteToWideChar(code_page, 0, bytes.data(), src, nullptr, 0);
  FUZZ_CHECK(units > 0);
  std::u16string out(static_cast<size_t>(units), u'\0');
  FUZZ_CHECK(MultiByteToWideChar(code_page, 0, bytes.data(), src, out.data(), units) == units);
  if (units > 1) {
    std::u16string short_buffer(static_cast<size_t>(units - 1), u'\0');
    FUZZ_CHECK(
        MultiByteToWideChar(code_page, 0, bytes.data(), src, short_buffer.data(), units - 1) == 0);
  }
  return out;
}

// Encodes into GBK through the stand-in, with the same checks; "?" stands for what GBK lacks.
std::string EncodeGbk(std::u16string_view wide, bool& used_default) {
  const int src = static_cast<int>(wide.size());
  const int size = WideCharToMultiByte(kGbk, 0, wide.data(), src, nullptr, 0, nullptr, nullptr);
  FUZZ_CHECK(size > 0);
  std::string out(static_cast<size_t>(size), '\0');
  used_default = false;
  FUZZ_CHECK(WideCharToMultiByte(kGbk, 0, wide.data(), src, out.data(), size, nullptr,
                                 &used_default) == size);
  if (size > 1) {
    std::string short_buffer(static_cast<size_t>(size - 1), '\0');
    FUZZ_CHECK(WideCharToMultiByte(kGbk, 0, wide.data(), src, short_buffer.data(), size - 1,
                                   nullptr, nullptr) == 0);
  }
  return out;
}

void CheckUtf8(std::string_view bytes) {
  FUZZ_CHECK(Decode(CP_UTF8, bytes) == IcuDecode("UTF-8", bytes));
}

void CheckGbkEncoding(std::u16string_view wide) {
  bool used_default = false;
  const std::string ours = EncodeGbk(wide, used_default);
  std::string icu;
  if (IcuEncodeGbk(wide, icu)) {
    FUZZ_CHECK(!used_default);
    FUZZ_CHECK(ours == icu);
  } else {
    FUZZ_CHECK(used_default);
  }
}

void CheckGbkRoundTrip(std::string_view bytes) {
  const std::u16string wide = Decode(kGbk, bytes);
  FUZZ_CHECK(wide == IcuDecode("GBK", bytes));
  bool used_default = false;
  const std::string again = EncodeGbk(wide, used_default);
  if (!used_default) FUZZ_CHECK(Decode(kGbk, again) == wide);
}

void CheckSimplify(std::string_view bytes) {
  const int src = static_cast<int>(bytes.size());
  const int size =
      LCMapStringA(kLocaleChinesePrc, LCMAP_SIMPLIFIED_CHINESE, bytes.data(), src, nullptr, 0);
  if (size <= 0) return;
  std::string out(static_cast<size_t>(size), '\0');
  FUZZ_CHECK(LCMapStringA(kLocaleChinesePrc, LCMAP_SIMPLIFIED_CHINESE, bytes.data(), src,
                          out.data(), size) == size);
  if (size > 1) {  // a size of 0 asks for the count
    std::string short_buffer(static_cast<size_t>(size - 1), '\0');
    FUZZ_CHECK(LCMapStringA(kLocaleChinesePrc, LCMAP_SIMPLIFIED_CHINESE, bytes.data(), src,
                            short_buffer.data(), size - 1) == 0);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  switch (data[0] % 4) {
    case 0:
      CheckUtf8(bytes);
      break;
    case 1:
      if (bytes.size() >= 2) {                         // a length of 0 is refused as a bad argument
        std::u16string wide(bytes.size() / 2, u'\0');  // copied: the input is not aligned
        std::memcpy(wide.data(), bytes.data(), wide.size() * 2);
        CheckGbkEncoding(wide);
      }
      break;
    case 2:
      CheckGbkRoundTrip(bytes);
      break;
    default:
      CheckSimplify(bytes);
      break;
  }
  return 0;
}
