#pragma once

// A recording fake of the HTTP functions: it keeps every argument it is given and answers
// with what the test set up. Install it with ScopedRecordingHttp.

#include <optional>
#include <string>
#include <vector>

#include "platform/http.h"

namespace quorvel::testing {

class RecordingHttp : public platform::HttpInterface {
 public:
  // What the fake answers. Until a request has been sent, reads give 0 and the header query
  // fails, as with the real functions.
  bool fail_open = false;
  bool fail_connect = false;
  bool fail_request = false;
  std::string body;         // handed out by InternetReadFile, in pieces of at most 2048
  std::string raw_headers;  // given back by HttpQueryInfoA (without the zero)
  bool headers_available = true;

  // What it was given.
  struct Open {
    std::string agent;
    uint32_t access_type;
    std::string proxy;
    std::string proxy_bypass;
    uint32_t flags;
  };
  struct Connect {
    std::string server;
    uint16_t port;
    std::string user_name, password;
    uint32_t service, flags;
    uintptr_t context;
  };
  struct Request {
    std::string verb, object, version, referrer;
    bool accept_types_given;
    uint32_t flags;
    uintptr_t context;
  };
  struct Send {
    std::string headers;  // exactly headers_length bytes
    uint32_t headers_length;
    std::optional<std::string> body;  // nothing when the pointer was null
    uint32_t body_length;
  };
  struct Cookie {
    std::string url, name, data;
  };
  std::vector<Open> opens;
  std::vector<Connect> connects;
  std::vector<Request> requests;
  std::vector<Send> sends;
  std::vector<uint32_t> query_lengths;  // the length given to each header query
  std::vector<Cookie> cookies;
  std::vector<std::string> closed;  // "internet", "connection" or "request", in order
  int reads = 0;

  platform::HINTERNET InternetOpenA(const char* agent, uint32_t access_type, const char* proxy,
                                    const char* proxy_bypass, uint32_t flags) override;
  platform::HINTERNET InternetConnectA(platform::HINTERNET internet, const char* server,
                                       uint16_t port, const char* user_name, const char* password,
                                       uint32_t service, uint32_t flags,
                                       uintptr_t context) override;
  platform::HINTERNET HttpOpenRequestA(platform::HINTERNET connection, const char* verb,
                                       const char* object_name, const char* version,
                                       const char* referrer, const char** accept_types,
                                       uint32_t flags, uintptr_t context) override;
  bool HttpSendRequestA(platform::HINTERNET request, const char* headers, uint32_t headers_length,
                        const void* body, uint32_t body_length) override;
  bool InternetReadFile(platform::HINTERNET request, void* buffer, uint32_t bytes_to_read,
                        uint32_t* bytes_read) override;
  bool HttpQueryInfoA(platform::HINTERNET request, uint32_t info_level, void* buffer,
                      uint32_t* length, uint32_t* index) override;
  bool InternetCloseHandle(platform::HINTERNET handle) override;
  bool InternetSetCookieA(const char* url, const char* cookie_name,
                          const char* cookie_data) override;

 private:
  size_t read_offset_ = 0;
};

// Puts the fake in place of the real functions for the life of this object.
class ScopedRecordingHttp {
 public:
  explicit ScopedRecordingHttp(RecordingHttp& fake) { platform::SetHttpForTesting(&fake); }
  ~ScopedRecordingHttp() { platform::SetHttpForTesting(nullptr); }
  ScopedRecordingHttp(const ScopedRecordingHttp&) = delete;
  ScopedRecordingHttp& operator=(const ScopedRecordingHttp&) = delete;
};

}  // namespace quorvel::testing
