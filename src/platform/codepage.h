#pragma once

// Code-page conversions shaped like the Windows functions of the same names, for the code
// pages this program meets: UTF-8 (65001), GBK (936, also the system code page 0) and Big5
// (950), and the traditional-to-simplified mapping of locale 2052. Built on ICU.
//
// Counts follow the Windows functions: a source length of -1 means "up to and including the
// terminating zero", so the count includes it; with no output buffer (size 0) the result is the
// count the conversion needs; a result of 0 means failure (a bad argument, an unknown code page
// or a buffer too small, which may then hold part of the output). Every function may be called
// from any thread.

#include <cstdint>

namespace quorvel::platform {

// The system code page; on this system it is GBK (936).
inline constexpr uint32_t CP_ACP = 0;
inline constexpr uint32_t CP_UTF8 = 65001;
// Chinese as used in the People's Republic of China.
inline constexpr uint32_t kLocaleChinesePrc = 2052;
inline constexpr uint32_t LCMAP_SIMPLIFIED_CHINESE = 0x02000000;

// Decodes src_len bytes of src (-1: up to and including its zero) into UTF-16 units.
// Flags must be 0. Each maximal invalid byte sequence becomes one U+FFFD.
int MultiByteToWideChar(uint32_t code_page, uint32_t flags, const char* src, int src_len,
                        char16_t* dst, int dst_units);

// Encodes src_units UTF-16 units (-1: up to and including the zero unit) into the code page.
// Flags must be 0. A character the code page cannot hold (or a lone surrogate) becomes
// default_char (one character: two bytes when it starts with a byte of 0x80 or more), or "?"
// when none is given, and *used_default is then set to true. For UTF-8 both default_char and
// used_default must be null; a lone surrogate becomes U+FFFD there.
int WideCharToMultiByte(uint32_t code_page, uint32_t flags, const char16_t* src, int src_units,
                        char* dst, int dst_size, const char* default_char, bool* used_default);

// Maps src_len bytes of GBK text (-1: up to and including its zero) to simplified Chinese,
// character for character, and writes the GBK result into dst without adding a terminating
// zero. Only locale 2052 with LCMAP_SIMPLIFIED_CHINESE is served. A result longer than dst_len
// fails (0) and writes nothing.
int LCMapStringA(uint32_t locale, uint32_t flags, const char* src, int src_len, char* dst,
                 int dst_len);

}  // namespace quorvel::platform
