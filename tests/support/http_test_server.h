#pragma once

// A small HTTP (or HTTPS) server on 127.0.0.1 for integration tests, on cpp-httplib. Register
// routes on server() before Start(); every request that arrives is recorded.

#include <httplib.h>

#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace quorvel::testing {

struct RecordedRequest {
  std::string method;
  std::string target;  // path and query as sent
  httplib::Headers headers;
  std::string body;

  // The first value of that header (name in any case); empty when absent.
  std::string Header(const std::string& name) const;
  bool HasHeader(const std::string& name) const { return headers.count(name) > 0; }
};

class HttpTestServer {
 public:
  // Plain http.
  HttpTestServer();
  // https with this certificate chain and key (PEM files).
  HttpTestServer(const std::string& cert_file, const std::string& key_file);
  ~HttpTestServer();
  HttpTestServer(const HttpTestServer&) = delete;
  HttpTestServer& operator=(const HttpTestServer&) = delete;

  httplib::Server& server() { return *server_; }
  // Binds a free port on 127.0.0.1 and serves on a thread; false when binding failed.
  bool Start();
  int port() const { return port_; }
  // "http://127.0.0.1:PORT" + path (https for a TLS server); host replaces 127.0.0.1.
  std::string Url(const std::string& path, const std::string& host = "127.0.0.1") const;
  std::vector<RecordedRequest> Requests() const;

 private:
  void Record(const httplib::Request& request);

  std::unique_ptr<httplib::Server> server_;
  bool tls_ = false;
  int port_ = 0;
  std::thread thread_;
  mutable std::mutex mutex_;
  std::vector<RecordedRequest> requests_;
};

}  // namespace quorvel::testing
