#pragma once

// The skin engine library and the built-in skins that the program carries inside itself.

#include <cstdint>

#include "base/text.h"

namespace quorvel {

// The built-in skins are numbered 1 to kBuiltInSkinCount.
inline constexpr int32_t kBuiltInSkinCount = 33;

// A fresh copy of built-in skin `number`; empty for a number outside 1 to 33.
ByteString BuiltInSkin(int32_t number);
// A fresh copy of the skin engine library, the bytes of the file SkinH_EL.dll.
ByteString SkinEngineLibrary();

}  // namespace quorvel
