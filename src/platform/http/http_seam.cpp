// The interface through which the web layer reaches the HTTP functions, and its real instance.

#include <atomic>

#include "platform/http.h"

namespace quorvel::platform {
namespace {

class CurlHttp final : public HttpInterface {
 public:
  HINTERNET InternetOpenA(const char* agent, uint32_t access_type, const char* proxy,
                          const char* proxy_bypass, uint32_t flags) override {
    return platform::InternetOpenA(agent, access_type, proxy, proxy_bypass, flags);
  }
  HINTERNET InternetConnectA(HINTERNET internet, const char* server, uint16_t port,
                             const char* user_name, const char* password, uint32_t service,
                             uint32_t flags, uintptr_t context) override {
    return platform::InternetConnectA(internet, server, port, user_name, password, service, flags,
                                      context);
  }
  HINTERNET HttpOpenRequestA(HINTERNET connection, const char* verb, const char* object_name,
                             const char* version, const char* referrer, const char** accept_types,
                             uint32_t flags, uintptr_t context) override {
    return platform::HttpOpenRequestA(connection, verb, object_name, version, referrer,
                                      accept_types, flags, context);
  }
  bool HttpSendRequestA(HINTERNET request, const char* headers, uint32_t headers_length,
                        const void* body, uint32_t body_length) override {
    return platform::HttpSendRequestA(request, headers, headers_length, body, body_length);
  }
  bool InternetReadFile(HINTERNET request, void* buffer, uint32_t bytes_to_read,
                        uint32_t* bytes_read) override {
    return platform::InternetReadFile(request, buffer, bytes_to_read, bytes_read);
  }
  bool HttpQueryInfoA(HINTERNET request, uint32_t info_level, void* buffer, uint32_t* length,
                      uint32_t* index) override {
    return platform::HttpQueryInfoA(request, info_level, buffer, length, index);
  }
  bool InternetCloseHandle(HINTERNET handle) override {
    return platform::InternetCloseHandle(handle);
  }
  bool InternetSetCookieA(const char* url, const char* cookie_name,
                          const char* cookie_data) override {
    return platform::InternetSetCookieA(url, cookie_name, cookie_data);
  }
};

std::atomic<HttpInterface*> replacement{nullptr};

}  // namespace

HttpInterface& RealHttp() {
  // Never destroyed: a worker abandoned at a time limit may still call it while the process
  // ends.
  static CurlHttp* const real = new CurlHttp;
  return *real;
}

HttpInterface& Http() {
  HttpInterface* http = replacement.load(std::memory_order_acquire);
  return http != nullptr ? *http : RealHttp();
}

void SetHttpForTesting(HttpInterface* http) { replacement.store(http, std::memory_order_release); }

}  // namespace quorvel::platform
