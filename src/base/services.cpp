#include "base/services.h"

#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/profile.h"
#include "platform/shell.h"
#include "platform/tick.h"

namespace quorvel {
namespace {

constexpr uint32_t kIniBufferSize = 10240;

// Skips the leading bytes of value 0x20 or less.
std::string_view SkipControlAndBlanks(std::string_view text) {
  size_t at = 0;
  while (at < text.size() && static_cast<unsigned char>(text[at]) <= 0x20) ++at;
  return text.substr(at);
}

}  // namespace

Text RunDirectory() {
  const std::string path = platform::ProgramPath();
  const size_t slash = path.rfind(*kPathSeparator);
  return Text(slash == std::string::npos ? std::string_view()
                                         : std::string_view(path).substr(0, slash));
}

bool FileExists(const Text& path) { return !path.empty() && platform::PathExists(path.c_str()); }

bool WriteBytesToFile(const Text& path, std::initializer_list<ByteString> parts) {
  if (path.empty()) return false;
  std::vector<std::string_view> views;
  for (const ByteString& part : parts) views.push_back(part.view());
  return platform::WriteWholeFile(path.c_str(), views);
}

bool SetAttributes(const Text& path, int32_t attributes) {
  return platform::SetFileAttributesA(path.c_str(), static_cast<uint32_t>(attributes) & 0x27);
}

Text ReadIniValue(const Text& file, const Text& section, const Text& key,
                  const Text& default_value) {
  const Text f(SkipControlAndBlanks(file.view()));
  const Text s(SkipControlAndBlanks(section.view()));
  const Text k(SkipControlAndBlanks(key.view()));
  if (f.empty() || s.empty() || k.empty()) return {};
  std::string buffer(kIniBufferSize, '\0');
  const uint32_t n = platform::GetPrivateProfileStringA(
      s.c_str(), k.c_str(), default_value.empty() ? nullptr : default_value.c_str(), buffer.data(),
      kIniBufferSize, f.c_str());
  return Text(std::string_view(buffer.data(), n));
}

uint32_t TickCount() { return platform::GetTickCount(); }

void OpenAddress(const Text& address) { platform::ShellOpen(address.c_str()); }

}  // namespace quorvel
