// The text operations on arbitrary bytes: no crash, no hang, results inside their ranges.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "base/byte_ops.h"
#include "base/text_ops.h"
#include "fuzz_check.h"

using namespace quorvel;

namespace {

bool HasNoZero(const Text& text) { return text.view().find('\0') == std::string_view::npos; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  const int32_t start = static_cast<int8_t>(data[0]);
  const int32_t count = static_cast<int8_t>(data[1]);
  const bool flag = data[2] & 1;
  std::string_view rest(reinterpret_cast<const char*>(data + 3), size - 3);
  const size_t split = rest.find('|');
  const Text text(rest.substr(0, split));
  const Text sub(split == std::string_view::npos ? std::string_view() : rest.substr(split + 1));
  const int32_t n = text.size();

  const int32_t found = FindText(text, sub, data[2] & 2 ? std::optional(start) : kOmitted, flag);
  FUZZ_CHECK(found == -1 || (found >= 1 && found <= n + 1));
  const int32_t last =
      FindTextReverse(text, sub, data[2] & 4 ? std::optional(start) : kOmitted, flag);
  FUZZ_CHECK(last == -1 || (last >= 1 && last <= n + 1));
  if (!sub.empty() && found > 0 && !(data[2] & 6)) FUZZ_CHECK(last >= found);

  const Text replaced =
      ReplaceSubtext(text, sub, "xy", data[2] & 8 ? std::optional(start) : kOmitted,
                     data[2] & 16 ? std::optional(count) : kOmitted, flag);
  FUZZ_CHECK(HasNoZero(replaced));
  if (sub.empty()) FUZZ_CHECK(replaced == text);
  const Text trimmed = TrimBlanks(text);
  FUZZ_CHECK(trimmed.size() <= n);
  FUZZ_CHECK(ToLower(text).size() == n);
  FUZZ_CHECK(ReplaceRange(text, start, count, sub).size() <= n + sub.size());
  FUZZ_CHECK(TextMid(text, start, count).size() <= std::max(0, count));
  FUZZ_CHECK((CompareText(text, text, flag) == 0));
  (void)ToNumber(text);
  return 0;
}
