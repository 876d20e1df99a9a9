// LCMapStringA for locale 2052 with LCMAP_SIMPLIFIED_CHINESE: GBK text to UTF-16, ICU's
// "Traditional-Simplified" transliterator, and back to GBK.

#include <unicode/utrans.h>

#include <cstring>
#include <mutex>
#include <string>

#include "platform/codepage.h"

namespace quorvel::platform {
namespace {

constexpr uint32_t kGbk = 936;

// The transliterator, built once on first use: building it compiles a large rule set. ICU
// does not promise that one transliterator may serve several threads at once, so its use is
// serialised.
class Simplifier {
 public:
  Simplifier() {
    UErrorCode status = U_ZERO_ERROR;
    transliterator_ =
        utrans_openU(u"Traditional-Simplified", -1, UTRANS_FORWARD, nullptr, 0, nullptr, &status);
    if (U_FAILURE(status)) transliterator_ = nullptr;
  }

  // Maps the text in place; false when ICU fails (the text is then as it was).
  bool Map(std::u16string& text) {
    if (transliterator_ == nullptr) return false;
    std::lock_guard lock(mutex_);
    for (size_t capacity = text.size() * 2 + 16;; capacity *= 2) {
      std::u16string buffer = text;
      buffer.resize(capacity);
      auto length = static_cast<int32_t>(text.size());
      int32_t limit = length;
      UErrorCode status = U_ZERO_ERROR;
      utrans_transUChars(transliterator_, reinterpret_cast<UChar*>(buffer.data()), &length,
                         static_cast<int32_t>(capacity), 0, &limit, &status);
      if (status == U_BUFFER_OVERFLOW_ERROR) continue;
      if (U_FAILURE(status)) return false;
      buffer.resize(static_cast<size_t>(length));
      text = std::move(buffer);
      return true;
    }
  }

 private:
  UTransliterator* transliterator_ = nullptr;
  std::mutex mutex_;
};

Simplifier& SharedSimplifier() {
  // Never destroyed: a worker thread may still use it while the program exits.
  static Simplifier* const simplifier = new Simplifier();
  return *simplifier;
}

std::u16string DecodeGbk(const char* src, int length) {
  int units = MultiByteToWideChar(kGbk, 0, src, length, nullptr, 0);
  std::u16string wide(static_cast<size_t>(units), u'\0');
  if (units > 0) MultiByteToWideChar(kGbk, 0, src, length, wide.data(), units);
  return wide;
}

std::string EncodeGbk(const std::u16string& wide) {
  if (wide.empty()) return {};
  auto units = static_cast<int>(wide.size());
  int size = WideCharToMultiByte(kGbk, 0, wide.data(), units, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(size), '\0');
  if (size > 0)
    WideCharToMultiByte(kGbk, 0, wide.data(), units, bytes.data(), size, nullptr, nullptr);
  return bytes;
}

}  // namespace

int LCMapStringA(uint32_t locale, uint32_t flags, const char* src, int src_len, char* dst,
                 int dst_len) {
  if (locale != kLocaleChinesePrc || flags != LCMAP_SIMPLIFIED_CHINESE) return 0;
  if (src == nullptr || src_len == 0 || src_len < -1 || dst_len < 0 ||
      (dst == nullptr && dst_len != 0)) {
    return 0;
  }
  std::u16string wide = DecodeGbk(src, src_len);
  if (wide.empty() || !SharedSimplifier().Map(wide)) return 0;
  std::string mapped = EncodeGbk(wide);
  if (mapped.empty()) return 0;
  auto size = static_cast<int>(mapped.size());
  if (dst_len == 0) return size;
  if (size > dst_len) return 0;
  std::memcpy(dst, mapped.data(), mapped.size());
  return size;
}

}  // namespace quorvel::platform
