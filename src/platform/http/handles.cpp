#include "platform/http/handles.h"

#include <mutex>
#include <unordered_map>

namespace quorvel::platform::http {
namespace {

std::mutex& TableMutex() {
  static std::mutex mutex;
  return mutex;
}

std::unordered_map<HINTERNET, std::unique_ptr<HandleObject>>& Table() {
  static auto* table = new std::unordered_map<HINTERNET, std::unique_ptr<HandleObject>>();
  return *table;
}

}  // namespace

void ParseProxyList(std::string_view list, std::string& http, std::string& https) {
  http.clear();
  https.clear();
  while (!list.empty()) {
    size_t end = list.find_first_of(" ;");
    std::string_view entry = list.substr(0, end);
    list = end == std::string_view::npos ? std::string_view() : list.substr(end + 1);
    if (entry.empty()) continue;
    size_t equals = entry.find('=');
    if (equals == std::string_view::npos) {
      http = https = std::string(entry);
    } else if (entry.substr(0, equals) == "http") {
      http = std::string(entry.substr(equals + 1));
    } else if (entry.substr(0, equals) == "https") {
      https = std::string(entry.substr(equals + 1));
    }
  }
}

HINTERNET OpenHandle(std::unique_ptr<HandleObject> object) {
  HINTERNET handle = object.get();
  std::lock_guard lock(TableMutex());
  Table().emplace(handle, std::move(object));
  return handle;
}

HandleObject* FindHandle(HINTERNET handle, HandleKind kind) {
  std::lock_guard lock(TableMutex());
  auto found = Table().find(handle);
  if (found == Table().end() || found->second->kind != kind) return nullptr;
  return found->second.get();
}

bool CloseHandle(HINTERNET handle) {
  std::unique_ptr<HandleObject> closed;  // freed after the lock is released
  std::lock_guard lock(TableMutex());
  auto found = Table().find(handle);
  if (found == Table().end()) return false;
  closed = std::move(found->second);
  Table().erase(found);
  return true;
}

void CancelHandle(HINTERNET handle) {
  std::lock_guard lock(TableMutex());
  auto found = Table().find(handle);
  if (found != Table().end()) found->second->token->Cancel();
}

}  // namespace quorvel::platform::http
