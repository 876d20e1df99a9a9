#include "base/gbk_scan.h"

#include <cstring>
#include <string>

namespace quorvel::gbk {

bool MatchesAt(std::string_view text, size_t at, std::string_view sub, bool ignore_case) {
  if (!ignore_case) return std::memcmp(text.data() + at, sub.data(), sub.size()) == 0;
  for (size_t i = 0; i < sub.size(); ++i) {
    if (Fold(text[at + i]) != Fold(sub[i])) return false;
  }
  return true;
}

size_t FindRaw(std::string_view text, std::string_view sub, size_t from, bool ignore_case) {
  if (!ignore_case) return text.find(sub, from);
  const char first = sub[0];
  const bool letter = first >= 'a' && first <= 'z';
  const char upper = letter ? static_cast<char>(first - 32) : first;
  while (from + sub.size() <= text.size()) {
    const char* base = text.data() + from;
    const size_t span = text.size() - sub.size() - from + 1;
    const void* hit = std::memchr(base, first, span);
    size_t at = hit ? static_cast<const char*>(hit) - text.data() : std::string_view::npos;
    if (letter) {
      const void* hit_upper = std::memchr(base, upper, hit ? at - from : span);
      if (hit_upper) at = static_cast<const char*>(hit_upper) - text.data();
    }
    if (at == std::string_view::npos) return at;
    if (MatchesAt(text, at, sub, true)) return at;
    from = at + 1;
  }
  return std::string_view::npos;
}

MatchScan::MatchScan(std::string_view text, std::string_view sub, size_t from, bool ignore_case)
    : text_(text), sub_(sub), cursor_(from), ignore_case_(ignore_case) {
  if (ignore_case) {
    folded_.resize(sub.size());
    for (size_t i = 0; i < sub.size(); ++i) folded_[i] = Fold(sub[i]);
  }
}

size_t MatchScan::Next() {
  while (cursor_ < text_.size()) {
    const size_t hit = FindRaw(text_, sub(), cursor_, ignore_case_);
    if (hit == std::string_view::npos) return hit;
    while (cursor_ < hit) cursor_ = gbk::Next(text_, cursor_);
    if (cursor_ == hit) {
      cursor_ = gbk::Next(text_, cursor_);
      return hit;
    }
    // The raw hit began on the second byte of a character: look on from the next boundary.
  }
  return std::string_view::npos;
}

}  // namespace quorvel::gbk
