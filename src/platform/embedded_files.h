#pragma once

// Files built into the program (the pictures of assets/, through src/app/pictures.qrc).

#include <string>

namespace quorvel::platform {

// The bytes of the built-in file `name` (such as "logo.ico"); empty when there is none.
std::string EmbeddedPicture(const char* name);

}  // namespace quorvel::platform
