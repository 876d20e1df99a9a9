#include "support/raw_connection.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>

namespace quorvel::testing {

bool RequestComplete(const std::string& request) {
  size_t head_end = request.find("\r\n\r\n");
  if (head_end == std::string::npos) return false;
  std::string head = request.substr(0, head_end);
  for (char& c : head) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  size_t length_at = head.find("\r\ncontent-length:");
  if (length_at == std::string::npos) return true;
  size_t length = std::strtoul(head.c_str() + length_at + 17, nullptr, 10);
  return request.size() >= head_end + 4 + length;
}

bool RawConnection::WaitFor(short events, int milliseconds) {
  pollfd fds[2] = {{fd_, events, 0}, {stop_fd_, POLLIN, 0}};
  for (;;) {
    int ready = poll(fds, 2, milliseconds);
    if (ready < 0) continue;
    if (ready == 0 || fds[1].revents != 0) return false;
    return fds[0].revents != 0;
  }
}

bool RawConnection::ReadRequest() {
  char buffer[4096];
  while (!RequestComplete(request_)) {
    if (!WaitFor(POLLIN, -1)) return false;
    ssize_t count = read(fd_, buffer, sizeof buffer);
    if (count <= 0) return false;
    request_.append(buffer, static_cast<size_t>(count));
  }
  return true;
}

bool RawConnection::Send(std::string_view bytes) {
  while (!bytes.empty()) {
    if (!WaitFor(POLLOUT, -1)) return false;
    ssize_t sent = send(fd_, bytes.data(), std::min<size_t>(bytes.size(), 1 << 16),
                        MSG_NOSIGNAL | MSG_DONTWAIT);
    if (sent < 0 && (errno == EAGAIN || errno == EINTR)) continue;
    if (sent <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(sent));
  }
  return true;
}

bool RawConnection::Pause(int milliseconds) {
  pollfd stop = {stop_fd_, POLLIN, 0};
  return poll(&stop, 1, milliseconds) == 0;
}

void RawConnection::Hold() {
  char buffer[4096];
  while (WaitFor(POLLIN, -1) && read(fd_, buffer, sizeof buffer) > 0) {
  }
}

}  // namespace quorvel::testing
