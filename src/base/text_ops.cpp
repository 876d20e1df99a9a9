#include "base/text_ops.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#ifdef __SSE2__
#include <emmintrin.h>
#endif
#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "base/gbk_scan.h"

namespace quorvel {
namespace {

constexpr size_t kNpos = std::string_view::npos;

size_t StartOffset(std::optional<int32_t> start) {
  return start ? static_cast<size_t>(std::max<int64_t>(int64_t{*start} - 1, 0)) : 0;
}

bool IsFullWidthSpace(std::string_view text, size_t at) {
  return at + 1 < text.size() && static_cast<unsigned char>(text[at]) == 0xA1 &&
         static_cast<unsigned char>(text[at + 1]) == 0xA1;
}

// ToLower's helpers read the text from `in` and lower letters in `out`, a copy of it: reading
// back bytes just stored would stall the processor (store forwarding across blocks).

// Lowers A-Z at character boundaries in bytes [from, to), one byte at a time.
void LowerBytes(std::string_view in, std::string& out, size_t from, size_t to) {
  for (size_t at = from; at < to; ++at) {
    if (in[at] >= 'A' && in[at] <= 'Z' && gbk::IsBoundary(in, at, 0)) out[at] += 32;
  }
}

// Lowers the letters marked in `doubtful` (bit i: byte at + i), each after a byte >= 0x80, that
// start a character.
void LowerDoubtful(std::string_view in, std::string& out, size_t at, uint32_t doubtful) {
  for (; doubtful != 0; doubtful &= doubtful - 1) {
    const size_t letter = at + static_cast<size_t>(__builtin_ctz(doubtful));
    if (gbk::IsBoundary(in, letter, 0)) out[letter] += 32;
  }
}

#ifdef __SSE2__
// Blocks of sixteen bytes from `at` (>= 1) while they fit; returns where they stopped. A letter
// after a byte below 0x80 starts a character for sure, and all such letters of a block are
// lowered at once; a letter after a byte of 0x80 or more needs a look back (gbk::IsBoundary).
size_t LowerBlocks16(std::string_view in, std::string& out, size_t at) {
  for (; at + 16 <= in.size(); at += 16) {
    const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in.data() + at));
    // Signed compares: bytes >= 0x80 are negative, so never letters.
    const __m128i upper = _mm_and_si128(_mm_cmpgt_epi8(chunk, _mm_set1_epi8('A' - 1)),
                                        _mm_cmplt_epi8(chunk, _mm_set1_epi8('Z' + 1)));
    if (_mm_movemask_epi8(upper) == 0) continue;
    const __m128i after_lead = _mm_cmplt_epi8(
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(in.data() + at - 1)), _mm_setzero_si128());
    const __m128i sure = _mm_andnot_si128(after_lead, upper);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out.data() + at),
                     _mm_or_si128(chunk, _mm_and_si128(sure, _mm_set1_epi8(0x20))));
    LowerDoubtful(in, out, at,
                  static_cast<uint32_t>(_mm_movemask_epi8(_mm_and_si128(after_lead, upper))));
  }
  return at;
}
#endif

#if defined(__x86_64__)
// LowerBlocks16 thirty-two bytes at a time, on processors with AVX2.
__attribute__((target("avx2"))) size_t LowerBlocks32(std::string_view in, std::string& out,
                                                     size_t at) {
  for (; at + 32 <= in.size(); at += 32) {
    const __m256i chunk = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in.data() + at));
    const __m256i upper = _mm256_and_si256(_mm256_cmpgt_epi8(chunk, _mm256_set1_epi8('A' - 1)),
                                           _mm256_cmpgt_epi8(_mm256_set1_epi8('Z' + 1), chunk));
    if (_mm256_movemask_epi8(upper) == 0) continue;
    const __m256i after_lead =
        _mm256_cmpgt_epi8(_mm256_setzero_si256(),
                          _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in.data() + at - 1)));
    const __m256i sure = _mm256_andnot_si256(after_lead, upper);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out.data() + at),
                        _mm256_or_si256(chunk, _mm256_and_si256(sure, _mm256_set1_epi8(0x20))));
    LowerDoubtful(in, out, at,
                  static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_and_si256(after_lead, upper))));
  }
  return at;
}
#endif

}  // namespace

int32_t TextLength(const Text& text) { return text.size(); }

Text ConcatText(std::initializer_list<Text> parts) {
  size_t total = 0;
  for (const Text& part : parts) total += part.view().size();
  std::string out;
  out.reserve(total);
  for (const Text& part : parts) out += part.view();
  return Text(std::move(out));
}

Text TextLeft(const Text& text, int32_t n) {
  if (n <= 0) return {};
  return Text(text.view().substr(0, static_cast<size_t>(n)));
}

Text TextRight(const Text& text, int32_t n) {
  if (n <= 0) return {};
  const size_t take = std::min(static_cast<size_t>(n), text.view().size());
  return Text(text.view().substr(text.view().size() - take));
}

Text TextMid(const Text& text, int32_t start, int32_t n) {
  const int64_t p = int64_t{start} - 1;
  if (p < 0 || p >= text.size() || n <= 0) return {};
  return Text(text.view().substr(static_cast<size_t>(p), static_cast<size_t>(n)));
}

int32_t FindText(const Text& text, const Text& sub, std::optional<int32_t> start,
                 bool ignore_case) {
  const std::string_view hay = text.view();
  const size_t from = StartOffset(start);
  if (from >= hay.size()) return -1;
  if (sub.empty()) return 1;
  gbk::MatchScan scan(hay, sub.view(), from, ignore_case);
  const size_t hit = scan.Next();
  return hit == kNpos ? -1 : static_cast<int32_t>(hit + 1);
}

int32_t FindTextReverse(const Text& text, const Text& sub, std::optional<int32_t> start,
                        bool ignore_case) {
  const std::string_view hay = text.view();
  size_t window = hay.size();
  if (start) window = *start <= 1 ? 0 : std::min(hay.size(), static_cast<size_t>(*start - 1));
  if (sub.empty()) return window > 0 ? 1 : -1;
  const size_t hit = gbk::FindLastOnBoundary(hay.substr(0, window), sub.view(), ignore_case);
  return hit == kNpos ? -1 : static_cast<int32_t>(hit + 1);
}

Text ReplaceRange(const Text& text, int32_t start, int32_t length, const Text& replacement) {
  std::string out = text.str();
  const size_t p =
      std::min(static_cast<size_t>(std::max<int64_t>(int64_t{start} - 1, 0)), out.size());
  const size_t remove = std::min(static_cast<size_t>(std::max(length, 0)), out.size() - p);
  out.replace(p, remove, replacement.view());
  return Text(std::move(out));
}

Text ReplaceSubtext(const Text& text, const Text& sub, const Text& replacement,
                    std::optional<int32_t> start, std::optional<int32_t> count,
                    bool case_sensitive) {
  const std::string_view in = text.view();
  const size_t s = StartOffset(start);
  if (in.empty() || sub.empty() || s >= in.size() || (count && *count == 0)) return text;
  const size_t m = sub.view().size();
  std::string out;
  // One buffer for the usual case (a longer replacement may still grow it).
  out.reserve(in.size() + std::max(replacement.view().size(), m) - m);
  out.append(in.substr(0, s));
  gbk::MatchScan scan(in, sub.view(), s, !case_sensitive);
  size_t copied = s;  // bytes of `in` already dealt with
  int64_t left = count ? *count : -1;
  bool stopped = false;
  for (size_t hit = scan.Next(); hit != kNpos; hit = scan.Next()) {
    out.append(in.substr(copied, hit - copied));
    out.append(replacement.view());
    copied = hit + m;
    scan.SkipTo(copied);  // the scan goes on exactly after the occurrence
    if (left > 0 && --left == 0) {
      stopped = true;
      break;
    }
  }
  // Scanning on to the end drops a lone lead byte at the very end when a one-byte sub is
  // compared against it; a stopped scan leaves the rest as it is.
  size_t end = in.size();
  if (!stopped && m == 1 && gbk::IsLead(in.back()) && copied < in.size() &&
      gbk::IsBoundary(in, in.size() - 1, copied)) {
    end = in.size() - 1;
  }
  if (copied < end) out.append(in.substr(copied, end - copied));
  return Text(std::move(out));
}

Text TrimBlanks(const Text& text) {
  const std::string_view in = text.view();
  size_t begin = 0;
  while (begin < in.size()) {
    if (in[begin] == ' ') {
      ++begin;
    } else if (IsFullWidthSpace(in, begin)) {
      begin += 2;
    } else {
      break;
    }
  }
  // From here on `begin` is a character boundary; the end is found from the back, looking only
  // over the run of bytes >= 0x80 before each place (gbk::IsBoundary).
  if (begin < in.size() && gbk::IsLead(in.back()) && gbk::IsBoundary(in, in.size() - 1, begin)) {
    // A lone lead byte at the end goes instead of the trailing blanks.
    return Text(in.substr(begin, in.size() - 1 - begin));
  }
  gbk::BackwardBoundaries boundaries(in, begin);
  size_t end = in.size();
  while (end > begin) {
    if (in[end - 1] == ' ' && boundaries.IsBoundary(end - 1)) {
      --end;
    } else if (end - begin >= 2 && IsFullWidthSpace(in, end - 2) &&
               boundaries.IsBoundary(end - 2)) {
      end -= 2;
    } else {
      break;
    }
  }
  return Text(in.substr(begin, end - begin));
}

Text ToLower(const Text& text) {
  const std::string_view in = text.view();
  std::string out(in);
  size_t at = 0;
#ifdef __SSE2__
  LowerBytes(in, out, 0, std::min<size_t>(1, in.size()));
  at = 1;
#if defined(__x86_64__)
  if (__builtin_cpu_supports("avx2")) at = LowerBlocks32(in, out, at);
#endif
  at = LowerBlocks16(in, out, at);
#endif
  LowerBytes(in, out, at, in.size());
  return Text(std::move(out));
}

int CompareText(const Text& a, const Text& b, bool case_sensitive) {
  const std::string_view x = a.view(), y = b.view();
  bool second_byte = false;  // whether the bytes at i are the second of a character
  for (size_t i = 0; i < x.size() && i < y.size(); ++i) {
    unsigned char cx = x[i], cy = y[i];
    if (!case_sensitive && !second_byte) {
      cx = static_cast<unsigned char>(gbk::Fold(x[i]));
      cy = static_cast<unsigned char>(gbk::Fold(y[i]));
    }
    if (cx != cy) return cx < cy ? -1 : 1;
    second_byte = !second_byte && gbk::IsLead(x[i]);
  }
  if (x.size() == y.size()) return 0;
  return x.size() < y.size() ? -1 : 1;
}

}  // namespace quorvel
