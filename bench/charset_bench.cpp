// Turning a 10 MB UTF-8 page into GBK: Utf8ToAnsi against `iconv -f UTF-8 -t GBK` on the same
// file, in one run. Target: Utf8ToAnsi within 1.5 times iconv's time.
//
// The page is a forum page of HTML markup and Chinese posts; it is written once to a temporary
// file, and both sides are checked to give the same bytes before anything is timed.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "web/charset.h"

namespace quorvel {
namespace {

constexpr size_t kPageBytes = 10 << 20;

std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

std::string MakePage() {
  const std::string post = Utf8(
      u8"<div class=\"post\" id=\"p12345\"><a href=\"/u.php?uid=8\">会员</a>"
      u8"<p>今天签到成功，您已经顺利登录论坛。金币+5，连续打卡七天可获得额外奖励！"
      u8"欢迎大家在本版讨论软件、硬件与网络相关的问题。</p></div>\n");
  std::string page = "<html><head><meta charset=\"utf-8\"></head><body>\n";
  while (page.size() + post.size() < kPageBytes) page += post;
  return page + "</body></html>\n";
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

// The page on disk, for iconv, and in memory, for Utf8ToAnsi.
struct Page {
  std::string path;
  std::string bytes;

  Page() : bytes(MakePage()) {
    path = (std::filesystem::temp_directory_path() /
            ("quorvel-charset-bench-" + std::to_string(getpid()) + ".html"))
               .string();
    std::ofstream(path, std::ios::binary) << bytes;
  }
  ~Page() { std::remove(path.c_str()); }
};

const Page& SharedPage() {
  static const Page page;
  return page;
}

std::string IconvCommand(const std::string& input, const char* output) {
  return "iconv -f UTF-8 -t GBK '" + input + "' > " + output;
}

void BM_Utf8ToAnsi(benchmark::State& state) {
  const Page& page = SharedPage();
  const Text utf8(page.bytes);
  std::string check_path = page.path + ".gbk";
  if (std::system(IconvCommand(page.path, check_path.c_str()).c_str()) != 0 ||
      Utf8ToAnsi(utf8).str() != ReadAll(check_path)) {
    state.SkipWithError("Utf8ToAnsi and iconv disagree");
  }
  std::remove(check_path.c_str());
  for (auto _ : state) {
    Text gbk = Utf8ToAnsi(utf8);
    benchmark::DoNotOptimize(gbk.c_str());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(page.bytes.size()));
}
BENCHMARK(BM_Utf8ToAnsi)->Unit(benchmark::kMillisecond)->UseRealTime();

// The whole command, as a shell runs it: reading the file and writing to /dev/null included.
void BM_IconvCommand(benchmark::State& state) {
  const Page& page = SharedPage();
  const std::string command = IconvCommand(page.path, "/dev/null");
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) state.SkipWithError("iconv failed");
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(page.bytes.size()));
}
BENCHMARK(BM_IconvCommand)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace quorvel

BENCHMARK_MAIN();
