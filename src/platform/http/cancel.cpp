#include "platform/http/cancel.h"

#include <algorithm>

namespace quorvel::platform {
namespace http {
namespace {

thread_local std::shared_ptr<Canceller> installed_token;

}  // namespace

void Canceller::Cancel() {
  std::lock_guard lock(mutex_);
  cancelled_.store(true, std::memory_order_release);
  for (CURLM* multi : waiting_) curl_multi_wakeup(multi);
}

bool Canceller::Register(CURLM* multi) {
  std::lock_guard lock(mutex_);
  if (IsCancelled()) return false;
  waiting_.push_back(multi);
  return true;
}

void Canceller::Unregister(CURLM* multi) {
  std::lock_guard lock(mutex_);
  waiting_.erase(std::remove(waiting_.begin(), waiting_.end(), multi), waiting_.end());
}

std::shared_ptr<Canceller> TokenForNewHandle() {
  if (installed_token) return installed_token;
  return std::make_shared<Canceller>();
}

std::shared_ptr<Canceller> InstalledToken() { return installed_token; }

}  // namespace http

std::shared_ptr<CancelToken> CancelToken::Create() { return std::make_shared<http::Canceller>(); }

ScopedCancelToken::ScopedCancelToken(std::shared_ptr<CancelToken> token)
    : previous_(http::installed_token) {
  // Only our own tokens can be installed; anything else leaves the thread without one.
  http::installed_token = std::dynamic_pointer_cast<http::Canceller>(std::move(token));
}

ScopedCancelToken::~ScopedCancelToken() {
  http::installed_token = std::static_pointer_cast<http::Canceller>(previous_);
}

}  // namespace quorvel::platform
