#pragma once

// One whole exchange through the HTTP stand-in, made as the request worker makes it: open,
// connect, request, send, read the body in 2048-byte pieces, query the raw headers, close.

#include <cstdint>
#include <string>

namespace quorvel::testing {

struct HttpCall {
  std::string host = "127.0.0.1";
  int port = 0;
  std::string verb = "GET";
  std::string object = "/";
  uint32_t flags = 0;
  std::string headers;
  std::string body;
  std::string proxy_list;  // for the proxy access type; empty: direct
  std::string agent = "quorvel-test-agent";
};

struct HttpOutcome {
  bool sent = false;        // HttpSendRequestA's result
  std::string body;         // every byte read
  std::string raw_headers;  // the raw header query's text, empty when it failed
  std::string error;        // RequestError after the send
};

HttpOutcome Perform(const HttpCall& call);

}  // namespace quorvel::testing
