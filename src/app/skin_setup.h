#pragma once

// Places the skin engine beside the program and attaches one of the built-in skins.

#include <cstdint>

namespace quorvel {

// The engine's file name in the program's directory.
inline constexpr const char* kSkinEngineFileName = "SkinH_EL.dll";

// Writes the engine library to RunDirectory() + "/SkinH_EL.dll" when nothing of that name is
// there, then marks the file hidden. A file of that name is used as it is and never replaced.
// Failures are not reported: the first call into the engine ends the program instead.
void DeploySkinEngine();

// Places the engine (DeploySkinEngine), then attaches a fresh copy of built-in skin `number`
// (1 to 33) through SkinH_AttachRes; any other number attaches no skin (a null address and a
// count of 0). The engine's answer is not used.
void ApplySkin(int32_t number);

}  // namespace quorvel
