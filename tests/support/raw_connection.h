#pragma once

// One accepted connection of a RawTcpServer, as a script sees it: read the request, send bytes,
// pause, or hold the connection open. Every wait also ends when the server shuts down, so a
// script never keeps a test's server from stopping.

#include <string>
#include <string_view>

namespace quorvel::testing {

class RawConnection {
 public:
  RawConnection(int fd, int stop_fd) : fd_(fd), stop_fd_(stop_fd) {}

  // Reads until the request's head (and any body its Content-Length announces) is in; false
  // when the peer went or the server stops first.
  bool ReadRequest();
  const std::string& request() const { return request_; }
  // Sends every byte; false when the peer went or the server stops.
  bool Send(std::string_view bytes);
  // Waits this long; false when the server stops meanwhile.
  bool Pause(int milliseconds);
  // Keeps the connection open, reading and dropping what comes, until the peer closes it or
  // the server stops.
  void Hold();

 private:
  // Polls the connection for `events` and the stop pipe; true when the connection is ready.
  bool WaitFor(short events, int milliseconds);

  int fd_;
  int stop_fd_;
  std::string request_;
};

// True once the request's head and any body its Content-Length announces are in.
bool RequestComplete(const std::string& request);

}  // namespace quorvel::testing
