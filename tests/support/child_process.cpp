#include "support/child_process.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <thread>

#include "support/raw_tcp_server.h"

extern char** environ;

namespace quorvel::testing {

ChildProcess::~ChildProcess() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  if (out_ >= 0) close(out_);
}

bool ChildProcess::Start(const std::vector<std::string>& argv) {
  int pipe_fds[2];
  if (pipe2(pipe_fds, O_CLOEXEC) != 0) return false;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipe_fds[1], STDOUT_FILENO);
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  int status = posix_spawnp(&pid_, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipe_fds[1]);
  out_ = pipe_fds[0];
  if (status != 0) pid_ = -1;
  return status == 0;
}

std::string ChildProcess::ReadLine(int timeout_ms) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  for (;;) {
    size_t end = pending_.find('\n');
    if (end != std::string::npos) {
      std::string line = pending_.substr(0, end);
      pending_.erase(0, end + 1);
      return line;
    }
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    pollfd fd{out_, POLLIN, 0};
    if (left.count() <= 0 || poll(&fd, 1, static_cast<int>(left.count())) <= 0) return {};
    char buffer[512];
    ssize_t count = read(out_, buffer, sizeof buffer);
    if (count <= 0) return {};
    pending_.append(buffer, static_cast<size_t>(count));
  }
}

bool WaitForPort(int port, int timeout_ms) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (std::chrono::steady_clock::now() < deadline) {
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bool connected = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    if (connected) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

LocalProxy::LocalProxy(const std::string& work_dir) : work_dir_(work_dir) {}

bool LocalProxy::Start() {
  port_ = UnusedPort();
  std::string config = work_dir_ + "/tinyproxy.conf";
  std::ofstream(config) << "Port " << port_ << "\nListen 127.0.0.1\nTimeout 60\nMaxClients 20\n"
                        << "Allow 127.0.0.1\nViaProxyName \"quorvel-test-proxy\"\n"
                        << "LogLevel Info\n";
  return process_.Start({"tinyproxy", "-d", "-c", config}) && WaitForPort(port_, 5000);
}

std::string LocalProxy::Address() const { return "127.0.0.1:" + std::to_string(port_); }

DemoForum::DemoForum(const std::string& log_file, std::vector<std::string> extra_args)
    : log_file_(log_file), extra_args_(std::move(extra_args)) {}

bool DemoForum::Start() {
  std::vector<std::string> argv = {std::string(QUORVEL_BINARY_DIR) + "/demo/quorvel-demo-forum",
                                   "--port", "0", "--log", log_file_};
  argv.insert(argv.end(), extra_args_.begin(), extra_args_.end());
  if (!process_.Start(argv)) return false;
  std::string line = process_.ReadLine(5000);
  if (line.rfind("port ", 0) != 0) return false;
  port_ = std::atoi(line.c_str() + 5);
  return port_ > 0;
}

std::string DemoForum::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

TestCertificates MakeTestCertificates(const std::string& dir) {
  TestCertificates out{dir + "/ca.pem", dir + "/server.pem", dir + "/server.key", false};
  std::string ext = dir + "/server.ext";
  std::ofstream(ext) << "subjectAltName=IP:127.0.0.1,DNS:localhost\n"
                     << "basicConstraints=CA:FALSE\nkeyUsage=digitalSignature,keyEncipherment\n"
                     << "extendedKeyUsage=serverAuth\n";
  std::string quiet = " >/dev/null 2>&1";
  std::string commands =
      "cd '" + dir + "' && " +
      "openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -days 2 "
      "-subj /CN=quorvel-test-ca" +
      quiet + " && " +
      "openssl req -newkey rsa:2048 -nodes -keyout server.key -out server.csr "
      "-subj /CN=127.0.0.1" +
      quiet + " && " +
      "openssl x509 -req -in server.csr -CA ca.pem -CAkey ca.key -CAcreateserial "
      "-out server.pem -days 2 -extfile server.ext" +
      quiet;
  out.ok = std::system(commands.c_str()) == 0;
  return out;
}

}  // namespace quorvel::testing
