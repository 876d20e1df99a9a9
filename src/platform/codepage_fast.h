#pragma once

// Fast paths of the code-page stand-in for the conversion that matters for speed, a UTF-8
// page turned into GBK. They give exactly what ICU gives: a well-formed UTF-8 decoder that
// hands anything ill-formed back to ICU, and a GBK encoder that looks each character up in a
// table built once from ICU's GBK converter. Internal to src/platform/.

#include <cstdint>
#include <string_view>

namespace quorvel::platform::codepage_internal {

// The conversion ran into the end of the output buffer.
inline constexpr int64_t kNoRoom = -1;
// The fast path does not take this input: convert it with ICU.
inline constexpr int64_t kNotHandled = -2;

// Decodes well-formed UTF-8 into UTF-16 units, or only counts them when dst is null.
// kNotHandled at the first ill-formed sequence.
int64_t DecodeWellFormedUtf8(const char* src, int64_t length, char16_t* dst, int64_t dst_units);

// Encodes UTF-16 units into GBK (units < 0: up to and including the first zero unit), or only
// counts the bytes when dst is null. A character GBK
// cannot hold, a lone surrogate and a surrogate pair each become the substitute bytes once, and
// set *used. kNotHandled when the table cannot be built.
int64_t EncodeGbk(const char16_t* src, int64_t units, char* dst, int64_t dst_size,
                  std::string_view substitute, bool* used);

}  // namespace quorvel::platform::codepage_internal
