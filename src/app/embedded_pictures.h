#pragma once

// The pictures the main window carries inside the program (made by assets/make-pictures).

#include <string>

namespace quorvel {

// The program's icon: a 128 by 128 logo, 32 bits per pixel, in the .ico format.
std::string LogoIcon();
// The picture of 图片框1: a JPEG of 120 by 120 pixels.
std::string LogoPicture();

}  // namespace quorvel
