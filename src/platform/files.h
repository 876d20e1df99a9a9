#pragma once

// Disk files on POSIX.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel::platform {

// True when the path names an existing entry of any kind.
bool PathExists(const char* path);
// Creates or truncates the file and writes the parts in order; false on any failure.
bool WriteWholeFile(const char* path, const std::vector<std::string_view>& parts);
// Keeps the DOS attributes in the extended attribute user.DOSATTRIB, as Samba does.
bool SetFileAttributesA(const char* path, uint32_t attributes);
// Reads them back; false when the file has none.
bool GetFileAttributesA(const char* path, uint32_t* attributes);
// The full path of the running executable (/proc/self/exe).
std::string ProgramPath();

}  // namespace quorvel::platform
