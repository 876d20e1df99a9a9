#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// A text in code page 936 (GBK): bytes without a zero byte. A byte of 0x80 or more starts a
// two-byte character. The empty and the missing text are the same value.
class Text {
 public:
  Text() = default;
  // A zero-terminated text, such as a literal (stored as GBK by the build). Null is empty.
  Text(const char* zstr);  // NOLINT(google-explicit-constructor): literals read naturally
  // The bytes before the first zero byte, or all of them when there is none.
  explicit Text(std::string_view bytes);
  // The same, taking over the string's buffer instead of copying it.
  explicit Text(std::string&& bytes);

  std::string_view view() const { return bytes_; }
  const std::string& str() const { return bytes_; }
  const char* c_str() const { return bytes_.c_str(); }
  int32_t size() const { return static_cast<int32_t>(bytes_.size()); }
  bool empty() const { return bytes_.empty(); }

  friend bool operator==(const Text&, const Text&) = default;

 private:
  std::string bytes_;
};

// A counted sequence of bytes of any value, zero bytes included. Empty and missing are the same.
class ByteString {
 public:
  ByteString() = default;
  explicit ByteString(std::string bytes) : bytes_(std::move(bytes)) {}
  explicit ByteString(std::string_view bytes) : bytes_(bytes) {}
  explicit ByteString(const char* data, size_t size) : bytes_(data, size) {}

  std::string_view view() const { return bytes_; }
  const std::string& str() const { return bytes_; }
  std::string& mutable_str() { return bytes_; }
  const char* data() const { return bytes_.data(); }
  int32_t size() const { return static_cast<int32_t>(bytes_.size()); }
  bool empty() const { return bytes_.empty(); }

  friend bool operator==(const ByteString&, const ByteString&) = default;

 private:
  std::string bytes_;
};

// A fixed number of byte strings, numbered from 0.
using TextArray = std::vector<ByteString>;

// Marks an optional argument that the caller leaves out, where a routine tells an omitted
// value apart from every value that can be given.
inline constexpr std::nullopt_t kOmitted = std::nullopt;

// This platform's directory separator, in place of the Windows "\".
inline constexpr const char* kPathSeparator = "/";

}  // namespace quorvel
