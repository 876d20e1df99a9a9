#pragma once

// One owner per libcurl handle, and the one-time global set-up.

#include <curl/curl.h>

#include <memory>

namespace quorvel::platform::http {

struct EasyDeleter {
  void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct MultiDeleter {
  void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};
struct SlistDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

using CurlEasy = std::unique_ptr<CURL, EasyDeleter>;
using CurlMulti = std::unique_ptr<CURLM, MultiDeleter>;
using CurlSlist = std::unique_ptr<curl_slist, SlistDeleter>;

// curl_global_init, once per process, before the first handle; true when it succeeded.
bool EnsureCurlGlobal();
// A new easy handle (null when libcurl cannot make one).
CurlEasy NewEasy();
// A new multi handle (null when libcurl cannot make one).
CurlMulti NewMulti();
// Appends a copy of line; false (list unchanged) when out of memory.
bool SlistAppend(CurlSlist& list, const char* line);

// An easy handle added to a multi handle for the life of this object.
class MultiAttachment {
 public:
  MultiAttachment(CURLM* multi, CURL* easy);
  ~MultiAttachment();
  MultiAttachment(const MultiAttachment&) = delete;
  MultiAttachment& operator=(const MultiAttachment&) = delete;
  bool ok() const { return ok_; }

 private:
  CURLM* multi_;
  CURL* easy_;
  bool ok_;
};

}  // namespace quorvel::platform::http
