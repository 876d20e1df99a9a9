#include "engine/skin_file.h"
#include "shipped_skins.h"

#include <gtest/gtest.h>

#include <QColor>

#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

namespace quorvel::skin {
namespace {

using namespace std::string_literals;

// --- Rejected skins: the reason is reported, nothing is half-read ---

struct RejectCase {
  const char* label;
  std::string bytes;
  SkinStatus expected;
};

TEST(ParseSkinTest, RejectsMalformedSkins) {
  const RejectCase cases[] = {
      {"empty", "", SkinStatus::kBadSignature},
      {"lower-case signature", ".she 1\nstyle Fusion\n", SkinStatus::kBadSignature},
      {"signature cut short", ".SH", SkinStatus::kBadSignature},
      {"random bytes",
       "\x7f"
       "ELF\x02\x01\x01",
       SkinStatus::kBadSignature},
      {"newer version", ".SHE 2\nstyle Fusion\n", SkinStatus::kUnsupportedVersion},
      {"no version", ".SHE\nstyle Fusion\n", SkinStatus::kUnsupportedVersion},
      {"zero byte", ".SHE 1\nstyle Fusion\n\0"s, SkinStatus::kBadEncoding},
      {"not UTF-8", ".SHE 1\nname \xff\xfe\nstyle Fusion\n", SkinStatus::kBadEncoding},
      {"unknown key", ".SHE 1\nstyle Fusion\nfont Serif\n", SkinStatus::kBadLine},
      {"second style", ".SHE 1\nstyle Fusion\nstyle Windows\n", SkinStatus::kBadLine},
      {"colour without value", ".SHE 1\nstyle Fusion\ncolor Window\n", SkinStatus::kBadLine},
      {"no style", ".SHE 1\nname Plain\n", SkinStatus::kUnknownStyle},
      {"unknown style", ".SHE 1\nstyle Motif\n", SkinStatus::kUnknownStyle},
      {"style case", ".SHE 1\nstyle fusion\n", SkinStatus::kUnknownStyle},
      {"unknown role", ".SHE 1\nstyle Fusion\ncolor Wndow #ffffff\n", SkinStatus::kUnknownRole},
      {"not a role", ".SHE 1\nstyle Fusion\ncolor NoRole #ffffff\n", SkinStatus::kUnknownRole},
      {"unknown group", ".SHE 1\nstyle Fusion\ncolor All:Window #ffffff\n",
       SkinStatus::kUnknownRole},
      {"short colour", ".SHE 1\nstyle Fusion\ncolor Window #fff\n", SkinStatus::kBadColor},
      {"named colour", ".SHE 1\nstyle Fusion\ncolor Window white\n", SkinStatus::kBadColor},
      {"non-hex colour", ".SHE 1\nstyle Fusion\ncolor Window #12345g\n", SkinStatus::kBadColor},
  };
  for (const RejectCase& c : cases) {
    SkinDescription skin;
    EXPECT_EQ(ParseSkin(c.bytes, &skin), c.expected) << c.label;
  }
}

// --- Accepted skins ---

TEST(ParseSkinTest, ReadsSettingsCommentsAndSheet) {
  const std::string bytes =
      ".SHE 1\r\n"
      "# a comment\r\n"
      "\r\n"
      "name  Harbour Blue \r\n"
      "style Windows\r\n"
      "color Window #0A0b0C\r\n"
      "color Disabled:Text #102030\r\n"
      "---\r\n"
      "QPushButton { color: red; }\n---\nstyle Motif\n";
  SkinDescription skin;
  ASSERT_EQ(ParseSkin(bytes, &skin), SkinStatus::kOk);
  EXPECT_EQ(skin.name, "Harbour Blue");
  EXPECT_EQ(skin.style, "Windows");
  ASSERT_EQ(skin.colors.size(), 2u);
  EXPECT_TRUE(skin.colors[0].all_groups);
  EXPECT_EQ(skin.colors[0].role, QPalette::Window);
  EXPECT_EQ(skin.colors[0].rgb, 0x0a0b0cu);
  EXPECT_FALSE(skin.colors[1].all_groups);
  EXPECT_EQ(skin.colors[1].group, QPalette::Disabled);
  EXPECT_EQ(skin.colors[1].role, QPalette::Text);
  // Everything after the first separator is the sheet, verbatim, even lines that look like
  // settings.
  EXPECT_EQ(skin.style_sheet, "QPushButton { color: red; }\n---\nstyle Motif\n");
}

TEST(ParseSkinTest, MinimalSkinHasNoSheet) {
  SkinDescription skin;
  ASSERT_EQ(ParseSkin(".SHE 1\nstyle Fusion", &skin), SkinStatus::kOk);
  EXPECT_TRUE(skin.colors.empty());
  EXPECT_TRUE(skin.style_sheet.empty());
}

TEST(BuildPaletteTest, LaterLinesOverrideEarlierOnesInTheirGroup) {
  SkinDescription skin;
  ASSERT_EQ(ParseSkin(".SHE 1\nstyle Fusion\n"
                      "color Text #111111\n"
                      "color Disabled:Text #999999\n"
                      "color Inactive:Text #555555\n",
                      &skin),
            SkinStatus::kOk);
  QPalette palette = BuildPalette(skin, QPalette(QColor(0x20, 0x20, 0x20)));
  EXPECT_EQ(palette.color(QPalette::Active, QPalette::Text), QColor(0x11, 0x11, 0x11));
  EXPECT_EQ(palette.color(QPalette::Inactive, QPalette::Text), QColor(0x55, 0x55, 0x55));
  EXPECT_EQ(palette.color(QPalette::Disabled, QPalette::Text), QColor(0x99, 0x99, 0x99));
  // A role that the skin leaves alone keeps the base palette's colour.
  EXPECT_EQ(palette.color(QPalette::Active, QPalette::Button), QColor(0x20, 0x20, 0x20));
}

// --- The shipped skins ---

TEST(BuiltInSkinsTest, EveryOneIsAcceptedCompleteAndDistinct) {
  std::set<std::string> names;
  std::set<std::string> contents;
  for (int number = 1; number <= 33; ++number) {
    SCOPED_TRACE(number);
    const std::string bytes = ReadSkin(number);
    SkinDescription skin;
    ASSERT_EQ(ParseSkin(bytes, &skin), SkinStatus::kOk);
    EXPECT_FALSE(skin.style_sheet.empty());
    std::set<QPalette::ColorRole> roles;
    for (const PaletteColor& c : skin.colors) roles.insert(c.role);
    for (QPalette::ColorRole role :
         {QPalette::Window, QPalette::WindowText, QPalette::Base, QPalette::Text, QPalette::Button,
          QPalette::ButtonText, QPalette::Highlight, QPalette::HighlightedText}) {
      EXPECT_TRUE(roles.count(role)) << "role " << role;
    }
    names.insert(skin.name);
    contents.insert(bytes.substr(bytes.find("\ncolor ")));  // the look, without the name
  }
  EXPECT_EQ(names.size(), 33u);
  EXPECT_EQ(contents.size(), 33u);
}

}  // namespace
}  // namespace quorvel::skin
