#include "web/charset.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "base/text_ops.h"

namespace quorvel {
namespace {

// Texts in the build's literals are GBK; inputs in other code pages are spelled as bytes.
Text Utf8(const char8_t* text) { return Text(reinterpret_cast<const char*>(text)); }

// "簽到成功，您已經登錄" in Big5; note the 0x5C ("\") trail byte of "功".
const Text kBig5Traditional(
    "\xC3\xB1\xA8\xEC\xA6\xA8\xA5\x5C\xA1\x41\xB1\x7A\xA4\x77\xB8\x67\xB5\x6E\xBF\xFD");
// "‧" (U+2027) in Big5: GBK has no such character.
const Text kBig5HyphenationPoint("\xA1\x45");

TEST(Utf8ToAnsiTest, ConvertsToGbk) {
  struct Case {
    const char* name;
    Text utf8;
    Text gbk;
  };
  const Case cases[] = {
      {"chinese", Utf8(u8"签到"), "签到"},
      {"ascii", "step=2&x=<a href=\"/u.php\">", "step=2&x=<a href=\"/u.php\">"},
      {"empty", "", ""},
      {"mixed page", Utf8(u8"<p>您已经顺利登录</p>"), "<p>您已经顺利登录</p>"},
      // Invalid UTF-8: one "?" for each invalid part, the rest kept.
      {"stray byte",
       Text("a\xFF"
            "b"),
       "a?b"},
      {"truncated sequence", ConcatText(Utf8(u8"签"), "\xE5\x88", Utf8(u8"到")), "签?到"},
      {"overlong zero",
       Text("a\xC0\x80"
            "b"),
       "a??b"},
      {"truncated at end", Text("ok\xE7\xAD"), "ok?"},
      // Valid UTF-8 that GBK cannot hold.
      {"outside gbk", Utf8(u8"a\u0E01😀b"), "a??b"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Utf8ToAnsi(c.utf8).str(), c.gbk.str());
  }
}

TEST(Big5ToSimplifiedTest, ConvertsAndSimplifies) {
  struct Case {
    const char* name;
    Text big5;
    Text gbk;
  };
  const Case cases[] = {
      {"traditional page", kBig5Traditional, "签到成功，您已经登录"},
      {"ascii", "GET /u.php?x=1", "GET /u.php?x=1"},
      {"empty", "", ""},
      // A character GBK cannot hold becomes "?" and the rest of the page stays.
      {"outside gbk", ConcatText(kBig5Traditional, kBig5HyphenationPoint, "ok"),
       "签到成功，您已经登录?ok"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Big5ToSimplified(c.big5).str(), c.gbk.str());
  }
  EXPECT_EQ(Big5ToSimplified(kBig5Traditional).size(), kBig5Traditional.size());
}

TEST(CharsetStepsTest, WideTextHoldsItsZeroUnit) {
  using namespace std::string_literals;
  EXPECT_EQ(DecodeToWide("ab", 0, false).str(), "a\0b\0\0\0"s);
  EXPECT_EQ(DecodeToWide("", 0, false).str(), "\0\0"s);
  EXPECT_EQ(DecodeToWide("签", 936, true).str(), "\x7E\x7B\0\0"s);  // U+7B7E
}

TEST(CharsetStepsTest, EncodesUpToTheZeroUnit) {
  using namespace std::string_literals;
  // Without a code page: the system's, GBK.
  EXPECT_EQ(EncodeFromWide(ByteString("\x7E\x7B\x61\0\0\0"s), 0, false).str(), "签a");
  EXPECT_EQ(EncodeFromWide(ByteString("a\0\0\0b\0\0\0"s), 936, true).str(), "a");
  EXPECT_EQ(EncodeFromWide(ByteString(), 936, true).str(), "");
  // Missing its zero unit: its whole units are read, and no further.
  EXPECT_EQ(EncodeFromWide(ByteString("a\0b\0c"s), 936, true).str(), "ab");
}

TEST(CharsetStepsTest, Big5AndSimplifiedSteps) {
  EXPECT_EQ(Big5ToAnsi(kBig5Traditional).str(), "簽到成功，您已經登錄");
  EXPECT_EQ(ToSimplified("簽到成功，您已經登錄").str(), "签到成功，您已经登录");
  EXPECT_EQ(ToSimplified("").str(), "");
}

}  // namespace
}  // namespace quorvel
