#pragma once

// Disk files on POSIX.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel::platform {

// True when the path names an existing entry of any kind.
bool PathExists(const char* path);
// Replaces the file (or creates it, mode 0644) with the parts in order, atomically as
// ReplaceFileAtomically does: another process sees the old file, or none, or the whole new one,
// never a file half written. False on any failure.
bool WriteWholeFile(const char* path, const std::vector<std::string_view>& parts);
// Keeps the DOS attributes in the extended attribute user.DOSATTRIB, as Samba does.
bool SetFileAttributesA(const char* path, uint32_t attributes);
// Reads them back; false when the file has none.
bool GetFileAttributesA(const char* path, uint32_t* attributes);
// The directory part of a path, without a trailing separator: "." for a bare name, "/" at the
// root.
std::string DirectoryOf(const std::string& path);
// The full path of the running executable (/proc/self/exe).
std::string ProgramPath();

}  // namespace quorvel::platform

namespace quorvel::platform {

// Makes ProgramPath() answer `path` (empty: the real path again), so that tests can give the
// program a directory of their own.
void SetProgramPathForTesting(const std::string& path);

}  // namespace quorvel::platform

namespace quorvel::platform {

// Replaces the file's content atomically: a temporary file in the same directory (the target's
// name, ".tmp-" and six letters or digits), flushed to disk, renamed over the old one. An
// existing file keeps its mode and owner; a new one gets new_file_mode. On any failure the old
// file stays as it was, the temporary file is removed and the result is false. After a success,
// temporary files of the same target that are older than a minute (left by a writer that was
// killed before its rename) are removed too.
bool ReplaceFileAtomically(const char* path, std::string_view bytes, uint32_t new_file_mode);
bool ReplaceFileAtomically(const char* path, const std::vector<std::string_view>& parts,
                           uint32_t new_file_mode);

// Runs `hook` after the temporary file is written and before the rename (null: nothing).
// For tests that interrupt a write there.
void SetBeforeRenameHookForTesting(void (*hook)());

}  // namespace quorvel::platform
