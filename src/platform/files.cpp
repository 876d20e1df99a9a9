#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <mutex>

namespace quorvel::platform {
namespace {

constexpr const char* kDosAttributeName = "user.DOSATTRIB";

std::mutex g_program_path_mutex;
std::string g_program_path_override;

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

}  // namespace

bool PathExists(const char* path) {
  struct stat info;
  return path != nullptr && *path != '\0' && ::lstat(path, &info) == 0;
}

bool WriteWholeFile(const char* path, const std::vector<std::string_view>& parts) {
  // Atomic, so that a second start of the program never loads a library this one is still
  // writing.
  return ReplaceFileAtomically(path, parts, 0644);
}

bool SetFileAttributesA(const char* path, uint32_t attributes) {
  // Samba's plain form: the attributes as "0x" and hex digits, with the terminating zero.
  char value[16];
  const int n = std::snprintf(value, sizeof value, "0x%x", attributes);
  return ::setxattr(path, kDosAttributeName, value, static_cast<size_t>(n) + 1, 0) == 0;
}

bool GetFileAttributesA(const char* path, uint32_t* attributes) {
  char value[32] = {};
  const ssize_t n = ::getxattr(path, kDosAttributeName, value, sizeof value - 1);
  if (n <= 0) return false;
  char* end = nullptr;
  const unsigned long parsed = std::strtoul(value, &end, 16);
  if (end == value) return false;
  *attributes = static_cast<uint32_t>(parsed);
  return true;
}

std::string DirectoryOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string ProgramPath() {
  {
    std::lock_guard lock(g_program_path_mutex);
    if (!g_program_path_override.empty()) return g_program_path_override;
  }
  std::string path(4096, '\0');
  const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size());
  if (n <= 0) return {};
  path.resize(static_cast<size_t>(n));
  return path;
}

void SetProgramPathForTesting(const std::string& path) {
  std::lock_guard lock(g_program_path_mutex);
  g_program_path_override = path;
}

}  // namespace quorvel::platform

namespace quorvel::platform {
namespace {

std::atomic<void (*)()> g_before_rename{nullptr};

// A temporary file is the target's name, this marker and mkstemp's six letters and digits.
constexpr std::string_view kTempMarker = ".tmp-";
constexpr size_t kTempRandomLength = 6;
// A writer holds its temporary file for milliseconds; one untouched this long was left by a
// writer that was killed before its rename.
constexpr time_t kStaleAfterSeconds = 60;

std::string_view BaseNameOf(std::string_view path) {
  const size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

bool IsTemporaryNameOf(std::string_view name, std::string_view base) {
  if (name.size() != base.size() + kTempMarker.size() + kTempRandomLength ||
      name.substr(0, base.size()) != base ||
      name.substr(base.size(), kTempMarker.size()) != kTempMarker) {
    return false;
  }
  for (const char c : name.substr(base.size() + kTempMarker.size())) {
    const bool alnum = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    if (!alnum) return false;
  }
  return true;
}

// Removes the temporary files of this target that killed writers left behind: only regular
// files of this user, named exactly as this function's writes name them, and stale. Best effort.
void RemoveStaleTemporaries(const std::string& target) {
  DIR* dir = ::opendir(DirectoryOf(target).c_str());
  if (dir == nullptr) return;
  const std::string_view base = BaseNameOf(target);
  const time_t now = std::time(nullptr);
  while (const dirent* entry = ::readdir(dir)) {
    if (!IsTemporaryNameOf(entry->d_name, base)) continue;
    struct stat info;
    if (::fstatat(::dirfd(dir), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISREG(info.st_mode) && info.st_uid == ::geteuid() &&
        now - info.st_mtime >= kStaleAfterSeconds) {
      ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
  }
  ::closedir(dir);
}

}  // namespace

bool ReplaceFileAtomically(const char* path, std::string_view bytes, uint32_t new_file_mode) {
  return ReplaceFileAtomically(path, std::vector<std::string_view>{bytes}, new_file_mode);
}

bool ReplaceFileAtomically(const char* path, const std::vector<std::string_view>& parts,
                           uint32_t new_file_mode) {
  if (path == nullptr || *path == '\0') return false;
  const std::string target = path;
  std::string temp = target + std::string(kTempMarker) + std::string(kTempRandomLength, 'X');
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) return false;
  struct stat old_info;
  bool ok = true;
  if (::stat(path, &old_info) == 0) {
    ok = ::fchmod(fd, old_info.st_mode & 07777) == 0;
    if (ok && ::fchown(fd, old_info.st_uid, old_info.st_gid) != 0 &&
        old_info.st_uid != ::geteuid()) {
      ok = false;  // the owner could not be kept
    }
  } else {
    ok = ::fchmod(fd, new_file_mode) == 0;
  }
  for (std::string_view part : parts) ok = ok && WriteAll(fd, part);
  ok = ok && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  if (ok) {
    if (void (*hook)() = g_before_rename.load()) hook();
    ok = ::rename(temp.c_str(), path) == 0;
  }
  if (!ok) {
    ::unlink(temp.c_str());
    return false;
  }
  const int dir = ::open(DirectoryOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);  // make the rename itself durable; best effort
    ::close(dir);
  }
  RemoveStaleTemporaries(target);
  return true;
}

void SetBeforeRenameHookForTesting(void (*hook)()) { g_before_rename.store(hook); }

}  // namespace quorvel::platform
