// The profile reader and writer on arbitrary files: no crash, and a clean value written into
// any file reads back unchanged while the rest of the file keeps its bytes.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/profile_format.h"

using namespace quorvel::platform::profile;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view file(reinterpret_cast<const char*>(data), size);
  (void)FindValue(file, "userinfo", "username");
  const std::string written = WithValue(file, "userinfo", "password", "p@ss=w0rd;x");
  const auto value = FindValue(written, "userinfo", "password");
  if (!value || *value != "p@ss=w0rd;x") std::abort();
  if (FindValue(written, "userinfo", "username") != FindValue(file, "userinfo", "username")) {
    std::abort();
  }
  return 0;
}
