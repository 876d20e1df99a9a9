// The skin engine's one exported function. It reads a skin file (see skin_file.h) and gives
// the running Qt application that look: its style, its palette and its style sheet. Without a
// QApplication (a run with no window) it only checks the skin.

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>

#include <cstdint>
#include <string_view>

#include "engine/skin_file.h"

namespace quorvel::skin {
namespace {

SkinStatus Apply(const SkinDescription& skin, QApplication* app) {
  QStyle* style = QStyleFactory::create(QString::fromLatin1(skin.style));
  if (style == nullptr) return SkinStatus::kUnknownStyle;
  QApplication::setStyle(style);  // the application owns the style from here
  QApplication::setPalette(BuildPalette(skin, style->standardPalette()));
  app->setStyleSheet(QString::fromUtf8(skin.style_sheet));
  return SkinStatus::kOk;
}

}  // namespace
}  // namespace quorvel::skin

// Attaches the skin held in `bytes` (`count` bytes). The bytes stay the caller's: everything
// needed is copied before returning. A null address or a count of 0 keeps the current look.
// The text and the three numbers are accepted for the caller's sake and not used.
// Returns 0 when the skin was applied (or only checked, without an application), otherwise
// the reason it was rejected (SkinStatus); a rejected skin changes nothing.
extern "C" __attribute__((visibility("default"))) int32_t SkinH_AttachRes(
    const unsigned char* bytes, int32_t count, const char* /*text*/, int32_t /*unused1*/,
    int32_t /*unused2*/, int32_t /*unused3*/) {
  using quorvel::skin::SkinStatus;
  if (count < 0) return static_cast<int32_t>(SkinStatus::kBadCount);
  if (bytes == nullptr || count == 0) return static_cast<int32_t>(SkinStatus::kOk);

  quorvel::skin::SkinDescription skin;
  SkinStatus status = quorvel::skin::ParseSkin(
      std::string_view(reinterpret_cast<const char*>(bytes), static_cast<size_t>(count)), &skin);
  if (status != SkinStatus::kOk) return static_cast<int32_t>(status);

  auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
  if (app == nullptr) return static_cast<int32_t>(SkinStatus::kOk);
  return static_cast<int32_t>(quorvel::skin::Apply(skin, app));
}
