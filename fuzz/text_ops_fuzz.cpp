// The text operations on arbitrary bytes: no crash, no hang, results inside their ranges.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "base/byte_ops.h"
#include "base/text_ops.h"

using namespace quorvel;

namespace {

#define Check(condition)                                                    \
  do {                                                                      \
    if (!(condition)) {                                                     \
      std::fprintf(stderr, "broken: %s (line %d)\n", #condition, __LINE__); \
      std::abort();                                                         \
    }                                                                       \
  } while (0)

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
  Check(found == -1 || (found >= 1 && found <= n + 1));
  const int32_t last =
      FindTextReverse(text, sub, data[2] & 4 ? std::optional(start) : kOmitted, flag);
  Check(last == -1 || (last >= 1 && last <= n + 1));
  if (!sub.empty() && found > 0 && !(data[2] & 6)) Check(last >= found);

  const Text replaced =
      ReplaceSubtext(text, sub, "xy", data[2] & 8 ? std::optional(start) : kOmitted,
                     data[2] & 16 ? std::optional(count) : kOmitted, flag);
  Check(HasNoZero(replaced));
  if (sub.empty()) Check(replaced == text);
  const Text trimmed = TrimBlanks(text);
  Check(trimmed.size() <= n);
  Check(ToLower(text).size() == n);
  Check(ReplaceRange(text, start, count, sub).size() <= n + sub.size());
  Check(TextMid(text, start, count).size() <= std::max(0, count));
  Check((CompareText(text, text, flag) == 0));
  (void)ToNumber(text);
  return 0;
}
