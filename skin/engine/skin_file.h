#pragma once

// The skin file format read by the skin engine (version 1).
//
// A skin file is UTF-8 text after a four-byte signature:
//
//   .SHE 1                      signature ".SHE", a space, the format version, a line end
//   # a comment                 blank lines and lines starting with '#' are skipped
//   name Harbour Blue           a display name (optional)
//   style Fusion                the Qt style to draw with: Fusion or Windows (required)
//   color Window #eef2f6        a palette role in every colour group ...
//   color Disabled:Text #9aa5b1 ... or in one group: Active, Inactive or Disabled
//   ---                         everything after this line is a Qt style sheet (optional)
//
// Lines are applied in order, so a later colour line overrides an earlier one. Anything else
// (an unknown key, role or group, a colour that is not #rrggbb, a second "style") rejects the
// whole skin: a skin is either taken as a whole or not at all.

#include <QPalette>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel::skin {

// Why a skin was rejected; the engine returns this number to its caller. Zero means accepted.
enum class SkinStatus : int32_t {
  kOk = 0,
  kBadSignature = 1,        // does not begin with ".SHE"
  kUnsupportedVersion = 2,  // the version is not 1
  kBadLine = 3,             // a line that is not one of the forms above
  kUnknownStyle = 4,        // a style other than Fusion or Windows, or none at all
  kUnknownRole = 5,         // a colour group or role that the palette does not have
  kBadColor = 6,            // a colour that is not #rrggbb
  kBadEncoding = 7,         // the text is not UTF-8 (or holds a zero byte)
  kBadCount = 8,            // a negative byte count
};

// One "color" line.
struct PaletteColor {
  bool all_groups = true;  // false: only `group`
  QPalette::ColorGroup group = QPalette::Active;
  QPalette::ColorRole role = QPalette::Window;
  uint32_t rgb = 0;  // 0xRRGGBB
};

// A parsed skin: everything the engine needs after the caller's bytes are gone.
struct SkinDescription {
  std::string name;
  std::string style;  // "Fusion" or "Windows"
  std::vector<PaletteColor> colors;
  std::string style_sheet;  // UTF-8
};

// The format version this engine reads.
inline constexpr int kSkinFormatVersion = 1;

// Parses a whole skin file. On kOk `out` holds the skin; otherwise `out` is unspecified.
SkinStatus ParseSkin(std::string_view bytes, SkinDescription* out);

// The palette that a skin describes, on top of `base` (the style's standard palette).
QPalette BuildPalette(const SkinDescription& skin, QPalette base);

}  // namespace quorvel::skin
