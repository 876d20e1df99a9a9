#include "support/recording_http.h"

#include <algorithm>
#include <cstring>

namespace quorvel::testing {
namespace {

using platform::HINTERNET;

// Three fixed non-null handles, one per kind.
HINTERNET const kInternet = reinterpret_cast<HINTERNET>(uintptr_t{0x1001});
HINTERNET const kConnection = reinterpret_cast<HINTERNET>(uintptr_t{0x2002});
HINTERNET const kRequest = reinterpret_cast<HINTERNET>(uintptr_t{0x3003});

std::string Copy(const char* text) { return text == nullptr ? "<null>" : text; }

}  // namespace

HINTERNET RecordingHttp::InternetOpenA(const char* agent, uint32_t access_type, const char* proxy,
                                       const char* proxy_bypass, uint32_t flags) {
  opens.push_back({Copy(agent), access_type, Copy(proxy), Copy(proxy_bypass), flags});
  return fail_open ? nullptr : kInternet;
}

HINTERNET RecordingHttp::InternetConnectA(HINTERNET internet, const char* server, uint16_t port,
                                          const char* user_name, const char* password,
                                          uint32_t service, uint32_t flags, uintptr_t context) {
  if (internet != kInternet) return nullptr;
  connects.push_back(
      {Copy(server), port, Copy(user_name), Copy(password), service, flags, context});
  return fail_connect ? nullptr : kConnection;
}

HINTERNET RecordingHttp::HttpOpenRequestA(HINTERNET connection, const char* verb,
                                          const char* object_name, const char* version,
                                          const char* referrer, const char** accept_types,
                                          uint32_t flags, uintptr_t context) {
  if (connection != kConnection) return nullptr;
  requests.push_back({Copy(verb), Copy(object_name), Copy(version), Copy(referrer),
                      accept_types != nullptr, flags, context});
  return fail_request ? nullptr : kRequest;
}

bool RecordingHttp::HttpSendRequestA(HINTERNET request, const char* headers,
                                     uint32_t headers_length, const void* body_bytes,
                                     uint32_t body_length) {
  if (request != kRequest) return false;
  Send send{headers == nullptr ? "" : std::string(headers, headers_length), headers_length,
            std::nullopt, body_length};
  if (body_bytes != nullptr)
    send.body = std::string(static_cast<const char*>(body_bytes), body_length);
  sends.push_back(send);
  return true;
}

bool RecordingHttp::InternetReadFile(HINTERNET request, void* buffer, uint32_t bytes_to_read,
                                     uint32_t* bytes_read) {
  ++reads;
  *bytes_read = 0;
  if (request != kRequest || sends.empty()) return false;
  size_t count = std::min<size_t>({bytes_to_read, 2048, body.size() - read_offset_});
  std::memcpy(buffer, body.data() + read_offset_, count);
  read_offset_ += count;
  *bytes_read = static_cast<uint32_t>(count);
  return true;
}

bool RecordingHttp::HttpQueryInfoA(HINTERNET request, uint32_t info_level, void* buffer,
                                   uint32_t* length, uint32_t*) {
  query_lengths.push_back(*length);
  if (request != kRequest || info_level != platform::HTTP_QUERY_RAW_HEADERS_CRLF ||
      !headers_available || sends.empty()) {
    return false;
  }
  if (*length < raw_headers.size() + 1) {
    *length = static_cast<uint32_t>(raw_headers.size() + 1);
    return false;
  }
  std::memcpy(buffer, raw_headers.c_str(), raw_headers.size() + 1);
  *length = static_cast<uint32_t>(raw_headers.size());
  return true;
}

bool RecordingHttp::InternetCloseHandle(HINTERNET handle) {
  closed.push_back(handle == kInternet     ? "internet"
                   : handle == kConnection ? "connection"
                   : handle == kRequest    ? "request"
                                           : "other");
  return true;
}

bool RecordingHttp::InternetSetCookieA(const char* url, const char* cookie_name,
                                       const char* cookie_data) {
  cookies.push_back({Copy(url), Copy(cookie_name), Copy(cookie_data)});
  return true;
}

}  // namespace quorvel::testing
