#pragma once

// The window services that the handlers call: message box, status-bar text and the processing
// of pending window events. They go to the window backend in force (Qt, or headless in tests
// and the --headless mode).

#include <cstdint>

#include "base/text.h"
#include "platform/window/controls.h"

namespace quorvel {

// A modal message box with the text and the title, one OK button and no icon; returns when it
// is closed (1). Every caller passes button set 0. The headless backend prints
// "<title>: <text>" in UTF-8 on standard output and returns at once.
int32_t ShowMessage(const Text& text, int32_t buttons, const Text& title);

// Shows the text in part `part` (from 0) of the bar; a part outside the bar does nothing.
void SetStatusText(platform::StatusBar& bar, int32_t part, const Text& text);

// Handles every pending window event, running its handlers here, nested in the caller.
void ProcessEvents();

}  // namespace quorvel
