#pragma once

// The disk, profile and process services that the handlers call. Paths are texts in code page
// 936; this platform's separator is kPathSeparator.

#include <cstdint>
#include <initializer_list>

#include "base/text.h"

namespace quorvel {

// The directory of the program's own executable, without a trailing separator.
Text RunDirectory();
// True when an entry of that path exists (a directory counts).
bool FileExists(const Text& path);
// Replaces (or creates) the file with each byte string in order, atomically: no other process
// ever sees it half written. False on any failure.
bool WriteBytesToFile(const Text& path, std::initializer_list<ByteString> parts);
// Sets the DOS attributes (masked with 0x27: read-only 1, hidden 2, system 4, archive 0x20).
bool SetAttributes(const Text& path, int32_t attributes);
// One value of a profile file; the default (or empty) when the file, section or key is missing.
// A value is cut to 10239 bytes.
Text ReadIniValue(const Text& file, const Text& section, const Text& key,
                  const Text& default_value = {});
// Milliseconds since an arbitrary start; wraps to 0 after about 49.7 days.
uint32_t TickCount();
// Opens the address in the user's default browser; reports nothing.
void OpenAddress(const Text& address);

}  // namespace quorvel
