#pragma once

// The HTTP functions that the request worker calls by name, in our own shape, on libcurl.
//
// Handles are opaque; 0 (nullptr) means failure. One process-wide cookie store serves every
// request that does not carry INTERNET_FLAG_NO_COOKIES. A request runs synchronously in
// HttpSendRequestA; another thread can end it within milliseconds through its CancelToken.
// Callers in src/web/ reach these functions through HttpInterface (see Http() below), so that
// tests can put a recording fake in its place.

#include <cstdint>
#include <memory>
#include <string>

namespace quorvel::platform {

using HINTERNET = void*;

inline constexpr uint32_t INTERNET_OPEN_TYPE_DIRECT = 1;
inline constexpr uint32_t INTERNET_OPEN_TYPE_PROXY = 3;
inline constexpr uint32_t INTERNET_SERVICE_HTTP = 3;
inline constexpr uint32_t INTERNET_FLAG_RELOAD = 0x80000000u;
inline constexpr uint32_t INTERNET_FLAG_NEED_FILE = 0x10u;
inline constexpr uint32_t INTERNET_FLAG_NO_COOKIES = 0x80000u;
inline constexpr uint32_t INTERNET_FLAG_NO_AUTO_REDIRECT = 0x00200000u;
inline constexpr uint32_t INTERNET_FLAG_SECURE = 0x00800000u;
inline constexpr uint32_t INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS = 0x4000u;
inline constexpr uint32_t HTTP_QUERY_RAW_HEADERS_CRLF = 22;

// Opens a session. access_type 1: direct; 3: through the proxies in `proxy`, a list such as
// "http=host:port" (entries split by blanks or ";"; an entry without "scheme=" serves every
// scheme). The bypass list and flags are accepted and not used.
HINTERNET InternetOpenA(const char* agent, uint32_t access_type, const char* proxy,
                        const char* proxy_bypass, uint32_t flags);
// Names the server of later requests; nothing is sent yet. Only INTERNET_SERVICE_HTTP.
HINTERNET InternetConnectA(HINTERNET internet, const char* server, uint16_t port,
                           const char* user_name, const char* password, uint32_t service,
                           uint32_t flags, uintptr_t context);
// Prepares one request (verb null: GET; object null or empty: "/"). accept_types is not used.
HINTERNET HttpOpenRequestA(HINTERNET connection, const char* verb, const char* object_name,
                           const char* version, const char* referrer, const char** accept_types,
                           uint32_t flags, uintptr_t context);
// Performs the whole exchange and buffers the final answer. headers_length uint32 max: up to
// the zero. False when no answer came (refused, unreachable, TLS failure, cancelled).
bool HttpSendRequestA(HINTERNET request, const char* headers, uint32_t headers_length,
                      const void* body, uint32_t body_length);
// Hands out the buffered body in pieces; *bytes_read 0 at the end.
bool InternetReadFile(HINTERNET request, void* buffer, uint32_t bytes_to_read,
                      uint32_t* bytes_read);
// HTTP_QUERY_RAW_HEADERS_CRLF: the final answer's status line and header lines, each ending in
// "\r\n", then "\r\n" and a zero; *length becomes the count without the zero. A buffer too
// small: false, buffer untouched, *length the size needed with the zero.
bool HttpQueryInfoA(HINTERNET request, uint32_t info_level, void* buffer, uint32_t* length,
                    uint32_t* index);
// Frees any handle. Closing a session or connection leaves its requests usable.
bool InternetCloseHandle(HINTERNET handle);
// Stores a host-only cookie for the address's host: value up to the first ";", then the
// attributes path, expires, max-age, secure and HttpOnly; without expiry a session cookie.
bool InternetSetCookieA(const char* url, const char* cookie_name, const char* cookie_data);

// Why the last exchange of a request failed (empty when it did not). For tests and logs.
std::string RequestError(HINTERNET request);

// Lets another thread end the requests of one worker. Handles opened on a thread while a
// token is installed there (ScopedCancelToken) belong to it. Once cancelled, a running
// exchange ends within milliseconds, later ones fail at once, and no cookie reaches the store
// from those requests any more, nor from InternetSetCookieA on that thread.
class CancelToken {
 public:
  static std::shared_ptr<CancelToken> Create();
  virtual ~CancelToken() = default;
  virtual void Cancel() = 0;
  virtual bool IsCancelled() const = 0;
};

// Installs a token for the current thread for the life of this object.
class ScopedCancelToken {
 public:
  explicit ScopedCancelToken(std::shared_ptr<CancelToken> token);
  ~ScopedCancelToken();
  ScopedCancelToken(const ScopedCancelToken&) = delete;
  ScopedCancelToken& operator=(const ScopedCancelToken&) = delete;

 private:
  std::shared_ptr<CancelToken> previous_;
};

// Cancels the token of an open handle (every handle has one: the thread's, or its own).
void CancelRequest(HINTERNET handle);

// The seam: the functions above as one interface. Tests put a recording fake in place.
class HttpInterface {
 public:
  virtual ~HttpInterface() = default;
  virtual HINTERNET InternetOpenA(const char* agent, uint32_t access_type, const char* proxy,
                                  const char* proxy_bypass, uint32_t flags) = 0;
  virtual HINTERNET InternetConnectA(HINTERNET internet, const char* server, uint16_t port,
                                     const char* user_name, const char* password, uint32_t service,
                                     uint32_t flags, uintptr_t context) = 0;
  virtual HINTERNET HttpOpenRequestA(HINTERNET connection, const char* verb,
                                     const char* object_name, const char* version,
                                     const char* referrer, const char** accept_types,
                                     uint32_t flags, uintptr_t context) = 0;
  virtual bool HttpSendRequestA(HINTERNET request, const char* headers, uint32_t headers_length,
                                const void* body, uint32_t body_length) = 0;
  virtual bool InternetReadFile(HINTERNET request, void* buffer, uint32_t bytes_to_read,
                                uint32_t* bytes_read) = 0;
  virtual bool HttpQueryInfoA(HINTERNET request, uint32_t info_level, void* buffer,
                              uint32_t* length, uint32_t* index) = 0;
  virtual bool InternetCloseHandle(HINTERNET handle) = 0;
  virtual bool InternetSetCookieA(const char* url, const char* cookie_name,
                                  const char* cookie_data) = 0;
};

// The libcurl implementation.
HttpInterface& RealHttp();
// The implementation in use: RealHttp() unless a test replaced it.
HttpInterface& Http();
// Replaces it (null restores the real one). For tests; not thread-safe against running calls.
void SetHttpForTesting(HttpInterface* http);

}  // namespace quorvel::platform
