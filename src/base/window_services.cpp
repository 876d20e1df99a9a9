#include "base/window_services.h"

#include "platform/window/backend.h"

namespace quorvel {

int32_t ShowMessage(const Text& text, int32_t buttons, const Text& title) {
  return platform::Backend().ShowMessage(text.str(), buttons, title.str());
}

void SetStatusText(platform::StatusBar& bar, int32_t part, const Text& text) {
  platform::Backend().SetStatusText(bar, part, text.str());
}

void ProcessEvents() { platform::Backend().ProcessEvents(); }

}  // namespace quorvel
