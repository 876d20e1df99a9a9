#pragma once

// A plain-text picture of a form's state, one line per control, for tools that watch a running
// window from outside (the end-to-end tests). UTF-8. The text of a box in password mode is
// never written, only its length.

#include <string>

#include "platform/window/form.h"

namespace quorvel::platform {

// "form destroyed=0|1" and then one line per control in creation order:
// "<name> visible=0|1 enabled=0|1 text=<text>" (password boxes: "password=1 length=<bytes>").
std::string DescribeForm(const Form& form);

// Writes DescribeForm to the file named by the environment variable QUORVEL_STATE_DUMP, when it
// is set, replacing the file in one step. Does nothing otherwise.
void DumpFormIfAsked(const Form& form);

}  // namespace quorvel::platform
