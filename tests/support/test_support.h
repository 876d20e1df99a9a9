#pragma once

// Helpers shared by every test binary.

#include <filesystem>
#include <string>
#include <string_view>

namespace quorvel::testing {

// A fresh directory under the system's temporary directory, removed with its contents when the
// object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string File(std::string_view name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

// The whole content of a file; empty when it cannot be read.
std::string ReadFileBytes(const std::string& path);
// Writes the bytes to the file, replacing it.
void WriteFileBytes(const std::string& path, std::string_view bytes);

// The bytes of a u8"..." literal as a std::string (C++20 types them as char8_t).
inline std::string U8(std::u8string_view utf8) { return std::string(utf8.begin(), utf8.end()); }

// The bytes of a UTF-8 literal re-encoded as GBK, for tests that build pages by hand.
std::string Gbk(std::string_view utf8);

}  // namespace quorvel::testing
