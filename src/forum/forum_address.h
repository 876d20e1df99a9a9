#pragma once

// The forum's base address: an "http://" address without a trailing slash, from which every
// forum address (login, punch, user page, home page) is formed.

#include "base/text.h"

namespace quorvel {

inline constexpr const char* kDefaultForumBaseAddress = "http://bbs.quorvel.com";

// The address in force: the default until the program's options replace it.
const Text& ForumBaseAddress();
// Replaces the address for the rest of the run (the --forum option).
void SetForumBaseAddress(const Text& address);

}  // namespace quorvel
