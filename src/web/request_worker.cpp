#include "web/request_worker.h"

#include <algorithm>

#include "base/byte_ops.h"
#include "base/text_ops.h"
#include "platform/http.h"
#include "web/cookie_harvest.h"
#include "web/request_headers.h"
#include "web/url_helpers.h"

namespace quorvel {
namespace {

using platform::HINTERNET;

constexpr int kSlots = 7;
constexpr int32_t kReadSize = 2048;
constexpr int32_t kHeaderBufferSize = 2048;

// The record as the worker reads it.
struct Request {
  Text address;
  Text method;
  bool direct = true;  // slot 2 holds no bytes
  Text proxy;
  Text headers;  // the working copy; slot 3 keeps the caller's text
  ByteString body;
  Text cookies;
  bool follow_redirects = false;
  bool secure = false;
};

Request ReadRequest(const TextArray& record) {
  Request request;
  request.address = ToText(record[0]);
  request.method = ToText(record[1]);
  request.direct = record[2].empty();
  request.proxy = ToText(record[2]);
  request.headers = ToText(record[3]);
  request.body = record[4];
  request.cookies = ToText(record[5]);
  request.follow_redirects = ToText(record[6]) == Text("真");
  // Only the scheme at the start makes a request secure, in any letter case.
  request.secure = SchemeOf(request.address) == Scheme::kHttps;
  return request;
}

HINTERNET OpenSession(const Request& request, const Text& agent) {
  platform::HttpInterface& http = platform::Http();
  if (request.direct) {
    return http.InternetOpenA(agent.c_str(), platform::INTERNET_OPEN_TYPE_DIRECT, "", "", 0);
  }
  Text list = ConcatText("http=", request.proxy);
  return http.InternetOpenA(agent.c_str(), platform::INTERNET_OPEN_TYPE_PROXY, list.c_str(), "", 0);
}

// Sends by the method text, compared exactly: GET, POST, or nothing at all.
void Send(HINTERNET handle, const Request& request, Text& headers) {
  bool get = request.method == Text("GET");
  bool post = request.method == Text("POST");
  if (!get && !post) return;
  if (post && !request.body.empty()) AddBodyLines(headers, BytesLength(request.body));
  if (!request.cookies.empty()) AddCookieLine(headers, request.cookies);
  bool with_body = post && !request.body.empty();
  platform::Http().HttpSendRequestA(handle, headers.c_str(), static_cast<uint32_t>(headers.size()),
                                    with_body ? request.body.data() : nullptr,
                                    with_body ? static_cast<uint32_t>(request.body.size()) : 0);
}

// Reads the body in pieces of at most 2048 bytes until a read gives 0. One buffer serves every
// read, and each piece is appended in place, so a large body costs one copy per byte.
ByteString ReadBody(HINTERNET handle) {
  ByteString body;
  ByteString buffer = BlankBytes(kReadSize);
  for (;;) {
    uint32_t count = 0;
    platform::Http().InternetReadFile(handle, buffer.mutable_str().data(), kReadSize, &count);
    if (count == 0) break;
    body.mutable_str().append(buffer.data(), std::min<uint32_t>(count, kReadSize));
  }
  return body;
}

// The raw headers. Headers longer than the buffer are asked for again with the size the first
// query reported, so that none is lost; a query that fails otherwise gives the empty text.
Text ReadRawHeaders(HINTERNET handle) {
  uint32_t length = kHeaderBufferSize;
  ByteString buffer = BlankBytes(static_cast<int32_t>(length));
  bool ok = platform::Http().HttpQueryInfoA(handle, platform::HTTP_QUERY_RAW_HEADERS_CRLF,
                                            buffer.mutable_str().data(), &length, nullptr);
  if (!ok && length > kHeaderBufferSize) {
    buffer = BlankBytes(static_cast<int32_t>(length));
    ok = platform::Http().HttpQueryInfoA(handle, platform::HTTP_QUERY_RAW_HEADERS_CRLF,
                                         buffer.mutable_str().data(), &length, nullptr);
  }
  return ok ? ToText(buffer) : Text();
}

void WriteBack(FileNumber file, const TextArray& record) {
  SeekToStart(file);
  WriteArray(file, record);
}

// A failed open: slots 0 and 6 emptied, the others as read; the open handles closed.
void WriteBackFailure(FileNumber file, TextArray record, HINTERNET connection, HINTERNET internet) {
  if (connection != nullptr) platform::Http().InternetCloseHandle(connection);
  if (internet != nullptr) platform::Http().InternetCloseHandle(internet);
  record[0] = ByteString();
  record[6] = ByteString();
  WriteBack(file, record);
}

}  // namespace

void RequestWorker(FileNumber file) {
  TextArray record(kSlots);
  if (!SeekToStart(file) || !ReadArray(file, record)) return;
  Request request = ReadRequest(record);
  platform::HttpInterface& http = platform::Http();
  Text host = HostOf(request.address);
  Text path = PathOf(request.address);
  Text agent = UserAgentOf(request.headers);

  HINTERNET internet = OpenSession(request, agent);
  if (internet == nullptr) return WriteBackFailure(file, std::move(record), nullptr, nullptr);
  // PortOf gives the written port, else 443 for "https://" and 80 for "http://".
  int32_t port = PortOf(request.address);
  HINTERNET connection = http.InternetConnectA(internet, host.c_str(), static_cast<uint16_t>(port),
                                               "", "", platform::INTERNET_SERVICE_HTTP, 0, 0);
  if (connection == nullptr) return WriteBackFailure(file, std::move(record), nullptr, internet);
  uint32_t flags = RequestFlags(request.secure, request.cookies, request.follow_redirects);
  HINTERNET handle = http.HttpOpenRequestA(connection, request.method.c_str(), path.c_str(),
                                           "HTTP/1.1", "", nullptr, flags, 0);
  if (handle == nullptr) {
    return WriteBackFailure(file, std::move(record), connection, internet);
  }

  Text headers = request.headers;
  AddDefaultLines(headers, request.address);
  Send(handle, request, headers);
  record[0] = ReadBody(handle);
  Text raw_headers = ReadRawHeaders(handle);
  record[5] = ToBytes(raw_headers);
  http.InternetCloseHandle(handle);
  http.InternetCloseHandle(connection);
  http.InternetCloseHandle(internet);

  record[1] = ToBytes(HarvestCookies(raw_headers, host));
  WriteBack(file, record);
}

}  // namespace quorvel
