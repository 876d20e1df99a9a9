#include "base/text.h"

#include <cstring>

namespace quorvel {

Text::Text(const char* zstr) {
  if (zstr != nullptr) bytes_.assign(zstr, std::strlen(zstr));
}

Text::Text(std::string_view bytes) : bytes_(bytes.substr(0, bytes.find('\0'))) {}

}  // namespace quorvel
