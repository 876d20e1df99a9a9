#pragma once

// Helper processes for integration tests: a child with its standard output on a pipe, a local
// tinyproxy, the demo forum, and a throw-away certificate authority made with openssl.

#include <sys/types.h>
#include <string>
#include <vector>

namespace quorvel::testing {

// A child process, ended (SIGTERM, then waited for) when the object goes.
class ChildProcess {
 public:
  ChildProcess() = default;
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Starts argv[0] (searched in PATH) with its standard output on a pipe; false when it failed.
  bool Start(const std::vector<std::string>& argv);
  // The next line of its standard output without the line end; empty after waiting
  // timeout_ms or at its end.
  std::string ReadLine(int timeout_ms);
  pid_t pid() const { return pid_; }

 private:
  pid_t pid_ = -1;
  int out_ = -1;
  std::string pending_;
};

// True once something accepts connections on 127.0.0.1:port (tried for up to timeout_ms).
bool WaitForPort(int port, int timeout_ms);

// tinyproxy on a free port of 127.0.0.1, with a generated configuration. It adds
// "Via: 1.1 quorvel-test-proxy (tinyproxy/...)" to every request it passes on.
class LocalProxy {
 public:
  explicit LocalProxy(const std::string& work_dir);
  bool Start();
  int port() const { return port_; }
  // "127.0.0.1:PORT"
  std::string Address() const;

 private:
  std::string work_dir_;
  int port_ = 0;
  ChildProcess process_;
};

// The demo forum from the build tree (QUORVEL_BINARY_DIR), on a free port, logging to a file.
class DemoForum {
 public:
  // extra_args: further options such as "--account", "name:password".
  DemoForum(const std::string& log_file, std::vector<std::string> extra_args = {});
  bool Start();
  int port() const { return port_; }
  std::string Url(const std::string& path) const;

 private:
  std::string log_file_;
  std::vector<std::string> extra_args_;
  int port_ = 0;
  ChildProcess process_;
};

// A test certificate authority and a server certificate for 127.0.0.1 and localhost, made
// with the openssl tool in dir. ok is false when openssl failed.
struct TestCertificates {
  std::string ca_file;
  std::string cert_file;
  std::string key_file;
  bool ok = false;
};
TestCertificates MakeTestCertificates(const std::string& dir);

}  // namespace quorvel::testing
