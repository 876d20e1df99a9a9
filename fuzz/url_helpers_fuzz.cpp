// The address and header-text helpers on arbitrary bytes: no crash, no hang, and each result
// is the part of its input that it claims to be.
//
// Input: one flag byte, one start byte, then up to three texts separated by "|": the text (or
// address), the start marker, the end marker.

#include <cstdint>
#include <string_view>
#include <vector>

#include "base/text_ops.h"
#include "fuzz_check.h"
#include "web/url_helpers.h"

using namespace quorvel;

namespace {

std::vector<Text> Split(std::string_view rest) {
  std::vector<Text> parts;
  for (int i = 0; i < 3; ++i) {
    const size_t bar = rest.find('|');
    parts.emplace_back(rest.substr(0, bar));
    rest = bar == std::string_view::npos ? std::string_view() : rest.substr(bar + 1);
  }
  return parts;
}

void CheckAddress(const Text& address) {
  const Text host = HostOf(address);
  FUZZ_CHECK(host.size() <= address.size());
  FUZZ_CHECK(FindText(host, "/", kOmitted, false) == -1);
  FUZZ_CHECK(FindText(host, ":", kOmitted, false) == -1);
  FUZZ_CHECK(ToLower(host) == host);

  const Text path = PathOf(address);
  FUZZ_CHECK(!path.empty() && path.view()[0] == '/');
  FUZZ_CHECK(path == Text("/") || address.view().ends_with(path.view()));

  const int32_t port = PortOf(address);
  if (FindText(address, ":", kOmitted, false) == -1) FUZZ_CHECK(port == 80 || port == 443);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const bool flag = data[0] & 1;
  const int32_t start = static_cast<int8_t>(data[1]);
  const std::vector<Text> parts =
      Split(std::string_view(reinterpret_cast<const char*>(data + 2), size - 2));
  const Text& text = parts[0];

  CheckAddress(text);

  const Text between = TextBetween(text, parts[1], parts[2], start, flag);
  FUZZ_CHECK(between.empty() || text.view().find(between.view()) != std::string_view::npos);

  const Text before = TextBefore(text, parts[1], start, flag);
  FUZZ_CHECK(text.view().starts_with(before.view()));
  if (!before.empty()) FUZZ_CHECK(FindText(text, parts[1], start, flag) == before.size() + 1);
  return 0;
}
