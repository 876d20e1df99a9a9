#pragma once

// Places the skin engine beside the program and attaches one of the built-in skins.

#include <cstdint>

namespace quorvel {

// Writes the engine library beside the program when it is missing, then attaches built-in
// skin `number` (1 to 33; any other number attaches no skin).
void ApplySkin(int32_t number);

}  // namespace quorvel
