#include "support/http_test_server.h"

namespace quorvel::testing {

std::string RecordedRequest::Header(const std::string& name) const {
  auto found = headers.find(name);
  return found == headers.end() ? std::string() : found->second;
}

HttpTestServer::HttpTestServer() : server_(std::make_unique<httplib::Server>()) {}

HttpTestServer::HttpTestServer(const std::string& cert_file, const std::string& key_file)
    : server_(std::make_unique<httplib::SSLServer>(cert_file.c_str(), key_file.c_str())),
      tls_(true) {}

HttpTestServer::~HttpTestServer() {
  server_->stop();
  if (thread_.joinable()) thread_.join();
}

bool HttpTestServer::Start() {
  // Recorded after the handler has run (so the body has been read) and before the answer goes
  // out, so a client that has its answer finds its request here.
  server_->set_post_routing_handler(
      [this](const httplib::Request& request, httplib::Response&) { Record(request); });
  port_ = server_->bind_to_any_port("127.0.0.1");
  if (port_ <= 0) return false;
  thread_ = std::thread([this] { server_->listen_after_bind(); });
  // stop() only reaches a server that is already running.
  for (int i = 0; i < 5000 && !server_->is_running(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return server_->is_running();
}

std::string HttpTestServer::Url(const std::string& path, const std::string& host) const {
  return (tls_ ? "https://" : "http://") + host + ":" + std::to_string(port_) + path;
}

std::vector<RecordedRequest> HttpTestServer::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

void HttpTestServer::Record(const httplib::Request& request) {
  std::lock_guard lock(mutex_);
  requests_.push_back({request.method, request.target, request.headers, request.body});
}

}  // namespace quorvel::testing
