#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
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
  if (path == nullptr || *path == '\0') return false;
  const int fd = ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  bool ok = true;
  for (std::string_view part : parts) ok = ok && WriteAll(fd, part);
  return ::close(fd) == 0 && ok;
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

std::string DirectoryOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

bool ReplaceFileAtomically(const char* path, std::string_view bytes, uint32_t new_file_mode) {
  if (path == nullptr || *path == '\0') return false;
  const std::string target = path;
  std::string temp = target + ".XXXXXX";
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
  ok = ok && WriteAll(fd, bytes) && ::fsync(fd) == 0;
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
  return true;
}

void SetBeforeRenameHookForTesting(void (*hook)()) { g_before_rename.store(hook); }

}  // namespace quorvel::platform
