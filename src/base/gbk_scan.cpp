#include "base/gbk_scan.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace quorvel::gbk {

std::string Folded(std::string_view text) {
  std::string out(text);
  for (char& byte : out) byte = Fold(byte);
  return out;
}

bool MatchesAt(std::string_view text, size_t at, std::string_view sub, bool ignore_case) {
  if (!ignore_case) return std::memcmp(text.data() + at, sub.data(), sub.size()) == 0;
  for (size_t i = 0; i < sub.size(); ++i) {
    if (Fold(text[at + i]) != Fold(sub[i])) return false;
  }
  return true;
}

namespace {

#ifdef __SSE2__
// Sixteen bytes with A-Z folded to a-z.
__m128i Fold16(__m128i bytes) {
  const __m128i upper = _mm_and_si128(_mm_cmpgt_epi8(bytes, _mm_set1_epi8('A' - 1)),
                                      _mm_cmplt_epi8(bytes, _mm_set1_epi8('Z' + 1)));
  return _mm_or_si128(bytes, _mm_and_si128(upper, _mm_set1_epi8(0x20)));
}
#endif

// FindRaw ignoring case. Sixteen offsets at a time keep only those whose first and last bytes
// match when folded; each of those is then compared in full.
size_t FindRawFolded(std::string_view text, std::string_view sub, size_t from) {
  const size_t m = sub.size();
  if (m > text.size()) return std::string_view::npos;
  const size_t last_start = text.size() - m;  // the last offset where sub fits
#ifdef __SSE2__
  const __m128i first = _mm_set1_epi8(sub[0]), last = _mm_set1_epi8(sub[m - 1]);
  for (; from + 15 <= last_start; from += 16) {
    const char* at = text.data() + from;
    const __m128i head = Fold16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(at)));
    const __m128i tail = Fold16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(at + m - 1)));
    int mask =
        _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(head, first), _mm_cmpeq_epi8(tail, last)));
    while (mask != 0) {
      const size_t hit = from + static_cast<size_t>(__builtin_ctz(mask));
      if (MatchesAt(text, hit, sub, true)) return hit;
      mask &= mask - 1;
    }
  }
#endif
  for (; from <= last_start; ++from) {
    if (MatchesAt(text, from, sub, true)) return from;
  }
  return std::string_view::npos;
}

}  // namespace

size_t FindRaw(std::string_view text, std::string_view sub, size_t from, bool ignore_case) {
  if (!ignore_case) return text.find(sub, from);
  return FindRawFolded(text, sub, from);
}

size_t FindRawReverse(std::string_view text, std::string_view sub, size_t before,
                      bool ignore_case) {
  if (sub.size() > text.size()) return std::string_view::npos;
  size_t last = std::min(before, text.size() - sub.size());
  // memrchr to each candidate for the first byte (either case of a letter), then a compare.
  const char first = sub[0];
  const bool letter = ignore_case && first >= 'a' && first <= 'z';
  const char upper = letter ? static_cast<char>(first - 32) : first;
  for (;;) {
    const void* hit = memrchr(text.data(), first, last + 1);
    size_t at = hit ? static_cast<const char*>(hit) - text.data() : std::string_view::npos;
    if (letter) {
      const size_t skip = hit ? at + 1 : 0;  // only an upper-case hit after the other counts
      const void* hit_upper = memrchr(text.data() + skip, upper, last + 1 - skip);
      if (hit_upper) at = static_cast<const char*>(hit_upper) - text.data();
    }
    if (at == std::string_view::npos) return at;
    if (MatchesAt(text, at, sub, ignore_case)) return at;
    if (at == 0) return std::string_view::npos;
    last = at - 1;
  }
}

size_t FindLastOnBoundary(std::string_view text, std::string_view sub, bool ignore_case) {
  const std::string folded = ignore_case ? Folded(sub) : std::string();
  if (ignore_case) sub = folded;
  BackwardBoundaries boundaries(text, 0);
  size_t before = text.size();
  for (;;) {
    const size_t hit = FindRawReverse(text, sub, before, ignore_case);
    if (hit == std::string_view::npos) return hit;
    if (boundaries.IsBoundary(hit)) return hit;
    if (hit == 0) return std::string_view::npos;
    before = hit - 1;
  }
}

MatchScan::MatchScan(std::string_view text, std::string_view sub, size_t from, bool ignore_case)
    : text_(text),
      sub_(sub),
      folded_(ignore_case ? Folded(sub) : std::string()),
      cursor_(from),
      ignore_case_(ignore_case) {}

size_t MatchScan::Next() {
  while (cursor_ < text_.size()) {
    const size_t hit = FindRaw(text_, sub(), cursor_, ignore_case_);
    if (hit == std::string_view::npos) return hit;
    if (IsBoundary(text_, hit, cursor_)) {
      cursor_ = gbk::Next(text_, hit);
      return hit;
    }
    // The raw hit began on the second byte of a character: look on from the next boundary.
    cursor_ = hit + 1;
  }
  return std::string_view::npos;
}

}  // namespace quorvel::gbk
