#pragma once

// The cancel token behind CancelToken: a flag, and the multi handles to wake when it is set.

#include <curl/curl.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/http.h"

namespace quorvel::platform::http {

class Canceller final : public CancelToken {
 public:
  void Cancel() override;
  bool IsCancelled() const override { return cancelled_.load(std::memory_order_acquire); }

  // While registered, Cancel() wakes the multi handle's poll. Registering after the cancel
  // returns false, so no transfer can start unnoticed.
  bool Register(CURLM* multi);
  void Unregister(CURLM* multi);

 private:
  std::atomic<bool> cancelled_{false};
  std::mutex mutex_;
  std::vector<CURLM*> waiting_;
};

// The token installed on this thread, or a fresh one of its own when none is.
std::shared_ptr<Canceller> TokenForNewHandle();
// The token installed on this thread; null when none is.
std::shared_ptr<Canceller> InstalledToken();

// Registers a multi handle with a token for the life of this object.
class WakeRegistration {
 public:
  WakeRegistration(Canceller& token, CURLM* multi)
      : token_(token), multi_(multi), ok_(token.Register(multi)) {}
  ~WakeRegistration() {
    if (ok_) token_.Unregister(multi_);
  }
  WakeRegistration(const WakeRegistration&) = delete;
  WakeRegistration& operator=(const WakeRegistration&) = delete;
  bool ok() const { return ok_; }

 private:
  Canceller& token_;
  CURLM* multi_;
  bool ok_;
};

}  // namespace quorvel::platform::http
