#pragma once

// The skin files shipped in skin/skins/, read by number, for the engine's tests.

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace quorvel::skin {

// The bytes of skin/skins/skinNN.she; empty when it cannot be read.
inline std::string ReadSkin(int number) {
  char name[32];
  std::snprintf(name, sizeof name, "/skin%02d.she", number);
  std::ifstream in(std::string(QUORVEL_SKIN_DIR) + name, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

}  // namespace quorvel::skin
