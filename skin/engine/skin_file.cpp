#include "engine/skin_file.h"

#include <QByteArrayView>
#include <QMetaEnum>
#include <QStringDecoder>

#include <array>
#include <utility>

namespace quorvel::skin {
namespace {

constexpr std::string_view kSignature = ".SHE";
constexpr std::string_view kSheetSeparator = "---";

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
    s.remove_suffix(1);
  }
  return s;
}

// Splits off the first line (without its line end); `rest` is what follows it.
std::string_view NextLine(std::string_view* rest) {
  size_t end = rest->find('\n');
  std::string_view line = rest->substr(0, end);
  rest->remove_prefix(end == std::string_view::npos ? rest->size() : end + 1);
  return line;
}

// Splits "key value" at the first blank; the value is trimmed.
std::pair<std::string_view, std::string_view> SplitKey(std::string_view line) {
  size_t blank = line.find_first_of(" \t");
  if (blank == std::string_view::npos) return {line, {}};
  return {line.substr(0, blank), TrimBlanks(line.substr(blank))};
}

bool IsUtf8WithoutZero(std::string_view bytes) {
  if (bytes.find('\0') != std::string_view::npos) return false;
  QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
  QString ignored = decoder(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
  return !decoder.hasError();
}

bool ParseVersionLine(std::string_view line) {
  line = TrimBlanks(line.substr(kSignature.size()));
  return line.size() == 1 && line[0] == '0' + kSkinFormatVersion;
}

bool ParseHexColor(std::string_view text, uint32_t* rgb) {
  if (text.size() != 7 || text[0] != '#') return false;
  uint32_t value = 0;
  for (char c : text.substr(1)) {
    int digit = (c >= '0' && c <= '9')   ? c - '0'
                : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                         : -1;
    if (digit < 0) return false;
    value = value * 16 + static_cast<uint32_t>(digit);
  }
  *rgb = value;
  return true;
}

bool ParseGroup(std::string_view name, QPalette::ColorGroup* group) {
  static constexpr std::array<std::pair<std::string_view, QPalette::ColorGroup>, 3> kGroups = {{
      {"Active", QPalette::Active},
      {"Inactive", QPalette::Inactive},
      {"Disabled", QPalette::Disabled},
  }};
  for (const auto& [key, value] : kGroups) {
    if (key == name) {
      *group = value;
      return true;
    }
  }
  return false;
}

bool ParseRole(std::string_view name, QPalette::ColorRole* role) {
  bool ok = false;
  int value = QMetaEnum::fromType<QPalette::ColorRole>().keyToValue(std::string(name).c_str(), &ok);
  if (!ok || value < 0 || value >= QPalette::NColorRoles || value == QPalette::NoRole) {
    return false;
  }
  *role = static_cast<QPalette::ColorRole>(value);
  return true;
}

// "[Group:]Role #rrggbb"
SkinStatus ParseColorLine(std::string_view value, PaletteColor* color) {
  auto [target, hex] = SplitKey(value);
  if (target.empty() || hex.empty()) return SkinStatus::kBadLine;
  size_t colon = target.find(':');
  if (colon != std::string_view::npos) {
    color->all_groups = false;
    if (!ParseGroup(target.substr(0, colon), &color->group)) return SkinStatus::kUnknownRole;
    target.remove_prefix(colon + 1);
  }
  if (!ParseRole(target, &color->role)) return SkinStatus::kUnknownRole;
  if (!ParseHexColor(hex, &color->rgb)) return SkinStatus::kBadColor;
  return SkinStatus::kOk;
}

SkinStatus ParseStyle(std::string_view value, std::string* style) {
  if (!style->empty()) return SkinStatus::kBadLine;  // a second "style" line
  for (std::string_view known : {"Fusion", "Windows"}) {
    if (value == known) {
      *style = known;
      return SkinStatus::kOk;
    }
  }
  return SkinStatus::kUnknownStyle;
}

SkinStatus ParseSetting(std::string_view line, SkinDescription* out) {
  auto [key, value] = SplitKey(line);
  if (key == "name") {
    out->name = value;
    return SkinStatus::kOk;
  }
  if (key == "style") return ParseStyle(value, &out->style);
  if (key == "color") {
    PaletteColor color;
    SkinStatus status = ParseColorLine(value, &color);
    if (status == SkinStatus::kOk) out->colors.push_back(color);
    return status;
  }
  return SkinStatus::kBadLine;
}

}  // namespace

SkinStatus ParseSkin(std::string_view bytes, SkinDescription* out) {
  *out = SkinDescription{};
  if (bytes.substr(0, kSignature.size()) != kSignature) return SkinStatus::kBadSignature;
  if (!IsUtf8WithoutZero(bytes)) return SkinStatus::kBadEncoding;
  std::string_view rest = bytes;
  if (!ParseVersionLine(NextLine(&rest))) return SkinStatus::kUnsupportedVersion;
  while (!rest.empty()) {
    std::string_view line = TrimBlanks(NextLine(&rest));
    if (line.empty() || line.front() == '#') continue;
    if (line == kSheetSeparator) {
      out->style_sheet = rest;
      break;
    }
    SkinStatus status = ParseSetting(line, out);
    if (status != SkinStatus::kOk) return status;
  }
  return out->style.empty() ? SkinStatus::kUnknownStyle : SkinStatus::kOk;
}

QPalette BuildPalette(const SkinDescription& skin, QPalette base) {
  for (const PaletteColor& c : skin.colors) {
    QColor color(static_cast<int>((c.rgb >> 16) & 0xff), static_cast<int>((c.rgb >> 8) & 0xff),
                 static_cast<int>(c.rgb & 0xff));
    if (c.all_groups) {
      base.setColor(c.role, color);
    } else {
      base.setColor(c.group, c.role, color);
    }
  }
  return base;
}

}  // namespace quorvel::skin
