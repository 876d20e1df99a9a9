// The fast scans (raw search, then a look back over the bytes >= 0x80 before a candidate;
// sixteen bytes at a time for ToLower) against plain character-by-character walks, on many
// random texts made of the bytes that matter: letters, blanks, line ends, lead bytes, the
// full-width blank's 0xA1 and second bytes in the ASCII range. Long texts reach the
// eight- and sixteen-byte paths.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "base/gbk_scan.h"
#include "base/memory_file.h"
#include "base/text_ops.h"

namespace quorvel {
namespace {

// Character boundaries by walking from the start (gbk::Next), and the size itself.
std::vector<bool> Boundaries(std::string_view text) {
  std::vector<bool> at(text.size() + 1, false);
  size_t p = 0;
  for (; p < text.size(); p = gbk::Next(text, p)) at[p] = true;
  if (p == text.size()) at[p] = true;
  return at;
}

bool Matches(std::string_view text, size_t at, std::string_view sub, bool ignore_case) {
  return at + sub.size() <= text.size() && gbk::MatchesAt(text, at, sub, ignore_case);
}

int32_t WalkFindReverse(std::string_view text, std::string_view sub, bool ignore_case) {
  const std::vector<bool> boundary = Boundaries(text);
  int32_t last = -1;
  for (size_t p = 0; p < text.size(); ++p) {
    if (boundary[p] && Matches(text, p, sub, ignore_case)) last = static_cast<int32_t>(p + 1);
  }
  return last;
}

std::string WalkToLower(std::string text) {
  for (size_t p = 0; p < text.size(); p = gbk::Next(text, p)) text[p] = gbk::Fold(text[p]);
  return text;
}

std::string WalkTrim(std::string_view in) {
  size_t begin = 0;
  auto full_width = [&](size_t p) {
    return p + 1 < in.size() && in[p] == '\xA1' && in[p + 1] == '\xA1';
  };
  while (begin < in.size() && (in[begin] == ' ' || full_width(begin)))
    begin += in[begin] == ' ' ? 1 : 2;
  size_t run = std::string_view::npos;
  for (size_t p = begin; p < in.size(); p = gbk::Next(in, p)) {
    if (gbk::IsLead(in[p]) && p + 1 >= in.size()) return std::string(in.substr(begin, p - begin));
    const bool blank = in[p] == ' ' || full_width(p);
    if (!blank)
      run = std::string_view::npos;
    else if (run == std::string_view::npos)
      run = p;
  }
  return std::string(in.substr(begin, (run == std::string_view::npos ? in.size() : run) - begin));
}

std::vector<std::string> WalkLines(std::string_view bytes) {
  std::vector<std::string> lines;
  size_t at = 0;
  while (at < bytes.size()) {
    const size_t begin = at;
    size_t end = bytes.size();
    while (at < bytes.size()) {
      const char byte = bytes[at];
      if (byte == '\n' || byte == '\0' || byte == '\x1A') {
        end = at++;
        break;
      }
      const bool pair = gbk::IsLead(byte) && at + 1 < bytes.size() && bytes[at + 1] != '\0' &&
                        bytes[at + 1] != '\x1A';
      at += pair ? 2 : 1;
      end = at;
    }
    std::string line(bytes.substr(begin, end - begin));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::vector<std::string> FastLines(const std::string& bytes) {
  const FileNumber file = OpenMemoryFile();
  WriteBytes(file, ByteString(bytes));
  SeekToStart(file);
  std::vector<std::string> lines;
  while (!AtEnd(file)) lines.push_back(ReadLine(file).str());
  CloseFile(file);
  return lines;
}

class TextScanReferenceTest : public ::testing::Test {
 protected:
  // Long runs of one kind (up to 40 bytes) so that the block paths see runs of every length.
  // With stops, zero and 0x1A bytes come too (for ReadLine).
  std::string RandomText(size_t max_size, bool stops = false) {
    static const char kBytes[] = {'A',    'a',    'Z',    'b', ' ', '\r',   '\n', '\xA1',
                                  '\xB0', '\xC1', '\xFE', '@', '[', '\x80', '\0', '\x1A'};
    std::string text;
    const size_t size = std::uniform_int_distribution<size_t>(0, max_size)(random_);
    while (text.size() < size) {
      const char byte = kBytes[random_() % (sizeof kBytes - (stops ? 0 : 2))];
      text.append(std::uniform_int_distribution<size_t>(1, random_() % 4 == 0 ? 40 : 2)(random_),
                  byte);
    }
    return text.substr(0, size);
  }

  std::mt19937 random_{20261211};
};

TEST_F(TextScanReferenceTest, SearchesAgreeWithACharacterWalk) {
  for (int i = 0; i < 3000; ++i) {
    const std::string text = RandomText(120);
    const std::string sub = RandomText(4);
    if (sub.empty()) continue;
    for (const bool ignore_case : {false, true}) {
      EXPECT_EQ(FindTextReverse(Text(text), Text(sub), kOmitted, ignore_case),
                WalkFindReverse(text, sub, ignore_case))
          << testing::PrintToString(text) << " / " << testing::PrintToString(sub);
      const int32_t first = FindText(Text(text), Text(sub), kOmitted, ignore_case);
      const std::vector<bool> boundary = Boundaries(text);
      int32_t expected = -1;
      for (size_t p = 0; p < text.size() && expected < 0; ++p) {
        if (boundary[p] && Matches(text, p, sub, ignore_case))
          expected = static_cast<int32_t>(p + 1);
      }
      EXPECT_EQ(first, expected) << testing::PrintToString(text);
    }
  }
}

TEST_F(TextScanReferenceTest, RewritesAgreeWithACharacterWalk) {
  for (int i = 0; i < 3000; ++i) {
    const std::string text = RandomText(200);
    EXPECT_EQ(ToLower(Text(text)).str(), WalkToLower(text)) << testing::PrintToString(text);
    EXPECT_EQ(TrimBlanks(Text(text)).str(), WalkTrim(text)) << testing::PrintToString(text);
    const std::string bytes = RandomText(200, /*stops=*/true);
    EXPECT_EQ(FastLines(bytes), WalkLines(bytes)) << testing::PrintToString(bytes);
  }
}

}  // namespace
}  // namespace quorvel
