#include "web/web_access.h"

#include <cmath>
#include <limits>

#include "base/byte_ops.h"
#include "base/memory_file.h"
#include "base/services.h"
#include "base/text_ops.h"
#include "base/window_services.h"
#include "platform/threads.h"
#include "web/charset.h"
#include "web/request_worker.h"
#include "web/url_helpers.h"

namespace quorvel {

const char* const kTimeOutMessage =
    "超时返回，指定网站不能访问，或者你的网络出现问题，你可以把参数中的＂超时返回＂的值设置长一些"
    "。";

namespace {

constexpr int32_t kDefaultLimitMs = 60000;
constexpr uint32_t kWaitEnded = 0;
constexpr uint32_t kWaitTimedOut = 258;

enum Slot { kUrl, kMethod, kProxy, kHeaders, kBody, kCookies, kRedirect, kSlots };

// The time limit in milliseconds: seconds times 1000, truncated toward zero, kept in range.
int32_t TimeLimitMs(std::optional<int32_t> timeout_seconds) {
  if (!timeout_seconds) return kDefaultLimitMs;
  const double ms = std::trunc(static_cast<double>(*timeout_seconds) * 1000.0);
  if (ms >= std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (ms <= std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(ms);
}

void RunWorker(uint64_t file) { RequestWorker(file); }

// Waits for the worker, handling window events on every pass, until it has ended (0) or the
// limit has run out (258). The elapsed time is an unsigned difference of two tick readings,
// so a wrap of the counter during the wait does not matter.
uint32_t WaitLoop(const platform::Worker& worker, int32_t limit_ms) {
  const uint32_t start = TickCount();
  const uint32_t wait_ms = limit_ms > 0 ? static_cast<uint32_t>(limit_ms) : 0;
  for (;;) {
    uint32_t result = platform::WaitForWorker(worker, wait_ms);
    const uint32_t elapsed = TickCount() - start;
    if (static_cast<double>(elapsed) - limit_ms >= -1e-7) result = kWaitTimedOut;
    ProcessEvents();
    if (result == kWaitEnded || result == kWaitTimedOut) return result;
  }
}

TextArray RequestRecord(const Text& url, int32_t method, const Text& proxy,
                        const Text& extra_headers, const ByteString& post_data, const Text& cookies,
                        bool allow_redirect) {
  TextArray record(kSlots);
  record[kUrl] = ToBytes(url);
  record[kMethod] = ToBytes(method == 1 ? "POST" : "GET");
  record[kProxy] = ToBytes(proxy);
  record[kHeaders] = ToBytes(extra_headers);
  record[kBody] = post_data;
  record[kCookies] = ToBytes(cookies);
  record[kRedirect] = ToBytes(ToText(allow_redirect));
  return record;
}

ByteString Converted(const ByteString& body, int32_t charset) {
  if (charset == 1) return ToBytes(Utf8ToAnsi(ToText(body)));
  if (charset == 2) return ToBytes(Big5ToSimplified(ToText(body)));
  return body;
}

}  // namespace

ByteString WebAccess(Text& url, int32_t method, const Text& proxy, const Text& extra_headers,
                     const ByteString& post_data, const Text& cookies,
                     std::optional<int32_t> timeout_seconds, Text* response_headers,
                     int32_t charset, Text* received_cookies, std::optional<bool> allow_redirect) {
  if (TrimBlanks(url).empty()) return {};
  if (SchemeOf(url) == Scheme::kNone) url = ConcatText("http://", url);

  TextArray record = RequestRecord(url, method, proxy, extra_headers, post_data, cookies,
                                   allow_redirect.value_or(true));
  const FileNumber file = OpenMemoryFile();
  if (!WriteArray(file, record)) {
    CloseFile(file);
    return {};
  }
  const platform::Worker worker = platform::StartWorker(&RunWorker, file);
  const uint32_t result = WaitLoop(worker, TimeLimitMs(timeout_seconds));
  platform::AbandonWorker(worker);
  if (result == kWaitTimedOut) {
    CloseFile(file);  // a late worker now finds its file gone and writes nothing
    return ToBytes(kTimeOutMessage);
  }
  SeekToStart(file);
  ReadArray(file, record);
  CloseFile(file);
  if (response_headers) *response_headers = ToText(record[kCookies]);
  if (received_cookies) *received_cookies = ToText(record[kMethod]);
  return Converted(record[kUrl], charset);
}

}  // namespace quorvel
