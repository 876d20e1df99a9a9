#include "platform/http/curl_handles.h"

#include <mutex>

namespace quorvel::platform::http {

bool EnsureCurlGlobal() {
  static std::once_flag once;
  static bool ok = false;
  std::call_once(once, [] { ok = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK; });
  return ok;
}

CurlEasy NewEasy() {
  if (!EnsureCurlGlobal()) return nullptr;
  return CurlEasy(curl_easy_init());
}

CurlMulti NewMulti() {
  if (!EnsureCurlGlobal()) return nullptr;
  return CurlMulti(curl_multi_init());
}

bool SlistAppend(CurlSlist& list, const char* line) {
  curl_slist* grown = curl_slist_append(list.get(), line);
  if (grown == nullptr) return false;
  list.release();
  list.reset(grown);
  return true;
}

MultiAttachment::MultiAttachment(CURLM* multi, CURL* easy)
    : multi_(multi), easy_(easy), ok_(curl_multi_add_handle(multi, easy) == CURLM_OK) {}

MultiAttachment::~MultiAttachment() {
  if (ok_) curl_multi_remove_handle(multi_, easy_);
}

}  // namespace quorvel::platform::http
