#pragma once

// The one routine through which the program fetches a web page: the exchange runs on a worker
// thread while the window thread waits with a time limit and keeps handling window events.

#include <optional>

#include "base/text.h"

namespace quorvel {

// The text returned in place of the page when the time limit runs out.
extern const char* const kTimeOutMessage;

// Fetches `url` and returns the response body: as received (charset other than 1 and 2),
// or cut at its first zero byte and converted from UTF-8 (charset 1) or Big5 (charset 2) to
// GBK. A blank address, or a failed exchange, gives the empty byte string; the time limit
// gives kTimeOutMessage.
//
// - url: an address without a scheme gets "http://" in front, written back into the caller's
//   text.
// - method: 1 is POST, anything else GET.
// - proxy: "host:port" for plain-http requests; empty for a direct connection.
// - timeout_seconds: kOmitted is one minute; 0 or less ends at the first wake.
// - response_headers, received_cookies: written only when given (not null), and never on a
//   time-out.
// - allow_redirect: kOmitted means true.
ByteString WebAccess(Text& url, int32_t method = 0, const Text& proxy = {},
                     const Text& extra_headers = {}, const ByteString& post_data = {},
                     const Text& cookies = {},
                     std::optional<int32_t> timeout_seconds = std::nullopt,
                     Text* response_headers = nullptr, int32_t charset = 0,
                     Text* received_cookies = nullptr,
                     std::optional<bool> allow_redirect = std::nullopt);

}  // namespace quorvel
