// The HTTP functions of platform/http.h on the handle table and the libcurl transfer.

#include <cstring>
#include <ctime>

#include "platform/http.h"
#include "platform/http/cookie_store.h"
#include "platform/http/curl_handles.h"
#include "platform/http/handles.h"
#include "platform/http/transfer.h"

namespace quorvel::platform {
namespace {

using http::FindHandle;
using http::HandleKind;
using http::HandleObject;

std::string TextOrEmpty(const char* text) { return text == nullptr ? std::string() : text; }

// The address libcurl is given: scheme by the secure flag, host, port and object path.
std::string RequestUrl(const HandleObject& request) {
  bool secure = (request.flags & INTERNET_FLAG_SECURE) != 0;
  bool ipv6 = request.host.find(':') != std::string::npos && request.host.front() != '[';
  std::string url = secure ? "https://" : "http://";
  if (ipv6) url += '[';
  url += request.host;
  if (ipv6) url += ']';
  url += ':';
  url += std::to_string(request.port);
  if (request.object.empty() || request.object.front() != '/') url += '/';
  url += request.object;
  return url;
}

}  // namespace

HINTERNET InternetOpenA(const char* agent, uint32_t access_type, const char* proxy, const char*,
                        uint32_t) {
  if (!http::EnsureCurlGlobal()) return nullptr;
  if (access_type != INTERNET_OPEN_TYPE_DIRECT && access_type != INTERNET_OPEN_TYPE_PROXY) {
    return nullptr;
  }
  auto session = std::make_unique<HandleObject>();
  session->kind = HandleKind::kInternet;
  session->token = http::TokenForNewHandle();
  session->agent = TextOrEmpty(agent);
  if (access_type == INTERNET_OPEN_TYPE_PROXY) {
    http::ParseProxyList(TextOrEmpty(proxy), session->http_proxy, session->https_proxy);
  }
  return http::OpenHandle(std::move(session));
}

HINTERNET InternetConnectA(HINTERNET internet, const char* server, uint16_t port, const char*,
                           const char*, uint32_t service, uint32_t, uintptr_t) {
  HandleObject* session = FindHandle(internet, HandleKind::kInternet);
  if (session == nullptr || service != INTERNET_SERVICE_HTTP || server == nullptr ||
      *server == '\0') {
    return nullptr;
  }
  auto connection = std::make_unique<HandleObject>(*session);
  connection->kind = HandleKind::kConnection;
  connection->host = server;
  connection->port = port == 0 ? 80 : port;
  return http::OpenHandle(std::move(connection));
}

HINTERNET HttpOpenRequestA(HINTERNET connection, const char* verb, const char* object_name,
                           const char*, const char*, const char**, uint32_t flags, uintptr_t) {
  HandleObject* parent = FindHandle(connection, HandleKind::kConnection);
  if (parent == nullptr) return nullptr;
  auto request = std::make_unique<HandleObject>(*parent);
  request->kind = HandleKind::kRequest;
  request->verb = verb == nullptr || *verb == '\0' ? "GET" : verb;
  request->object = TextOrEmpty(object_name);
  request->flags = flags;
  return http::OpenHandle(std::move(request));
}

bool HttpSendRequestA(HINTERNET handle, const char* headers, uint32_t headers_length,
                      const void* body, uint32_t body_length) {
  HandleObject* request = FindHandle(handle, HandleKind::kRequest);
  if (request == nullptr) return false;
  http::TransferRequest transfer;
  transfer.url = RequestUrl(*request);
  transfer.verb = request->verb;
  if (headers != nullptr) {
    size_t length = headers_length == UINT32_MAX ? std::strlen(headers) : headers_length;
    transfer.header_text.assign(headers, length);
  }
  if (body != nullptr) transfer.body = {static_cast<const char*>(body), body_length};
  transfer.agent = request->agent;
  bool secure = (request->flags & INTERNET_FLAG_SECURE) != 0;
  transfer.proxy = secure ? request->https_proxy : request->http_proxy;
  transfer.use_cookies = (request->flags & INTERNET_FLAG_NO_COOKIES) == 0;
  transfer.follow_redirects = (request->flags & INTERNET_FLAG_NO_AUTO_REDIRECT) == 0;
  request->read_offset = 0;
  request->answer = http::RunTransfer(transfer, *request->token);
  return request->answer.ok;
}

bool InternetReadFile(HINTERNET handle, void* buffer, uint32_t bytes_to_read,
                      uint32_t* bytes_read) {
  if (bytes_read != nullptr) *bytes_read = 0;
  HandleObject* request = FindHandle(handle, HandleKind::kRequest);
  if (request == nullptr || !request->answer.ok || bytes_read == nullptr ||
      (buffer == nullptr && bytes_to_read > 0)) {
    return false;
  }
  const std::string& body = request->answer.body;
  size_t count = std::min<size_t>(bytes_to_read, body.size() - request->read_offset);
  if (count > 0) std::memcpy(buffer, body.data() + request->read_offset, count);
  request->read_offset += count;
  *bytes_read = static_cast<uint32_t>(count);
  return true;
}

bool HttpQueryInfoA(HINTERNET handle, uint32_t info_level, void* buffer, uint32_t* length,
                    uint32_t*) {
  HandleObject* request = FindHandle(handle, HandleKind::kRequest);
  if (request == nullptr || info_level != HTTP_QUERY_RAW_HEADERS_CRLF || length == nullptr ||
      request->answer.raw_headers.empty()) {
    return false;
  }
  const std::string& headers = request->answer.raw_headers;
  if (buffer == nullptr || *length < headers.size() + 1) {
    *length = static_cast<uint32_t>(headers.size() + 1);
    return false;
  }
  std::memcpy(buffer, headers.c_str(), headers.size() + 1);
  *length = static_cast<uint32_t>(headers.size());
  return true;
}

bool InternetCloseHandle(HINTERNET handle) { return http::CloseHandle(handle); }

bool InternetSetCookieA(const char* url, const char* cookie_name, const char* cookie_data) {
  std::shared_ptr<http::Canceller> token = http::InstalledToken();
  if (token && token->IsCancelled()) return false;  // an abandoned worker stores nothing
  if (url == nullptr || cookie_name == nullptr) return false;
  std::optional<std::string> line =
      http::CookieLine(url, cookie_name, TextOrEmpty(cookie_data), std::time(nullptr));
  return line && http::StoreCookieLine(*line);
}

std::string RequestError(HINTERNET handle) {
  HandleObject* request = FindHandle(handle, HandleKind::kRequest);
  return request == nullptr ? "not an open request" : request->answer.error;
}

void CancelRequest(HINTERNET handle) { http::CancelHandle(handle); }

}  // namespace quorvel::platform
