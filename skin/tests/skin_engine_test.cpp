// The engine's exported entry: what it does to a running application, and without one.

#include <gtest/gtest.h>

#include <QApplication>
#include <QPalette>
#include <QStyle>

#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "engine/skin_file.h"
#include "shipped_skins.h"

extern "C" int32_t SkinH_AttachRes(const unsigned char* bytes, int32_t count, const char* text,
                                   int32_t, int32_t, int32_t);

namespace quorvel::skin {
namespace {

int32_t Attach(const std::string& bytes) {
  return SkinH_AttachRes(reinterpret_cast<const unsigned char*>(bytes.data()),
                         static_cast<int32_t>(bytes.size()), "", 0, 0, 0);
}

QColor WindowColourOf(const std::string& skin_bytes) {
  SkinDescription skin;
  EXPECT_EQ(ParseSkin(skin_bytes, &skin), SkinStatus::kOk);
  return BuildPalette(skin, QPalette()).color(QPalette::Active, QPalette::Window);
}

// The name of the style the application draws with. With a style sheet, Qt wraps that style
// in its style-sheet style, which keeps it as a child.
QString BaseStyleName() {
  QStyle* style = QApplication::style();
  if (!style->name().isEmpty()) return style->name().toLower();
  const auto inner = style->findChildren<QStyle*>(Qt::FindDirectChildrenOnly);
  return inner.isEmpty() ? QString() : inner.first()->name().toLower();
}

// --- Without an application: the skin is only checked ---

TEST(SkinEngineTest, WithoutAnApplicationOnlyChecks) {
  ASSERT_EQ(QCoreApplication::instance(), nullptr);
  EXPECT_EQ(Attach(ReadSkin(6)), 0);
  EXPECT_EQ(Attach("junk"), static_cast<int32_t>(SkinStatus::kBadSignature));
  EXPECT_EQ(SkinH_AttachRes(nullptr, 0, "", 0, 0, 0), 0);
  EXPECT_EQ(SkinH_AttachRes(nullptr, 12, "", 0, 0, 0), 0) << "a null address: no skin";
  const unsigned char byte = '.';
  EXPECT_EQ(SkinH_AttachRes(&byte, -1, "", 0, 0, 0), static_cast<int32_t>(SkinStatus::kBadCount));
  EXPECT_EQ(QCoreApplication::instance(), nullptr) << "the engine made no application";
}

// --- With an application: style, palette and style sheet ---

class SkinEngineAppTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen")); }
  void SetUp() override { app_ = std::make_unique<QApplication>(argc_, argv_); }
  void TearDown() override { app_.reset(); }

  int argc_ = 1;
  char name_[16] = "skin_tests";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> app_;
};

TEST_F(SkinEngineAppTest, AppliesStylePaletteAndSheetFromACopy) {
  std::string skin = ReadSkin(6);
  const QColor window = WindowColourOf(skin);
  SkinDescription parsed;
  ASSERT_EQ(ParseSkin(skin, &parsed), SkinStatus::kOk);

  ASSERT_EQ(Attach(skin), 0);
  skin.assign(skin.size(), '\0');  // the caller frees its bytes right after the call

  EXPECT_EQ(BaseStyleName(), QStringLiteral(u"fusion"));
  EXPECT_EQ(QApplication::palette().color(QPalette::Active, QPalette::Window), window);
  EXPECT_EQ(app_->styleSheet(), QString::fromUtf8(parsed.style_sheet));
}

TEST_F(SkinEngineAppTest, ARejectedOrMissingSkinKeepsTheLook) {
  const std::string classic = ReadSkin(12);  // the one skin drawn with the Windows style
  ASSERT_EQ(Attach(classic), 0);
  const QString sheet = app_->styleSheet();
  const QColor window = QApplication::palette().color(QPalette::Window);

  std::string cut = ReadSkin(6);
  cut.replace(cut.find("style Fusion"), 12, "style Motifs");
  EXPECT_NE(Attach(cut), 0);
  EXPECT_NE(Attach("random bytes"), 0);
  EXPECT_EQ(SkinH_AttachRes(nullptr, 0, "", 0, 0, 0), 0);

  EXPECT_EQ(BaseStyleName(), QStringLiteral(u"windows"));
  EXPECT_EQ(app_->styleSheet(), sheet);
  EXPECT_EQ(QApplication::palette().color(QPalette::Window), window);
}

}  // namespace
}  // namespace quorvel::skin
