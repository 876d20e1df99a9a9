#include "platform/codepage.h"

#include <gtest/gtest.h>
#include <unicode/ucnv.h>

#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "support/test_support.h"

namespace quorvel::platform {
namespace {

using quorvel::testing::Gbk;

std::string_view Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

// Source bytes in another code page, made by ICU from UTF-16.
std::string EncodeWithIcu(const char* converter_name, std::u16string_view text) {
  UErrorCode status = U_ZERO_ERROR;
  UConverter* converter = ucnv_open(converter_name, &status);
  std::string out(text.size() * 3 + 4, '\0');
  int32_t n = ucnv_fromUChars(converter, out.data(), static_cast<int32_t>(out.size()),
                              reinterpret_cast<const UChar*>(text.data()),
                              static_cast<int32_t>(text.size()), &status);
  ucnv_close(converter);
  EXPECT_TRUE(U_SUCCESS(status)) << u_errorName(status);
  out.resize(static_cast<size_t>(n));
  return out;
}

// Measure, then convert, as the callers do: the whole result, terminating zero included.
std::u16string Decode(uint32_t code_page, const std::string& bytes, int length = -1) {
  int n = MultiByteToWideChar(code_page, 0, bytes.c_str(), length, nullptr, 0);
  std::u16string out(static_cast<size_t>(n), u'#');
  int written = MultiByteToWideChar(code_page, 0, bytes.c_str(), length, out.data(), n);
  EXPECT_EQ(written, n);
  return out;
}

std::string Encode(uint32_t code_page, const std::u16string& wide, const char* default_char,
                   bool* used_default = nullptr) {
  int n = WideCharToMultiByte(code_page, 0, wide.c_str(), -1, nullptr, 0, default_char, nullptr);
  std::string out(static_cast<size_t>(n), '#');
  int written = WideCharToMultiByte(code_page, 0, wide.c_str(), -1, out.data(), n, default_char,
                                    used_default);
  EXPECT_EQ(written, n);
  return out;
}

// --- Decoding: counts with -1 include the terminating zero; explicit lengths do not.

TEST(MultiByteToWideCharTest, DecodesEachCodePage) {
  struct Case {
    uint32_t code_page;
    std::string bytes;
    std::u16string expected;
  };
  const Case cases[] = {
      {CP_UTF8, "", std::u16string(1, u'\0')},
      {CP_UTF8, "abc", std::u16string(u"abc", 4)},
      {CP_UTF8, std::string(Utf8(u8"签到")), std::u16string(u"签到", 3)},
      {CP_UTF8, std::string(Utf8(u8"a😀")), std::u16string(u"a😀", 4)},
      {936, "签到", std::u16string(u"签到", 3)},
      {CP_ACP, "签到", std::u16string(u"签到", 3)},
      {950, EncodeWithIcu("Big5", u"簽到"), std::u16string(u"簽到", 3)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code_page);
    EXPECT_EQ(Decode(c.code_page, c.bytes), c.expected);
  }
}

TEST(MultiByteToWideCharTest, ExplicitLengthTakesNoTerminator) {
  EXPECT_EQ(Decode(936, "ab签到", 4), u"ab签");
}

// --- Invalid input: one U+FFFD per maximal invalid subsequence, the rest kept.

TEST(MultiByteToWideCharTest, ReplacesInvalidUtf8) {
  struct Case {
    const char* name;
    std::string bytes;
    std::u16string expected;
  };
  const Case cases[] = {
      {"stray byte",
       "a\xFF"
       "b",
       u"a\uFFFDb"},
      {"lone continuation", "\x80x", u"\uFFFDx"},
      {"truncated sequence",
       "\xE7\xAD"
       "x",
       u"\uFFFDx"},
      {"truncated at end", "x\xF0\x9F\x98", u"x\uFFFD"},
      {"overlong", "\xC0\x80", u"\uFFFD\uFFFD"},
      {"encoded surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::u16string expected = c.expected;
    expected.push_back(u'\0');
    EXPECT_EQ(Decode(CP_UTF8, c.bytes), expected);
  }
}

TEST(MultiByteToWideCharTest, RefusesWhatItDoesNotServe) {
  char16_t buffer[8];
  EXPECT_EQ(MultiByteToWideChar(1252, 0, "abc", -1, buffer, 8), 0);
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 8, "abc", -1, buffer, 8), 0);  // flags
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "abc", 0, buffer, 8), 0);
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, nullptr, -1, buffer, 8), 0);
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "abc", -1, buffer, 3), 0);  // no room for the zero
}

// --- Encoding: what the code page cannot hold becomes the default character.

TEST(WideCharToMultiByteTest, EncodesWithDefaultCharacter) {
  struct Case {
    const char* name;
    uint32_t code_page;
    std::u16string wide;
    const char* default_char;
    std::string expected;
    bool used_default;
  };
  using namespace std::string_literals;
  const Case cases[] = {
      {"gbk", 936, u"签到", nullptr, "签到\0"s, false},
      {"system code page", CP_ACP, u"a签", nullptr, "a签\0"s, false},
      {"empty", 936, u"", nullptr, "\0"s, false},
      {"thai letter", 936, u"a\u0E01b", nullptr, "a?b\0"s, true},
      {"pair outside gbk", 936, u"a😀b", nullptr, "a?b\0"s, true},
      {"lone surrogate", 936,
       u"a\xD800"
       "b",
       nullptr, "a?b\0"s, true},
      {"replacement character", 936, u"\uFFFD签", nullptr, "?签\0"s, true},
      {"soft hyphen", 936, u"a\u00ADb", nullptr, "a?b\0"s, true},
      {"euro sign", 936, u"\u20AC1", nullptr,
       "\x80"
       "1\0"s,
       false},
      {"given default", 936, u"a\u0E01", "*", "a*\0"s, true},
      {"zero default", 936, u"a\u0E01b", "\0", "a\0b\0"s, true},
      {"utf-8", CP_UTF8, u"签\xD800", nullptr, "\xE7\xAD\xBE\xEF\xBF\xBD\0"s, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    bool used = false;
    EXPECT_EQ(Encode(c.code_page, c.wide, c.default_char, c.code_page == CP_UTF8 ? nullptr : &used),
              c.expected);
    EXPECT_EQ(used, c.used_default);
  }
}

TEST(WideCharToMultiByteTest, ExplicitLengthAndRefusals) {
  char buffer[8] = {};
  EXPECT_EQ(WideCharToMultiByte(936, 0, u"签到", 1, buffer, 8, nullptr, nullptr), 2);
  EXPECT_EQ(std::string(buffer, 2), "签");
  bool used = false;
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"a", -1, buffer, 8, "?", nullptr), 0);
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"a", -1, buffer, 8, nullptr, &used), 0);
  EXPECT_EQ(WideCharToMultiByte(936, 0, u"签到", -1, buffer, 4, nullptr, nullptr), 0);
  EXPECT_EQ(WideCharToMultiByte(950, 1, u"a", -1, buffer, 8, nullptr, nullptr), 0);
}

// --- The UTF-8 fast path gives what ICU gives, over every character.

TEST(CodePageIcuAgreementTest, Utf8OfEveryCodePointDecodesAsIcuDoes) {
  std::u16string all;
  for (char32_t c = 1; c <= 0x10FFFF; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    if (c < 0x10000) {
      all.push_back(static_cast<char16_t>(c));
    } else {
      all.push_back(static_cast<char16_t>(0xD7C0 + (c >> 10)));
      all.push_back(static_cast<char16_t>(0xDC00 | (c & 0x3FF)));
    }
  }
  std::string utf8 = EncodeWithIcu("UTF-8", all);
  std::u16string decoded = Decode(CP_UTF8, utf8);
  ASSERT_FALSE(decoded.empty());
  decoded.pop_back();
  EXPECT_TRUE(decoded == all);
}

// --- Traditional to simplified, in GBK.

TEST(LCMapStringATest, SimplifiesCharacterForCharacter) {
  const std::string traditional = Gbk(Utf8(u8"簽到成功，您已經登錄 ok"));
  const std::string simplified = Gbk(Utf8(u8"签到成功，您已经登录 ok"));
  auto length = static_cast<int>(traditional.size());
  ASSERT_EQ(simplified.size(), traditional.size());

  EXPECT_EQ(LCMapStringA(kLocaleChinesePrc, LCMAP_SIMPLIFIED_CHINESE, traditional.c_str(), length,
                         nullptr, 0),
            length);
  std::string out(traditional.size() + 2, '#');
  EXPECT_EQ(LCMapStringA(kLocaleChinesePrc, LCMAP_SIMPLIFIED_CHINESE, traditional.c_str(), length,
                         out.data(), length),
            length);
  EXPECT_EQ(out, simplified + "##");  // no terminating zero written
}

TEST(LCMapStringATest, MinusOneIncludesTheZero) {
  char out[8];
  EXPECT_EQ(LCMapStringA(kLocaleChinesePrc, LCMAP_SIMPLIFIED_CHINESE, "經a", -1, out, 8), 4);
  EXPECT_EQ(std::string(out, 4), std::string("经a", 4));
}

TEST(LCMapStringATest, FailsWithoutWriting) {
  char out[4] = {'#', '#', '#', '#'};
  EXPECT_EQ(LCMapStringA(kLocaleChinesePrc, LCMAP_SIMPLIFIED_CHINESE, "經經", 4, out, 3), 0);
  EXPECT_EQ(LCMapStringA(1033, LCMAP_SIMPLIFIED_CHINESE, "ab", 2, out, 4), 0);
  EXPECT_EQ(LCMapStringA(kLocaleChinesePrc, 0, "ab", 2, out, 4), 0);
  EXPECT_EQ(LCMapStringA(kLocaleChinesePrc, LCMAP_SIMPLIFIED_CHINESE, "ab", 0, out, 4), 0);
  EXPECT_EQ(std::string(out, 4), "####");
}

// --- Worker threads convert at the same time as the window thread.

TEST(CodePageThreadsTest, ConcurrentConversionsDoNotMix) {
  const std::string big5 = EncodeWithIcu("Big5", u"簽到成功，您已經登錄");
  const std::string utf8 =
      std::string(Utf8(u8"签到成功")) + "\xFF" + std::string(Utf8(u8"您已经登录"));
  const std::string expected_gbk = Gbk(Utf8(u8"签到成功?您已经登录"));
  const std::string expected_simplified = Gbk(Utf8(u8"签到成功，您已经登录"));
  std::vector<std::thread> threads;
  std::vector<int> failures(4, 0);
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 200; ++i) {
        std::u16string wide = Decode(t % 2 == 0 ? CP_UTF8 : 950, t % 2 == 0 ? utf8 : big5);
        std::string gbk = Encode(936, wide, nullptr);
        gbk.pop_back();
        if (t % 2 == 0) {
          failures[t] += gbk != expected_gbk;
          continue;
        }
        std::string out(gbk.size(), ' ');
        LCMapStringA(kLocaleChinesePrc, LCMAP_SIMPLIFIED_CHINESE, gbk.c_str(),
                     static_cast<int>(gbk.size()), out.data(), static_cast<int>(out.size()));
        failures[t] += out != expected_simplified;
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(failures, std::vector<int>(4, 0));
}

}  // namespace
}  // namespace quorvel::platform
