#pragma once

// A TCP server on 127.0.0.1 that answers with bytes given by the test, or never answers:
// for exact wire checks, silent servers and misbehaving peers.

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "support/raw_connection.h"

namespace quorvel::testing {

class RawTcpServer {
 public:
  // Called once per connection with the request read so far (its head and, when it states a
  // Content-Length, its body). Returns the bytes to send back; the connection is then closed.
  using Responder = std::function<std::string(const std::string& request)>;

  // A server that answers through the responder.
  explicit RawTcpServer(Responder responder);
  // A server that accepts connections, reads what comes and never answers.
  RawTcpServer();
  // Called once per connection as soon as it is accepted; the connection is closed when the
  // script returns. For peers that misbehave in time as well as in content.
  using Script = std::function<void(RawConnection& connection)>;
  static std::unique_ptr<RawTcpServer> WithScript(Script script);
  ~RawTcpServer();
  RawTcpServer(const RawTcpServer&) = delete;
  RawTcpServer& operator=(const RawTcpServer&) = delete;

  // Listens on a free port; false when that failed.
  bool Start();
  int port() const { return port_; }
  std::string Url(const std::string& path) const;
  // The requests received so far, as their bytes.
  std::vector<std::string> Requests() const;
  // How many connections were accepted.
  int connections() const { return connections_.load(); }

 private:
  void Serve();
  void Handle(int connection);

  Responder responder_;
  Script script_;
  bool silent_;
  int listener_ = -1;
  int wake_pipe_[2] = {-1, -1};
  int port_ = 0;
  std::atomic<int> connections_{0};
  std::thread thread_;
  std::vector<std::thread> handlers_;
  mutable std::mutex mutex_;
  std::vector<std::string> requests_;
};

// A port on 127.0.0.1 that nothing listens on (taken free, then released).
int UnusedPort();

}  // namespace quorvel::testing
