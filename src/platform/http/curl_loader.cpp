// libcurl is loaded when the first request needs it, not when the program starts: it brings
// some 26 shared libraries of its own (TLS, SSH, LDAP, Kerberos...) that would otherwise be
// loaded and relocated before the window is first drawn. The program is not linked to libcurl;
// the libcurl functions it calls are defined here and forward to the library, which is loaded
// once with dlopen. When it cannot be loaded, every function fails as libcurl's own do when
// they cannot work (an error code, or a null handle), so a request fails like any other, and
// the cause is said once on standard error.

#define CURL_DISABLE_TYPECHECK  // the definitions below take the functions' own names
#include <curl/curl.h>
#include <dlfcn.h>

#include <cstdarg>
#include <cstdio>
#include <mutex>

namespace {

constexpr const char kLibrary[] = "libcurl.so.4";

using FunctionPointer = void (*)();

struct CurlApi {
  bool loaded = false;
  CURLcode (*global_init)(long) = nullptr;
  CURL* (*easy_init)() = nullptr;
  CURLcode (*easy_setopt)(CURL*, CURLoption, ...) = nullptr;
  CURLcode (*easy_getinfo)(CURL*, CURLINFO, ...) = nullptr;
  CURLcode (*easy_perform)(CURL*) = nullptr;
  void (*easy_cleanup)(CURL*) = nullptr;
  const char* (*easy_strerror)(CURLcode) = nullptr;
  CURLM* (*multi_init)() = nullptr;
  CURLMcode (*multi_add_handle)(CURLM*, CURL*) = nullptr;
  CURLMcode (*multi_remove_handle)(CURLM*, CURL*) = nullptr;
  CURLMcode (*multi_perform)(CURLM*, int*) = nullptr;
  CURLMcode (*multi_poll)(CURLM*, struct curl_waitfd[], unsigned int, int, int*) = nullptr;
  CURLMcode (*multi_wakeup)(CURLM*) = nullptr;
  CURLMsg* (*multi_info_read)(CURLM*, int*) = nullptr;
  CURLMcode (*multi_cleanup)(CURLM*) = nullptr;
  CURLSH* (*share_init)() = nullptr;
  CURLSHcode (*share_setopt)(CURLSH*, CURLSHoption, ...) = nullptr;
  CURLSHcode (*share_cleanup)(CURLSH*) = nullptr;
  struct curl_slist* (*slist_append)(struct curl_slist*, const char*) = nullptr;
  void (*slist_free_all)(struct curl_slist*) = nullptr;
  time_t (*getdate)(const char*, const time_t*) = nullptr;
};

template <typename Function>
bool Bind(void* library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(dlsym(library, name));
  if (function == nullptr) std::fprintf(stderr, "quorvel-checkin: %s lacks %s\n", kLibrary, name);
  return function != nullptr;
}

CurlApi Load() {
  CurlApi api;
  void* library = dlopen(kLibrary, RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    std::fprintf(stderr, "quorvel-checkin: cannot load %s: %s\n", kLibrary, dlerror());
    return api;
  }
  api.loaded = Bind(library, "curl_global_init", api.global_init) &&
               Bind(library, "curl_easy_init", api.easy_init) &&
               Bind(library, "curl_easy_setopt", api.easy_setopt) &&
               Bind(library, "curl_easy_getinfo", api.easy_getinfo) &&
               Bind(library, "curl_easy_perform", api.easy_perform) &&
               Bind(library, "curl_easy_cleanup", api.easy_cleanup) &&
               Bind(library, "curl_easy_strerror", api.easy_strerror) &&
               Bind(library, "curl_multi_init", api.multi_init) &&
               Bind(library, "curl_multi_add_handle", api.multi_add_handle) &&
               Bind(library, "curl_multi_remove_handle", api.multi_remove_handle) &&
               Bind(library, "curl_multi_perform", api.multi_perform) &&
               Bind(library, "curl_multi_poll", api.multi_poll) &&
               Bind(library, "curl_multi_wakeup", api.multi_wakeup) &&
               Bind(library, "curl_multi_info_read", api.multi_info_read) &&
               Bind(library, "curl_multi_cleanup", api.multi_cleanup) &&
               Bind(library, "curl_share_init", api.share_init) &&
               Bind(library, "curl_share_setopt", api.share_setopt) &&
               Bind(library, "curl_share_cleanup", api.share_cleanup) &&
               Bind(library, "curl_slist_append", api.slist_append) &&
               Bind(library, "curl_slist_free_all", api.slist_free_all) &&
               Bind(library, "curl_getdate", api.getdate);
  return api;  // the library stays loaded for the rest of the run
}

const CurlApi& Api() {
  static const CurlApi api = Load();
  return api;
}

bool Loaded() { return Api().loaded; }

}  // namespace

extern "C" {

CURLcode curl_global_init(long flags) {
  return Loaded() ? Api().global_init(flags) : CURLE_FAILED_INIT;
}

CURL* curl_easy_init() { return Loaded() ? Api().easy_init() : nullptr; }

// The option's number tells the type of its one argument, as libcurl reads it.
CURLcode curl_easy_setopt(CURL* handle, CURLoption option, ...) {
  if (!Loaded()) return CURLE_FAILED_INIT;
  va_list arguments;
  va_start(arguments, option);
  CURLcode result;
  if (option < CURLOPTTYPE_OBJECTPOINT) {
    result = Api().easy_setopt(handle, option, va_arg(arguments, long));
  } else if (option < CURLOPTTYPE_FUNCTIONPOINT) {
    result = Api().easy_setopt(handle, option, va_arg(arguments, void*));
  } else if (option < CURLOPTTYPE_OFF_T) {
    result = Api().easy_setopt(handle, option, va_arg(arguments, FunctionPointer));
  } else if (option < CURLOPTTYPE_BLOB) {
    result = Api().easy_setopt(handle, option, va_arg(arguments, curl_off_t));
  } else {
    result = Api().easy_setopt(handle, option, va_arg(arguments, void*));
  }
  va_end(arguments);
  return result;
}

CURLcode curl_easy_getinfo(CURL* handle, CURLINFO info, ...) {
  if (!Loaded()) return CURLE_FAILED_INIT;
  va_list arguments;
  va_start(arguments, info);
  const CURLcode result = Api().easy_getinfo(handle, info, va_arg(arguments, void*));
  va_end(arguments);
  return result;
}

CURLcode curl_easy_perform(CURL* handle) {
  return Loaded() ? Api().easy_perform(handle) : CURLE_FAILED_INIT;
}

void curl_easy_cleanup(CURL* handle) {
  if (Loaded()) Api().easy_cleanup(handle);
}

const char* curl_easy_strerror(CURLcode code) {
  return Loaded() ? Api().easy_strerror(code) : "libcurl is not available";
}

CURLM* curl_multi_init() { return Loaded() ? Api().multi_init() : nullptr; }

CURLMcode curl_multi_add_handle(CURLM* multi, CURL* handle) {
  return Loaded() ? Api().multi_add_handle(multi, handle) : CURLM_BAD_HANDLE;
}

CURLMcode curl_multi_remove_handle(CURLM* multi, CURL* handle) {
  return Loaded() ? Api().multi_remove_handle(multi, handle) : CURLM_BAD_HANDLE;
}

CURLMcode curl_multi_perform(CURLM* multi, int* running) {
  return Loaded() ? Api().multi_perform(multi, running) : CURLM_BAD_HANDLE;
}

CURLMcode curl_multi_poll(CURLM* multi, struct curl_waitfd extra[], unsigned int extra_count,
                          int timeout_ms, int* ready) {
  return Loaded() ? Api().multi_poll(multi, extra, extra_count, timeout_ms, ready)
                  : CURLM_BAD_HANDLE;
}

CURLMcode curl_multi_wakeup(CURLM* multi) {
  return Loaded() ? Api().multi_wakeup(multi) : CURLM_BAD_HANDLE;
}

CURLMsg* curl_multi_info_read(CURLM* multi, int* left) {
  return Loaded() ? Api().multi_info_read(multi, left) : nullptr;
}

CURLMcode curl_multi_cleanup(CURLM* multi) {
  return Loaded() ? Api().multi_cleanup(multi) : CURLM_BAD_HANDLE;
}

CURLSH* curl_share_init() { return Loaded() ? Api().share_init() : nullptr; }

// As libcurl reads them: which data to share as an int, the lock functions, the user data.
CURLSHcode curl_share_setopt(CURLSH* share, CURLSHoption option, ...) {
  if (!Loaded()) return CURLSHE_INVALID;
  va_list arguments;
  va_start(arguments, option);
  CURLSHcode result;
  if (option == CURLSHOPT_SHARE || option == CURLSHOPT_UNSHARE) {
    result = Api().share_setopt(share, option, va_arg(arguments, int));
  } else if (option == CURLSHOPT_LOCKFUNC || option == CURLSHOPT_UNLOCKFUNC) {
    result = Api().share_setopt(share, option, va_arg(arguments, FunctionPointer));
  } else {
    result = Api().share_setopt(share, option, va_arg(arguments, void*));
  }
  va_end(arguments);
  return result;
}

CURLSHcode curl_share_cleanup(CURLSH* share) {
  return Loaded() ? Api().share_cleanup(share) : CURLSHE_INVALID;
}

struct curl_slist* curl_slist_append(struct curl_slist* list, const char* text) {
  return Loaded() ? Api().slist_append(list, text) : nullptr;
}

void curl_slist_free_all(struct curl_slist* list) {
  if (Loaded()) Api().slist_free_all(list);
}

time_t curl_getdate(const char* text, const time_t* unused) {
  return Loaded() ? Api().getdate(text, unused) : -1;
}

}  // extern "C"
