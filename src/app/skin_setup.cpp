#include "app/skin_setup.h"

namespace quorvel {

// The skin engine joins later; until then the window keeps the platform's look.
void ApplySkin(int32_t /*number*/) {}

}  // namespace quorvel
