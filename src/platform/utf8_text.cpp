#include "platform/utf8_text.h"

#include <unicode/ucnv.h>

namespace quorvel::platform {

std::string GbkToUtf8(std::string_view gbk) {
  if (gbk.empty()) return {};
  // Each GBK byte becomes at most three UTF-8 bytes (a lone byte turns into U+FFFD).
  std::string out(gbk.size() * 3 + 1, '\0');
  UErrorCode status = U_ZERO_ERROR;
  int32_t n = ucnv_convert("UTF-8", "GBK", out.data(), static_cast<int32_t>(out.size()), gbk.data(),
                           static_cast<int32_t>(gbk.size()), &status);
  if (U_FAILURE(status)) return std::string(gbk);
  out.resize(static_cast<size_t>(n));
  return out;
}

}  // namespace quorvel::platform
