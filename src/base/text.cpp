#include "base/text.h"

#include <cstring>
#include <utility>

namespace quorvel {

Text::Text(const char* zstr) {
  if (zstr != nullptr) bytes_.assign(zstr, std::strlen(zstr));
}

Text::Text(std::string_view bytes) : bytes_(bytes.substr(0, bytes.find('\0'))) {}

Text::Text(std::string&& bytes) : bytes_(std::move(bytes)) {
  const void* zero = std::memchr(bytes_.data(), 0, bytes_.size());
  if (zero) bytes_.resize(static_cast<const char*>(zero) - bytes_.data());
}

}  // namespace quorvel
