#include "support/raw_tcp_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace quorvel::testing {
namespace {

int BindLocal(int port) {
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  int yes = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

int LocalPort(int fd) {
  sockaddr_in address{};
  socklen_t size = sizeof address;
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
  return ntohs(address.sin_port);
}

}  // namespace

RawTcpServer::RawTcpServer(Responder responder)
    : responder_(std::move(responder)), silent_(false) {}

RawTcpServer::RawTcpServer() : silent_(true) {}

std::unique_ptr<RawTcpServer> RawTcpServer::WithScript(Script script) {
  auto server = std::make_unique<RawTcpServer>();
  server->script_ = std::move(script);
  return server;
}

RawTcpServer::~RawTcpServer() {
  if (wake_pipe_[1] >= 0) {
    char byte = 0;
    (void)!write(wake_pipe_[1], &byte, 1);
  }
  if (thread_.joinable()) thread_.join();
  for (std::thread& handler : handlers_) handler.join();
  for (int fd : {listener_, wake_pipe_[0], wake_pipe_[1]}) {
    if (fd >= 0) close(fd);
  }
}

bool RawTcpServer::Start() {
  listener_ = BindLocal(0);
  if (listener_ < 0 || listen(listener_, 16) != 0 || pipe2(wake_pipe_, O_CLOEXEC) != 0) {
    return false;
  }
  port_ = LocalPort(listener_);
  thread_ = std::thread([this] { Serve(); });
  return true;
}

std::string RawTcpServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<std::string> RawTcpServer::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

void RawTcpServer::Serve() {
  for (;;) {
    pollfd fds[2] = {{listener_, POLLIN, 0}, {wake_pipe_[0], POLLIN, 0}};
    if (poll(fds, 2, -1) < 0) continue;
    if (fds[1].revents != 0) return;
    int connection = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0) continue;
    ++connections_;
    handlers_.emplace_back([this, connection] { Handle(connection); });
  }
}

void RawTcpServer::Handle(int connection) {
  if (script_) {
    RawConnection peer(connection, wake_pipe_[0]);
    script_(peer);
    close(connection);
    return;
  }
  std::string request;
  char buffer[4096];
  bool recorded = false;
  for (;;) {
    pollfd fds[2] = {{connection, POLLIN, 0}, {wake_pipe_[0], POLLIN, 0}};
    if (poll(fds, 2, -1) < 0 || fds[1].revents != 0) break;
    ssize_t count = read(connection, buffer, sizeof buffer);
    if (count <= 0) break;
    request.append(buffer, static_cast<size_t>(count));
    if (recorded || !RequestComplete(request)) continue;
    recorded = true;
    {
      std::lock_guard lock(mutex_);
      requests_.push_back(request);
    }
    if (silent_) continue;  // keeps reading until the peer or the server goes
    std::string answer = responder_(request);
    for (size_t sent = 0; sent < answer.size();) {
      ssize_t count_sent =
          send(connection, answer.data() + sent, answer.size() - sent, MSG_NOSIGNAL);
      if (count_sent <= 0) break;
      sent += static_cast<size_t>(count_sent);
    }
    break;
  }
  close(connection);
}

int UnusedPort() {
  int fd = BindLocal(0);
  if (fd < 0) return 0;
  int port = LocalPort(fd);
  close(fd);
  return port;
}

}  // namespace quorvel::testing
