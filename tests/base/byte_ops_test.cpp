#include "base/byte_ops.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

TEST(ConversionTest, ToTextCutsAtTheFirstZeroByte) {
  EXPECT_EQ(ToText(ByteString(std::string("ab\0c", 4))), Text("ab"));
  EXPECT_EQ(ToText(ByteString(std::string("\0c", 2))), Text());
  EXPECT_EQ(ToBytes(Text("ab")), ByteString(std::string("ab")));
  EXPECT_EQ(Text(std::string_view("a\0b", 3)), Text("a"));
}

TEST(ConversionTest, NumbersAndTruthValues) {
  EXPECT_EQ(ToText(-12), Text("-12"));
  EXPECT_EQ(ToText(0), Text("0"));
  EXPECT_EQ(ToText(INT32_MIN), Text("-2147483648"));
  EXPECT_EQ(ToText(true), Text("真"));
  EXPECT_EQ(ToText(false), Text("假"));
  EXPECT_EQ(ToText(true).view(), "\xD5\xE6");
}

TEST(ToNumberTest, Table) {
  const std::pair<const char*, double> cases[] = {
      {"80", 80},
      {"80abc", 80},
      {"８０", 80},
      {"abc", 0},
      {"", 0},
      {" \t-7", -7},
      {"+3.5", 3.5},
      {"1e3x", 1000},
      {"2e", 2},
      {".5", 0.5},
      {"0x10", 0},
      {"inf", 0},
      {"-", 0},
      {"1.2.3", 1.2},
      {"\xA1\xA1"
       "42",
       42},  // a full-width space counts as white space
  };
  for (const auto& [in, out] : cases) EXPECT_DOUBLE_EQ(ToNumber(in), out) << in;
}

TEST(ByteStringTest, CutsAndBlanks) {
  const ByteString bytes(std::string("a\0bc", 4));
  EXPECT_EQ(BytesLeft(bytes, 2), ByteString(std::string("a\0", 2)));
  EXPECT_EQ(BytesLeft(bytes, -1), ByteString());
  EXPECT_EQ(BytesLeft(bytes, 99), bytes);
  EXPECT_EQ(BlankBytes(3), ByteString(std::string(3, '\0')));
  EXPECT_EQ(BlankBytes(-3), ByteString());
  EXPECT_EQ(BlankText(2), Text("  "));
  EXPECT_EQ(BitOr(0x10, 0x4000), 0x4010);
}

TEST(ByteStringTest, AppendingToAValueGivenUpKeepsEveryByte) {
  ByteString body;
  const ByteString piece(std::string("x\0y", 3));
  for (int i = 0; i < 1000; ++i) body = ConcatBytes(std::move(body), piece);
  EXPECT_EQ(BytesLength(body), 3000);
  EXPECT_EQ(body.view().substr(2997), piece.view());
  EXPECT_EQ(ConcatBytes({ByteString(), piece, ByteString()}), piece);
}

}  // namespace
}  // namespace quorvel
