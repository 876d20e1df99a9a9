#pragma once

// Profile (INI) files read and written as the Windows profile functions do, byte for byte.

#include <cstdint>

namespace quorvel::platform {

// Copies the value of key in section into buffer (at most size - 1 bytes and a zero) and
// returns the number of bytes copied. Missing file, section or key: the default without its
// trailing spaces, or the empty text when default_value is null.
uint32_t GetPrivateProfileStringA(const char* section, const char* key, const char* default_value,
                                  char* buffer, uint32_t size, const char* file);

// Writes key=value into section, creating the file or section as needed and keeping every
// other byte. The file is replaced atomically; a failed write leaves the old file intact.
bool WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                const char* file);

}  // namespace quorvel::platform
