#pragma once

// GBK bytes as UTF-8, for what the program prints on the console or writes for tools.

#include <string>
#include <string_view>

namespace quorvel::platform {

// The GBK text re-encoded as UTF-8; a byte sequence that is not GBK becomes U+FFFD.
std::string GbkToUtf8(std::string_view gbk);

}  // namespace quorvel::platform
