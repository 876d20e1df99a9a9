// Fetches a large body from a local server through the HTTP stand-in, through the request
// worker and with the curl tool, and prints the median time of each.
//
//   http_fetch_bench [MEGABYTES] [RUNS]      (defaults: 100 and 5)

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "base/byte_ops.h"
#include "base/memory_file.h"
#include "bench_timing.h"
#include "platform/http.h"
#include "web/request_worker.h"

namespace {

using quorvel::bench::Clock;
using namespace quorvel::platform;

// Answers every connection with the same body, straight from memory.
class BodyServer {
 public:
  explicit BodyServer(size_t size) : body_(size, 'x') {
    for (size_t i = 0; i < size; i += 4096) body_[i] = static_cast<char>('a' + i / 4096 % 26);
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(listener_, 8);
    socklen_t length = sizeof address;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    std::thread([this] { Serve(); }).detach();
  }
  int port() const { return port_; }

 private:
  void Serve() {
    for (;;) {
      int connection = accept(listener_, nullptr, nullptr);
      if (connection < 0) continue;
      std::string request;
      char buffer[4096];
      while (request.find("\r\n\r\n") == std::string::npos) {
        ssize_t count = read(connection, buffer, sizeof buffer);
        if (count <= 0) break;
        request.append(buffer, static_cast<size_t>(count));
      }
      std::string head =
          "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\n"
          "Content-Length: " +
          std::to_string(body_.size()) + "\r\nConnection: close\r\n\r\n";
      SendAll(connection, head);
      SendAll(connection, body_);
      close(connection);
    }
  }
  static void SendAll(int fd, const std::string& bytes) {
    for (size_t sent = 0; sent < bytes.size();) {
      ssize_t count = send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
      if (count <= 0) return;
      sent += static_cast<size_t>(count);
    }
  }

  std::string body_;
  int listener_ = -1;
  int port_ = 0;
};

// The stand-in as the request worker uses it: 2048-byte reads appended to one byte string.
size_t FetchWithStandIn(int port) {
  HINTERNET internet = InternetOpenA("bench", INTERNET_OPEN_TYPE_DIRECT, "", "", 0);
  HINTERNET connection = InternetConnectA(internet, "127.0.0.1", static_cast<uint16_t>(port), "",
                                          "", INTERNET_SERVICE_HTTP, 0, 0);
  HINTERNET request = HttpOpenRequestA(connection, "GET", "/big", "HTTP/1.1", "", nullptr,
                                       INTERNET_FLAG_RELOAD | INTERNET_FLAG_NEED_FILE, 0);
  HttpSendRequestA(request, "", 0, nullptr, 0);
  std::string body;
  char buffer[2048];
  uint32_t count = 0;
  while (InternetReadFile(request, buffer, sizeof buffer, &count) && count > 0) {
    body.append(buffer, count);
  }
  InternetCloseHandle(request);
  InternetCloseHandle(connection);
  InternetCloseHandle(internet);
  return body.size();
}

// The request worker on a GET record, as the web access call runs it. Adds the milliseconds
// of the worker's own run (record read, exchange, record written back) to *worker_ms and
// gives the size of the body read back from the file.
size_t FetchWithWorker(int port, double* worker_ms) {
  using quorvel::ByteString;
  std::string url = "http://127.0.0.1:" + std::to_string(port) + "/big";
  quorvel::TextArray record = {
      ByteString(url), ByteString(std::string("GET")), ByteString(), ByteString(), ByteString(),
      ByteString(),    quorvel::ToBytes("真")};
  quorvel::FileNumber file = quorvel::OpenMemoryFile();
  quorvel::WriteArray(file, record);
  Clock::time_point start = Clock::now();
  quorvel::RequestWorker(file);
  *worker_ms += quorvel::bench::Ms(Clock::now() - start);
  quorvel::SeekToStart(file);
  quorvel::ReadArray(file, record);
  quorvel::CloseFile(file);
  return record[0].str().size();
}

bool FetchWithCurlTool(int port, const std::string& file) {
  std::string command = "curl -s -o " + file + " http://127.0.0.1:" + std::to_string(port) + "/big";
  return std::system(command.c_str()) == 0;
}

template <typename Work>
double MedianMilliseconds(int runs, Work work) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    Clock::time_point start = Clock::now();
    work();
    times.push_back(quorvel::bench::Ms(Clock::now() - start));
  }
  return quorvel::bench::Median(std::move(times));
}

}  // namespace

int main(int argc, char** argv) {
  size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100;
  int runs = argc > 2 ? std::atoi(argv[2]) : 5;
  if (megabytes == 0 || runs <= 0) {
    std::fprintf(stderr, "usage: http_fetch_bench [MEGABYTES] [RUNS]\n");
    return 2;
  }
  size_t size = megabytes * 1024 * 1024;
  BodyServer server(size);
  if (FetchWithStandIn(server.port()) != size) {
    std::fprintf(stderr, "the stand-in did not fetch the whole body\n");
    return 1;
  }
  double ignored = 0;
  if (FetchWithWorker(server.port(), &ignored) != size) {
    std::fprintf(stderr, "the request worker did not fetch the whole body\n");
    return 1;
  }
  std::string file = "/tmp/http_fetch_bench_" + std::to_string(getpid());
  double stand_in = MedianMilliseconds(runs, [&] { FetchWithStandIn(server.port()); });
  // Per run: the worker alone, and with the web access call's read of the record back.
  std::vector<double> worker_alone;
  double worker = MedianMilliseconds(runs, [&] {
    double ms = 0;
    FetchWithWorker(server.port(), &ms);
    worker_alone.push_back(ms);
  });
  std::sort(worker_alone.begin(), worker_alone.end());
  double worker_only = worker_alone[worker_alone.size() / 2];
  double curl = MedianMilliseconds(runs, [&] { FetchWithCurlTool(server.port(), file); });
  unlink(file.c_str());
  std::printf("body %zu MB, median of %d runs\n", megabytes, runs);
  std::printf("  HTTP stand-in (2048-byte reads): %8.1f ms\n", stand_in);
  std::printf("  request worker run:              %8.1f ms\n", worker_only);
  std::printf("  worker run + record read back:   %8.1f ms\n", worker);
  std::printf("  curl -s -o FILE:                 %8.1f ms\n", curl);
  std::printf("  ratio stand-in / curl:           %8.2f\n", stand_in / curl);
  std::printf("  ratio worker run / curl:         %8.2f\n", worker_only / curl);
  return 0;
}
