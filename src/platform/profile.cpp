#include "platform/profile.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <string>

#include "platform/files.h"
#include "platform/profile_format.h"

namespace quorvel::platform {
namespace {

// The whole file, or nothing when it cannot be read; `missing` tells a file that does not exist.
std::optional<std::string> ReadWhole(const char* path, bool* missing = nullptr) {
  const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (missing != nullptr) *missing = errno == ENOENT;
    return std::nullopt;
  }
  std::string bytes;
  char block[8192];
  for (;;) {
    const ssize_t n = ::read(fd, block, sizeof block);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ::close(fd);
      return std::nullopt;
    }
    if (n == 0) break;
    bytes.append(block, static_cast<size_t>(n));
  }
  ::close(fd);
  return bytes;
}

uint32_t CopyOut(std::string_view value, char* buffer, uint32_t size) {
  if (buffer == nullptr || size == 0) return 0;
  const size_t n = std::min<size_t>(value.size(), size - 1);
  std::memcpy(buffer, value.data(), n);
  buffer[n] = '\0';
  return static_cast<uint32_t>(n);
}

}  // namespace

uint32_t GetPrivateProfileStringA(const char* section, const char* key, const char* default_value,
                                  char* buffer, uint32_t size, const char* file) {
  std::optional<std::string> value;
  if (section != nullptr && key != nullptr && file != nullptr) {
    if (std::optional<std::string> bytes = ReadWhole(file)) {
      value = profile::FindValue(*bytes, section, key);
    }
  }
  if (!value) {
    std::string_view fallback = default_value ? default_value : "";
    while (!fallback.empty() && fallback.back() == ' ') fallback.remove_suffix(1);
    value = std::string(fallback);
  }
  return CopyOut(*value, buffer, size);
}

bool WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                const char* file) {
  if (section == nullptr || key == nullptr || file == nullptr || *file == '\0') return false;
  bool missing = false;
  const std::optional<std::string> old_bytes = ReadWhole(file, &missing);
  if (!old_bytes && !missing) return false;  // a file that cannot be read is not overwritten
  const std::string new_bytes =
      profile::WithValue(old_bytes.value_or(std::string()), section, key, value);
  // A new file gets 0600: it holds a password.
  return ReplaceFileAtomically(file, new_bytes, 0600);
}

}  // namespace quorvel::platform
