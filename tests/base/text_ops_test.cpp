#include "base/text_ops.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

// "中" in GBK is D6 D0; "文" is CE C4. Hex escapes keep the bytes exact where a test is about
// the bytes of a character.
constexpr const char* kZhong = "\xD6\xD0";

// FindText and FindTextReverse.
struct FindCase {
  const char* text;
  const char* sub;
  std::optional<int32_t> start;
  bool ignore_case;
  int32_t expected;
};

TEST(FindTextTest, Table) {
  const FindCase cases[] = {
      // empty sub: 1 when the searched range is not empty
      {"abc", "", kOmitted, false, 1},
      {"abc", "", 3, false, 1},
      {"", "", kOmitted, false, -1},
      {"abc", "", 4, false, -1},
      // start clamping
      {"abc", "c", 4, false, -1},
      {"abc", "c", 0, false, 3},
      {"abc", "c", -5, false, 3},
      {"abcabc", "abc", 2, false, 4},
      // letter case
      {"user-agent: x", "User-Agent:", 1, true, 1},
      {"user-agent: x", "User-Agent:", 1, false, -1},
      // a sub that would match only from the second byte of a character is not found there:
      // "\xB0\xA1" is one character, so "\xA1\x41" inside "\xB0\xA1\x41" starts mid-character
      {"\xB0\xA1\x41", "\xA1\x41", kOmitted, false, -1},
      {"x\xA1\x41", "\xA1\x41", kOmitted, false, 2},  // here it starts on a boundary
      {"xA\xA1\x41", "\xA1\x41", kOmitted, false, 3},
      // ignoring case folds the second byte of a character too
      {"\xB0\x61", "\xB0\x41", kOmitted, true, 1},
      // a scan that starts on a second byte begins exactly there
      {"\xB0\xA1\xA1\x41", "\xA1\xA1", 2, false, 2},
  };
  for (const FindCase& c : cases) {
    EXPECT_EQ(FindText(c.text, c.sub, c.start, c.ignore_case), c.expected)
        << "text=" << c.text << " sub=" << c.sub;
  }
}

TEST(FindTextReverseTest, Table) {
  const FindCase cases[] = {
      {"ab-ab-ab", "ab", kOmitted, false, 7},
      {"ab-ab-ab", "AB", kOmitted, true, 7},
      {"ab-ab-ab", "AB", kOmitted, false, -1},
      // a given start limits the window to the first start - 1 bytes
      {"ab-ab-ab", "ab", 8, false, 4},
      {"ab-ab-ab", "ab", 9, false, 7},
      {"ab-ab-ab", "ab", 1, false, -1},
      {"ab-ab-ab", "ab", -3, false, -1},
      {"abc", "", kOmitted, false, 1},
      {"abc", "", 1, false, -1},
      // only occurrences that begin on a character boundary count
      {"\xB0\xA1\x41\xA1\x41", "\xA1\x41", kOmitted, false, 4},
  };
  for (const FindCase& c : cases) {
    EXPECT_EQ(FindTextReverse(c.text, c.sub, c.start, c.ignore_case), c.expected)
        << "text=" << c.text << " sub=" << c.sub;
  }
}

TEST(FindTextTest, FindsChinesePhrasesInAGbkPage) {
  const Text page = "<p>您已经顺利登录</p><p>您已经顺利登录</p>";
  EXPECT_EQ(FindText(page, "您已经顺利登录", kOmitted, true), 4);
  EXPECT_EQ(FindTextReverse(page, "您已经顺利登录", kOmitted, true), 4 + 14 + 7);
}

// Cuts.
TEST(TextCutTest, Table) {
  EXPECT_EQ(TextLeft("abc", 0), Text());
  EXPECT_EQ(TextLeft("abc", 10), Text("abc"));
  EXPECT_EQ(TextRight("abc", -1), Text());
  EXPECT_EQ(TextRight("abc", 2), Text("bc"));
  EXPECT_EQ(TextMid("abcdef", 5, 10), Text("ef"));
  EXPECT_EQ(TextMid("abcdef", 7, 1), Text());
  EXPECT_EQ(TextMid("abcdef", 0, 3), Text());
  EXPECT_EQ(ConcatText("a", Text(), "b", kZhong), Text("ab\xD6\xD0"));
}

TEST(ReplaceRangeTest, Table) {
  EXPECT_EQ(ReplaceRange("Set-Cookie: a=1", 1, 12), Text("a=1"));
  EXPECT_EQ(ReplaceRange("abc", 1, 12), Text());
  EXPECT_EQ(ReplaceRange("abc", 2, 1, "XY"), Text("aXYc"));
  EXPECT_EQ(ReplaceRange("abc", 9, 1, "Z"), Text("abcZ"));  // start clamped to the end
  EXPECT_EQ(ReplaceRange("abc", 1, -4), Text("abc"));
}

struct ReplaceCase {
  const char* text;
  const char* sub;
  const char* replacement;
  std::optional<int32_t> start;
  std::optional<int32_t> count;
  bool case_sensitive;
  const char* expected;
};

TEST(ReplaceSubtextTest, Table) {
  const ReplaceCase cases[] = {
      {"xabyab", "ab", "", kOmitted, kOmitted, true, "xy"},
      {"xabyab", "ab", "", kOmitted, 1, true, "xyab"},
      {"xAByAB", "ab", "", kOmitted, kOmitted, true, "xAByAB"},
      {"xAByAB", "ab", "-", kOmitted, kOmitted, false, "x-y-"},
      // a given count of 0 replaces none; a start skips the first bytes
      {"abab", "ab", "", kOmitted, 0, true, "abab"},
      {"abab", "ab", "", 2, kOmitted, true, "ab"},
      {"abab", "ab", "", 9, kOmitted, true, "abab"},
      // the scan moves over two-byte characters whole
      {"\xB0\xA1\x41", "\xA1\x41", "", kOmitted, kOmitted, true, "\xB0\xA1\x41"},
      {"a#引号b", "#引号", "\"", kOmitted, kOmitted, true, "a\"b"},
      // replacements do not rescan their own output
      {"aaa", "a", "aa", kOmitted, kOmitted, true, "aaaaaa"},
      // a lone lead byte at the end is dropped when a one-byte sub is compared against it
      {"ab\xB0", "x", "", kOmitted, kOmitted, true, "ab"},
      {"ab\xB0", "xy", "", kOmitted, kOmitted, true, "ab\xB0"},
  };
  for (const ReplaceCase& c : cases) {
    EXPECT_EQ(ReplaceSubtext(c.text, c.sub, c.replacement, c.start, c.count, c.case_sensitive),
              Text(c.expected))
        << "text=" << c.text << " sub=" << c.sub;
  }
}

TEST(TrimBlanksTest, Table) {
  const std::pair<const char*, const char*> cases[] = {
      {"  ab c  ", "ab c"},
      {"\xA1\xA1"
       "ab\xA1\xA1",
       "ab"},
      {"ab\t", "ab\t"},
      {"\tab", "\tab"},
      {"   ", ""},
      {"\xA1\xA1 \xA1\xA1", ""},
      {"", ""},
      // a space that is the second byte of a character is not a blank
      {"\xB0\x20", "\xB0\x20"},
      // a lone lead byte at the end is cut instead of the blanks before it
      {"ab  \xB0", "ab  "},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(TrimBlanks(in), Text(out)) << in;
}

TEST(ToLowerTest, LowersOnlyAsciiLettersOutsideCharacters) {
  EXPECT_EQ(ToLower("ABC中文"), Text("abc中文"));
  EXPECT_EQ(ToLower("\xB0\x41Z"), Text("\xB0\x41z"));
}

TEST(CompareTextTest, Table) {
  EXPECT_EQ(CompareText("http://", "HTTP://", false), 0);
  EXPECT_NE(CompareText("http://", "HTTP://", true), 0);
  EXPECT_LT(CompareText("a", "b", true), 0);
  EXPECT_GT(CompareText("ab", "a", true), 0);
  // the second byte of a character is compared as it stands, not folded
  EXPECT_NE(CompareText("\xB0\x41", "\xB0\x61", false), 0);
}

}  // namespace
}  // namespace quorvel
