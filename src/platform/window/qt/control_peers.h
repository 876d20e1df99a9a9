#pragma once

// One Qt widget per control: creates it at the control's place and keeps it showing the
// control's state. Widgets are updated with their signals blocked, so a change made by the
// program never comes back as user input; user input reaches the control through its User*
// calls.

#include <functional>
#include <memory>

#include "platform/window/controls.h"

class QWidget;

namespace quorvel::platform {

// Creates the widget for `control` as a child of `parent`, attaches the returned peer to the
// control and shows its present state. `after_change` runs after every change the peer shows.
std::unique_ptr<ControlPeer> MakeControlPeer(Control& control, QWidget* parent,
                                             std::function<void()> after_change);

}  // namespace quorvel::platform
