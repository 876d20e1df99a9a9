// Figures of the web access call, on the headless backend and on the Qt backend (offscreen):
//   1. CPU time of the whole process while one call waits 5 s on a server that never answers
//      (getrusage around the call; target under 50 ms: the wait blocks, it does not spin);
//   2. the time from the worker's last HTTP call (it then writes the record back and ends) to
//      the call returning, with a fake HTTP layer (target under 2 ms);
//   3. the time of one call on a 1 KB page from a local server against a bare libcurl request
//      of the same page in the same run (target: under 1 ms more).
// A plain program (not Google Benchmark): the first figure takes seconds per run.
//
//   web_access_bench [RUNS]      (default 3; figures 2 and 3 use 100 times as many calls)

#include <curl/curl.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/text_ops.h"
#include "bench_timing.h"
#include "platform/window/headless/headless_backend.h"
#include "platform/window/qt/qt_backend.h"
#include "support/http_test_server.h"
#include "support/raw_tcp_server.h"
#include "support/recording_http.h"
#include "web/web_access.h"

namespace {

using quorvel::ByteString;
using quorvel::Text;
using quorvel::bench::Clock;
using quorvel::bench::Median;
using quorvel::bench::Ms;
using quorvel::testing::RecordingHttp;

double CpuMs() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
  return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// 1. One call that waits out its 5 s limit on a silent server.
void SilentServerCpu(const char* backend, int runs) {
  quorvel::testing::RawTcpServer silent;
  if (!silent.Start()) return;
  std::vector<double> cpu, wall;
  for (int i = 0; i < runs; ++i) {
    Text url(silent.Url("/"));
    const double cpu_before = CpuMs();
    const Clock::time_point start = Clock::now();
    const ByteString body = quorvel::WebAccess(url, 0, {}, {}, {}, {}, 5);
    wall.push_back(Ms(Clock::now() - start));
    cpu.push_back(CpuMs() - cpu_before);
    if (body.view() != quorvel::kTimeOutMessage) std::printf("  (call did not time out)\n");
  }
  std::printf("%-8s silent server, 5 s limit: CPU %.1f ms (median of %d; max %.1f), wall %.0f ms\n",
              backend, Median(cpu), runs, *std::max_element(cpu.begin(), cpu.end()), Median(wall));
}

// A fake HTTP layer that notes when the worker made its last call.
class TimedHttp : public RecordingHttp {
 public:
  Clock::time_point last_close;
  bool InternetCloseHandle(quorvel::platform::HINTERNET handle) override {
    const bool result = RecordingHttp::InternetCloseHandle(handle);
    last_close = Clock::now();
    return result;
  }
};

// 2. From the worker's end to the call's return.
void WorkerEndToReturn(const char* backend, int calls) {
  std::vector<double> gaps;
  for (int i = 0; i < calls; ++i) {
    TimedHttp fake;
    fake.body = std::string(1024, 'x');
    fake.raw_headers = "HTTP/1.1 200 OK\r\nContent-Length: 1024\r\n\r\n";
    quorvel::testing::ScopedRecordingHttp installed(fake);
    Text url("http://127.0.0.1/page");
    quorvel::WebAccess(url);
    gaps.push_back(Ms(Clock::now() - fake.last_close));
  }
  std::sort(gaps.begin(), gaps.end());
  std::printf("%-8s worker end to return: median %.3f ms, 99th %.3f ms, max %.3f ms (%d calls)\n",
              backend, Median(gaps), gaps[gaps.size() * 99 / 100], gaps.back(), calls);
}

size_t Collect(char* data, size_t size, size_t count, void* out) {
  static_cast<std::string*>(out)->append(data, size * count);
  return size * count;
}

// A bare libcurl GET on a fresh handle (the call, too, opens a new connection each time).
std::string CurlGet(const std::string& url) {
  std::string body;
  CURL* curl = curl_easy_init();
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &Collect);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
  curl_easy_setopt(curl, CURLOPT_PROXY, "");
  curl_easy_perform(curl);
  curl_easy_cleanup(curl);
  return body;
}

// 3. One call on a 1 KB page against a bare libcurl request, alternating.
void PerCallOverhead(const char* backend, int calls) {
  quorvel::testing::HttpTestServer server;
  const std::string page(1024, 'p');
  server.server().Get("/page", [&](const httplib::Request&, httplib::Response& response) {
    response.set_content(page, "text/html");
  });
  if (!server.Start()) return;
  const std::string url = server.Url("/page");
  std::vector<double> call_ms, curl_ms;
  for (int i = 0; i < calls; ++i) {
    Clock::time_point start = Clock::now();
    Text address(url);
    const ByteString body = quorvel::WebAccess(address);
    call_ms.push_back(Ms(Clock::now() - start));
    start = Clock::now();
    const std::string bare = CurlGet(url);
    curl_ms.push_back(Ms(Clock::now() - start));
    if (body.view() != page || bare != page) std::printf("  (wrong body)\n");
  }
  const double call = Median(call_ms), curl = Median(curl_ms);
  std::printf(
      "%-8s 1 KB page: call %.3f ms, bare libcurl %.3f ms, overhead %.3f ms (medians of %d)\n",
      backend, call, curl, call - curl, calls);
}

void RunAll(const char* backend, int runs) {
  WorkerEndToReturn(backend, runs * 100);
  PerCallOverhead(backend, runs * 100);
  SilentServerCpu(backend, runs);
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  curl_global_init(CURL_GLOBAL_DEFAULT);
  RunAll("headless", runs);

  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  int qt_argc = 1;
  char name[] = "web_access_bench";
  char* qt_argv[] = {name, nullptr};
  quorvel::platform::InstallBackend(quorvel::platform::MakeQtBackend(qt_argc, qt_argv));
  RunAll("qt", runs);
  quorvel::platform::UseHeadlessBackend();
  return 0;
}
