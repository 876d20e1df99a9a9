#pragma once

// The objects behind the opaque handles, and the process-wide table of open ones.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/http.h"
#include "platform/http/cancel.h"
#include "platform/http/transfer.h"

namespace quorvel::platform::http {

enum class HandleKind { kInternet, kConnection, kRequest };

// One object per handle. A child copies what it needs from its parent, so closing the parent
// first leaves it usable.
struct HandleObject {
  HandleKind kind = HandleKind::kInternet;
  std::shared_ptr<Canceller> token;
  // session
  std::string agent;
  std::string http_proxy;   // "host:port" for plain-http requests; empty: direct
  std::string https_proxy;  // the same for https requests
  // connection
  std::string host;
  uint16_t port = 0;
  // request
  std::string verb;
  std::string object;
  uint32_t flags = 0;
  TransferResult answer;
  size_t read_offset = 0;
};

// Splits a proxy list such as "http=host:port https=other:443" or "host:port" (every scheme)
// into the proxy for plain http and the one for https.
void ParseProxyList(std::string_view list, std::string& http, std::string& https);

// Takes ownership and returns the new handle.
HINTERNET OpenHandle(std::unique_ptr<HandleObject> object);
// The open object of that handle and kind; null for a closed, unknown or other handle.
HandleObject* FindHandle(HINTERNET handle, HandleKind kind);
// Frees the handle; false when it is not open.
bool CloseHandle(HINTERNET handle);
// Cancels the token of an open handle; nothing for another.
void CancelHandle(HINTERNET handle);

}  // namespace quorvel::platform::http
