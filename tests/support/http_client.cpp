#include "support/http_client.h"

#include "platform/http.h"

namespace quorvel::testing {

using namespace quorvel::platform;

HttpOutcome Perform(const HttpCall& call) {
  HttpOutcome out;
  HINTERNET internet =
      InternetOpenA(call.agent.c_str(),
                    call.proxy_list.empty() ? INTERNET_OPEN_TYPE_DIRECT : INTERNET_OPEN_TYPE_PROXY,
                    call.proxy_list.c_str(), "", 0);
  HINTERNET connection =
      InternetConnectA(internet, call.host.c_str(), static_cast<uint16_t>(call.port), "", "",
                       INTERNET_SERVICE_HTTP, 0, 0);
  HINTERNET request = HttpOpenRequestA(connection, call.verb.c_str(), call.object.c_str(),
                                       "HTTP/1.1", "", nullptr, call.flags, 0);
  if (request == nullptr) {
    out.error = "request not opened";
  } else {
    out.sent = HttpSendRequestA(
        request, call.headers.data(), static_cast<uint32_t>(call.headers.size()),
        call.body.empty() ? nullptr : call.body.data(), static_cast<uint32_t>(call.body.size()));
    out.error = RequestError(request);
    char buffer[2048];
    uint32_t count = 0;
    while (InternetReadFile(request, buffer, sizeof buffer, &count) && count > 0) {
      out.body.append(buffer, count);
    }
    std::string headers(64 * 1024, '\0');
    uint32_t length = static_cast<uint32_t>(headers.size());
    if (HttpQueryInfoA(request, HTTP_QUERY_RAW_HEADERS_CRLF, headers.data(), &length, nullptr)) {
      out.raw_headers = headers.substr(0, length);
    }
  }
  InternetCloseHandle(request);
  InternetCloseHandle(connection);
  InternetCloseHandle(internet);
  return out;
}

}  // namespace quorvel::testing
