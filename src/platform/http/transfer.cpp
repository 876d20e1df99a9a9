#include "platform/http/transfer.h"

#include <algorithm>
#include <cstdlib>
#include <new>

#include "platform/ascii.h"
#include "platform/http/cookie_store.h"
#include "platform/http/curl_handles.h"

namespace quorvel::platform::http {
namespace {

// Reserve at most this much ahead from a Content-Length, so a lying server cannot make us
// allocate a huge buffer before any byte arrives.
constexpr curl_off_t kMaxReserve = 256 * 1024 * 1024;
constexpr long kReceiveBuffer = 256 * 1024;
// A cancel wakes the poll at once; the limit only bounds a wait that nothing else ends.
constexpr int kPollMilliseconds = 10000;

bool NameIs(std::string_view line, std::string_view name) {
  size_t colon = line.find_first_of(":;");
  if (colon == std::string_view::npos) return false;
  std::string_view given = line.substr(0, colon);
  while (!given.empty() && (given.back() == ' ' || given.back() == '\t')) given.remove_suffix(1);
  return EqualsIgnoringAsciiCase(given, name);
}

// What a transfer collects while it runs.
struct Collector {
  TransferResult* result;
  CURL* easy;
  std::string headers;  // the block of the answer being received
  bool out_of_memory = false;
};

size_t OnBody(char* data, size_t, size_t count, void* user) {
  auto* collector = static_cast<Collector*>(user);
  std::string& body = collector->result->body;
  try {
    if (body.empty()) {
      curl_off_t length = -1;
      curl_easy_getinfo(collector->easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
      if (length > 0) body.reserve(static_cast<size_t>(std::min(length, kMaxReserve)));
    }
    body.append(data, count);
  } catch (const std::bad_alloc&) {
    collector->out_of_memory = true;
    return 0;  // ends the transfer with a write error
  }
  return count;
}

size_t OnHeader(char* data, size_t, size_t count, void* user) {
  auto* collector = static_cast<Collector*>(user);
  std::string_view line(data, count);
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  try {
    // Every status line starts a new answer: a redirect's or an interim one's lines go.
    if (line.substr(0, 5) == "HTTP/") collector->headers.clear();
    if (!line.empty()) collector->headers.append(line).append("\r\n");
  } catch (const std::bad_alloc&) {
    collector->out_of_memory = true;
    return 0;
  }
  return count;
}

bool SetBody(CURL* easy, const TransferRequest& request) {
  if (request.verb == "GET") return curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L) == CURLE_OK;
  if (request.verb == "HEAD") return curl_easy_setopt(easy, CURLOPT_NOBODY, 1L) == CURLE_OK;
  if (request.verb != "POST" &&
      curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, request.verb.c_str()) != CURLE_OK) {
    return false;
  }
  if (request.verb != "POST" && request.body.empty()) return true;
  // CURLOPT_POST keeps libcurl's redirect rules: 301, 302 and 303 continue as a GET without
  // the body, 307 and 308 repeat method and body.
  return curl_easy_setopt(easy, CURLOPT_POST, 1L) == CURLE_OK &&
         curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE,
                          static_cast<curl_off_t>(request.body.size())) == CURLE_OK &&
         curl_easy_setopt(easy, CURLOPT_COPYPOSTFIELDS,
                          request.body.empty() ? "" : request.body.data()) == CURLE_OK;
}

bool SetTls(CURL* easy) {
  // libcurl uses its built-in bundle path; the OpenSSL variables name another one for tests.
  const char* file = std::getenv("SSL_CERT_FILE");
  const char* dir = std::getenv("SSL_CERT_DIR");
  return curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L) == CURLE_OK &&
         curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 2L) == CURLE_OK &&
         (file == nullptr || curl_easy_setopt(easy, CURLOPT_CAINFO, file) == CURLE_OK) &&
         (dir == nullptr || curl_easy_setopt(easy, CURLOPT_CAPATH, dir) == CURLE_OK);
}

bool Configure(CURL* easy, const TransferRequest& request, curl_slist* headers,
               Collector& collector) {
  // An empty proxy switches the environment's proxy variables off as well.
  return curl_easy_setopt(easy, CURLOPT_URL, request.url.c_str()) == CURLE_OK &&
         curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L) == CURLE_OK &&
         curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_1) == CURLE_OK &&
         curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https") == CURLE_OK &&
         curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https") == CURLE_OK &&
         curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, request.follow_redirects ? 1L : 0L) ==
             CURLE_OK &&
         curl_easy_setopt(easy, CURLOPT_MAXREDIRS, 20L) == CURLE_OK &&
         curl_easy_setopt(easy, CURLOPT_USERAGENT, request.agent.c_str()) == CURLE_OK &&
         curl_easy_setopt(easy, CURLOPT_PROXY, request.proxy.c_str()) == CURLE_OK &&
         curl_easy_setopt(easy, CURLOPT_NOPROXY, "") == CURLE_OK &&
         curl_easy_setopt(easy, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L) == CURLE_OK &&
         curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers) == CURLE_OK &&
         curl_easy_setopt(easy, CURLOPT_BUFFERSIZE, kReceiveBuffer) == CURLE_OK &&
         curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, OnBody) == CURLE_OK &&
         curl_easy_setopt(easy, CURLOPT_WRITEDATA, &collector) == CURLE_OK &&
         curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, OnHeader) == CURLE_OK &&
         curl_easy_setopt(easy, CURLOPT_HEADERDATA, &collector) == CURLE_OK && SetTls(easy) &&
         SetBody(easy, request) && (!request.use_cookies || UseCookieStore(easy));
}

// Runs the multi loop until the transfer is done or the token is cancelled. The poll wakes at
// once on curl_multi_wakeup, so a cancel from another thread ends the transfer in milliseconds.
CURLcode Drive(CURLM* multi, Canceller& token, bool& cancelled) {
  WakeRegistration wake(token, multi);
  int running = 1;
  while (wake.ok() && !token.IsCancelled()) {
    if (curl_multi_perform(multi, &running) != CURLM_OK) return CURLE_FAILED_INIT;
    if (running == 0) break;
    if (curl_multi_poll(multi, nullptr, 0, kPollMilliseconds, nullptr) != CURLM_OK) {
      return CURLE_FAILED_INIT;
    }
  }
  if (!wake.ok() || token.IsCancelled()) {
    cancelled = true;
    return CURLE_ABORTED_BY_CALLBACK;
  }
  int queued = 0;
  while (CURLMsg* message = curl_multi_info_read(multi, &queued)) {
    if (message->msg == CURLMSG_DONE) return message->data.result;
  }
  return CURLE_FAILED_INIT;
}

}  // namespace

std::vector<std::string> HeaderLinesToSend(std::string_view header_text) {
  std::vector<std::string> lines;
  while (!header_text.empty()) {
    size_t end = header_text.find_first_of("\r\n");
    std::string_view line = header_text.substr(0, end);
    header_text = end == std::string_view::npos ? std::string_view() : header_text.substr(end + 1);
    if (line.find_first_not_of(" \t") == std::string_view::npos) continue;
    if (NameIs(line, "Content-Length")) continue;
    std::string out(line);
    size_t colon = out.find(':');
    if (colon != std::string::npos &&
        out.find_first_not_of(" \t", colon + 1) == std::string::npos) {
      out.resize(colon);
      out += ';';
    }
    lines.push_back(std::move(out));
  }
  for (std::string_view name : {"Accept", "Expect", "Content-Type"}) {
    bool given = std::any_of(lines.begin(), lines.end(),
                             [&](const std::string& line) { return NameIs(line, name); });
    if (!given) lines.push_back(std::string(name) + ":");
  }
  return lines;
}

TransferResult RunTransfer(const TransferRequest& request, Canceller& token) {
  TransferResult result;
  CurlSlist headers;  // outlives the easy handle that points to it
  CurlEasy easy = NewEasy();
  CurlMulti multi = NewMulti();
  for (const std::string& line : HeaderLinesToSend(request.header_text)) {
    if (!SlistAppend(headers, line.c_str())) easy.reset();
  }
  Collector collector{&result, easy.get(), {}};
  if (!easy || !multi || !Configure(easy.get(), request, headers.get(), collector)) {
    result.error = "the transfer could not be set up";
    return result;
  }
  MultiAttachment attachment(multi.get(), easy.get());
  bool cancelled = false;
  CURLcode code = attachment.ok() ? Drive(multi.get(), token, cancelled) : CURLE_FAILED_INIT;
  if (code != CURLE_OK) {
    result.error = cancelled                 ? "cancelled"
                   : collector.out_of_memory ? "out of memory"
                                             : curl_easy_strerror(code);
    // An answer that broke off after its headers still counts, with the body received so far;
    // a cancelled one is dropped whole.
    if (cancelled || collector.headers.empty()) {
      result.body.clear();
      return result;
    }
  }
  result.ok = true;
  result.raw_headers = collector.headers.empty() ? std::string() : collector.headers + "\r\n";
  return result;
}

}  // namespace quorvel::platform::http
