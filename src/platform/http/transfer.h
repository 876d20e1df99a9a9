#pragma once

// One whole HTTP exchange on libcurl, driven by a multi handle so that a cancel ends it at once.

#include <string>
#include <string_view>
#include <vector>

#include "platform/http/cancel.h"

namespace quorvel::platform::http {

struct TransferRequest {
  std::string url;
  std::string verb;
  std::string header_text;  // lines as the caller gave them
  std::string_view body;
  std::string agent;
  std::string proxy;  // "host:port"; empty: direct
  bool use_cookies = true;
  bool follow_redirects = true;
};

struct TransferResult {
  bool ok = false;
  std::string error;        // why no answer came, when !ok
  std::string body;         // the final answer's body
  std::string raw_headers;  // status line and header lines, each with "\r\n", then "\r\n"
};

// The header lines to hand to libcurl: the caller's lines (split at line ends, empty ones
// dropped; "Name:" with an empty value as "Name;" so that it goes out empty; Content-Length
// dropped because libcurl counts the body itself), then "Accept:", "Expect:" and
// "Content-Type:" for each of those the caller did not give, which keeps libcurl's defaults out.
std::vector<std::string> HeaderLinesToSend(std::string_view header_text);

// Performs the exchange; returns when it is complete, has failed or the token is cancelled.
TransferResult RunTransfer(const TransferRequest& request, Canceller& token);

}  // namespace quorvel::platform::http
