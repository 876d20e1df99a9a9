#pragma once

// Small helpers for walking GBK bytes: a byte of 0x80 or more starts a two-byte character.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/ascii.h"

namespace quorvel::gbk {

inline bool IsLead(char byte) { return static_cast<unsigned char>(byte) >= 0x80; }

// Folds A-Z to a-z; every other byte stays.
inline char Fold(char byte) { return platform::AsciiLower(byte); }

// The offset of the character after the one at `at`.
inline size_t Next(std::string_view text, size_t at) { return at + (IsLead(text[at]) ? 2 : 1); }

// The start of the run of bytes >= 0x80 that ends just before `at`, not going below `floor`.
inline size_t RunStart(std::string_view text, size_t at, size_t floor) {
  constexpr uint64_t kHigh = 0x8080808080808080ULL;
  static_assert(std::endian::native == std::endian::little, "the byte before `at` is the top one");
  while (at - floor >= 8) {  // eight bytes at a time: how many at the top are >= 0x80
    uint64_t chunk;
    std::memcpy(&chunk, text.data() + at - 8, 8);
    const uint64_t low = ~chunk & kHigh;
    if (low != 0) return at - static_cast<size_t>(__builtin_clzll(low)) / 8;
    at -= 8;
  }
  while (at > floor && IsLead(text[at - 1])) --at;
  return at;
}

// Whether offset `at` is a character boundary, given that `floor` (<= at) is one. It looks back
// only over the run of bytes >= 0x80 before `at`: a byte below 0x80 always ends a character (a
// one-byte one, or the second byte of a pair), so that run starts on a boundary and its bytes
// pair up. Checking offsets left to right, each with the previous one's successor as floor,
// looks at every byte at most once.
inline bool IsBoundary(std::string_view text, size_t at, size_t floor) {
  if (at == floor || !IsLead(text[at - 1])) return true;
  return (at - RunStart(text, at, floor)) % 2 == 0;
}

// Boundary questions asked from the end of a text towards its start (offsets that do not
// grow): the run of bytes >= 0x80 last looked over is kept, so each byte is looked at once.
class BackwardBoundaries {
 public:
  // `floor` (a character boundary) is the lowest offset that will be asked about.
  BackwardBoundaries(std::string_view text, size_t floor) : text_(text), floor_(floor) {}
  bool IsBoundary(size_t at) {
    if (at < run_start_ || at > run_end_) {
      run_start_ = RunStart(text_, at, floor_);
      run_end_ = at;
    }
    return (at - run_start_) % 2 == 0;
  }

 private:
  std::string_view text_;
  size_t floor_;
  // [run_start_, run_end_) holds only bytes >= 0x80 and starts on a boundary.
  size_t run_start_ = std::string_view::npos;
  size_t run_end_ = 0;
};

// The text with A-Z folded to a-z.
std::string Folded(std::string_view text);

// Whether `sub` stands at offset `at` of `text` (which has room for it), folding A-Z when asked.
bool MatchesAt(std::string_view text, size_t at, std::string_view sub, bool ignore_case);

// The first offset p >= from at which `sub` stands as raw bytes, or npos. `sub` must already
// be folded when ignore_case is set. Fast: a memchr/memcmp search, blind to characters.
size_t FindRaw(std::string_view text, std::string_view sub, size_t from, bool ignore_case);

// The last offset p <= before at which `sub` stands as raw bytes, or npos; as FindRaw, from the
// end.
size_t FindRawReverse(std::string_view text, std::string_view sub, size_t before, bool ignore_case);

// The last offset at which `sub` (not empty) stands on a character boundary, or npos. Fast for
// an occurrence near the end: it searches backwards and looks back only over the run of bytes
// >= 0x80 before each candidate.
size_t FindLastOnBoundary(std::string_view text, std::string_view sub, bool ignore_case);

// A scan over the candidate offsets of `sub` in `text` that lie on character boundaries,
// starting at `from` (taken as a boundary). Next() gives the next matching candidate, or npos.
class MatchScan {
 public:
  MatchScan(std::string_view text, std::string_view sub, size_t from, bool ignore_case);
  size_t Next();
  // Goes on from `at` (taken as a boundary), skipping what lies before it.
  void SkipTo(size_t at) { cursor_ = at; }

 private:
  std::string_view sub() const { return ignore_case_ ? std::string_view(folded_) : sub_; }

  std::string_view text_;
  std::string_view sub_;
  std::string folded_;  // sub with A-Z folded, when ignoring case
  size_t cursor_;
  bool ignore_case_;
};

}  // namespace quorvel::gbk
