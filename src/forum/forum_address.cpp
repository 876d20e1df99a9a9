#include "forum/forum_address.h"

namespace quorvel {
namespace {

Text& Address() {
  static Text address(kDefaultForumBaseAddress);
  return address;
}

}  // namespace

const Text& ForumBaseAddress() { return Address(); }

void SetForumBaseAddress(const Text& address) { Address() = address; }

}  // namespace quorvel
