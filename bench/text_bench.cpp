// The text primitives of src/base/ on GBK forum pages of 1 KB, 1 MB and 10 MB, each next to a
// byte-only floor measured in the same run: std::string_view::find / rfind, memchr, memcpy.
// Target: every primitive within 3 times its floor, and linear in the size.
//
// The page is HTML markup around Chinese posts (this file compiles with -fexec-charset=GBK,
// so the literals below are GBK bytes). The searched phrase stands once, near the end.

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <string_view>

#include "base/memory_file.h"
#include "base/text_ops.h"

namespace quorvel {
namespace {

const char* const kPhrase = "您已经顺利登录";
const char* const kReplacement = "登陆成功";
const char* const kAbsent = "打卡失败";
// The same as texts, made once: the timed loops measure the operations, not the set-up.
const Text kPhraseText(kPhrase), kReplacementText(kReplacement), kAbsentText(kAbsent),
    kBodyEnd("</BODY>");

// A forum page of about `size` bytes: markup and Chinese posts, blanks (half-width and
// full-width) at both ends, the phrase once in the last post.
std::string MakePage(size_t size) {
  const std::string post =
      "<div class=\"Post\" id=\"p12345\"><a href=\"/u.php?uid=8\">会员ABC</a>\r\n"
      "<p>今天签到成功，金币+5，连续打卡七天可获得额外奖励！欢迎大家在本版讨论软件、"
      "硬件与网络相关的问题。</p></div>\r\n";
  const std::string tail = std::string("<p>") + kPhrase + "</p></body></html>\r\n  　";
  std::string page = "　  <html><head><title>论坛</title></head><body>\r\n";
  while (page.size() + post.size() + tail.size() < size) page += post;
  return page + tail;
}

const std::string& Page(int64_t size) {
  static const std::string small = MakePage(1 << 10);
  static const std::string medium = MakePage(1 << 20);
  static const std::string large = MakePage(10 << 20);
  return size == (1 << 10) ? small : size == (1 << 20) ? medium : large;
}

void Sizes(benchmark::internal::Benchmark* bench) {
  bench->Arg(1 << 10)->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMicrosecond);
}

template <typename Body>
void Run(benchmark::State& state, Body body) {
  const std::string& page = Page(state.range(0));
  for (auto _ : state) body(page);
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(page.size()));
}

// --- Searches: the phrase near the end, then nothing found ---

void BM_FindText(benchmark::State& state) {
  const Text page(Page(state.range(0)));
  Run(state, [&](const std::string&) {
    benchmark::DoNotOptimize(FindText(page, kPhraseText, kOmitted, false));
  });
}
BENCHMARK(BM_FindText)->Apply(Sizes);

void BM_FindTextIgnoreCase(benchmark::State& state) {
  const Text page(Page(state.range(0)));
  Run(state, [&](const std::string&) {
    benchmark::DoNotOptimize(FindText(page, kBodyEnd, kOmitted, true));
  });
}
BENCHMARK(BM_FindTextIgnoreCase)->Apply(Sizes);

void BM_FloorFind(benchmark::State& state) {
  Run(state, [](const std::string& page) {
    benchmark::DoNotOptimize(std::string_view(page).find(kPhrase));
  });
}
BENCHMARK(BM_FloorFind)->Apply(Sizes);

// The floor of the case-folding search: the exact search for the same marker as the page
// spells it ("<" stands at every tag, so this is slower than the phrase search).
void BM_FloorFindMarkup(benchmark::State& state) {
  Run(state, [](const std::string& page) {
    benchmark::DoNotOptimize(std::string_view(page).find("</body>"));
  });
}
BENCHMARK(BM_FloorFindMarkup)->Apply(Sizes);

// From the end: the phrase is found after a short way back.
void BM_FindTextReverse(benchmark::State& state) {
  const Text page(Page(state.range(0)));
  Run(state, [&](const std::string&) {
    benchmark::DoNotOptimize(FindTextReverse(page, kPhraseText, kOmitted, false));
  });
}
BENCHMARK(BM_FindTextReverse)->Apply(Sizes);

void BM_FloorRfind(benchmark::State& state) {
  Run(state, [](const std::string& page) {
    benchmark::DoNotOptimize(std::string_view(page).rfind(kPhrase));
  });
}
BENCHMARK(BM_FloorRfind)->Apply(Sizes);

// From the end for a phrase that is absent: the whole page is searched.
void BM_FindTextReverseAbsent(benchmark::State& state) {
  const Text page(Page(state.range(0)));
  Run(state, [&](const std::string&) {
    benchmark::DoNotOptimize(FindTextReverse(page, kAbsentText, kOmitted, false));
  });
}
BENCHMARK(BM_FindTextReverseAbsent)->Apply(Sizes);

void BM_FloorRfindAbsent(benchmark::State& state) {
  Run(state, [](const std::string& page) {
    benchmark::DoNotOptimize(std::string_view(page).rfind(kAbsent));
  });
}
BENCHMARK(BM_FloorRfindAbsent)->Apply(Sizes);

// --- Whole-text rewrites: one pass plus a copy ---

void BM_ReplaceSubtext(benchmark::State& state) {
  const Text page(Page(state.range(0)));
  Run(state, [&](const std::string&) {
    Text out = ReplaceSubtext(page, kPhraseText, kReplacementText, kOmitted, kOmitted, true);
    benchmark::DoNotOptimize(out.c_str());
  });
}
BENCHMARK(BM_ReplaceSubtext)->Apply(Sizes);

// The floor of a replace: find the phrase, copy what surrounds it and the replacement.
void BM_FloorFindAndCopy(benchmark::State& state) {
  Run(state, [](const std::string& page) {
    const std::string_view in(page);
    const size_t hit = in.find(kPhrase);
    std::string out;
    out.reserve(in.size());
    out.append(in.substr(0, hit)).append(kReplacement).append(in.substr(hit + strlen(kPhrase)));
    benchmark::DoNotOptimize(out.data());
  });
}
BENCHMARK(BM_FloorFindAndCopy)->Apply(Sizes);

void BM_TrimBlanks(benchmark::State& state) {
  const Text page(Page(state.range(0)));
  Run(state, [&](const std::string&) {
    Text out = TrimBlanks(page);
    benchmark::DoNotOptimize(out.c_str());
  });
}
BENCHMARK(BM_TrimBlanks)->Apply(Sizes);

void BM_ToLower(benchmark::State& state) {
  const Text page(Page(state.range(0)));
  Run(state, [&](const std::string&) {
    Text out = ToLower(page);
    benchmark::DoNotOptimize(out.c_str());
  });
}
BENCHMARK(BM_ToLower)->Apply(Sizes);

// The floor of a rewrite: a copy of the whole text (the constructor of Text also scans it
// once with memchr for a zero byte).
void BM_FloorCopy(benchmark::State& state) {
  Run(state, [](const std::string& page) {
    std::string out(page);
    benchmark::DoNotOptimize(std::memchr(out.data(), 0, out.size()));
  });
}
BENCHMARK(BM_FloorCopy)->Apply(Sizes);

// --- The in-memory file ---

void BM_ReadLine(benchmark::State& state) {
  const FileNumber file = OpenMemoryFile();
  WriteText(file, Text(Page(state.range(0))));
  Run(state, [&](const std::string&) {
    SeekToStart(file);
    while (!AtEnd(file)) {
      Text line = ReadLine(file);
      benchmark::DoNotOptimize(line.c_str());
    }
  });
  CloseFile(file);
}
BENCHMARK(BM_ReadLine)->Apply(Sizes);

// The floor of reading lines: memchr to each line feed and a copy of the line.
void BM_FloorLines(benchmark::State& state) {
  Run(state, [](const std::string& page) {
    for (size_t at = 0; at < page.size();) {
      const void* hit = std::memchr(page.data() + at, '\n', page.size() - at);
      const size_t end = hit ? static_cast<const char*>(hit) - page.data() : page.size();
      std::string line(page, at, end - at);
      benchmark::DoNotOptimize(line.data());
      at = end + 1;
    }
  });
}
BENCHMARK(BM_FloorLines)->Apply(Sizes);

// A request record as the web access call hands it over: six short slots and the page.
TextArray Record(const std::string& page) {
  TextArray record(7, ByteString(std::string_view("http://bbs.quorvel.com/login.php")));
  record[0] = ByteString(page);
  return record;
}

// Into one open file, from its start (the web access call opens a file per call as well; that
// costs about 0.1 us more).
void BM_WriteArray(benchmark::State& state) {
  const TextArray record = Record(Page(state.range(0)));
  const FileNumber file = OpenMemoryFile();
  Run(state, [&](const std::string&) {
    SeekToStart(file);
    WriteArray(file, record);
  });
  CloseFile(file);
}
BENCHMARK(BM_WriteArray)->Apply(Sizes);

void BM_ReadArray(benchmark::State& state) {
  const FileNumber file = OpenMemoryFile();
  WriteArray(file, Record(Page(state.range(0))));
  Run(state, [&](const std::string&) {
    TextArray record(7);
    SeekToStart(file);
    ReadArray(file, record);
    benchmark::DoNotOptimize(record[0].data());
  });
  CloseFile(file);
}
BENCHMARK(BM_ReadArray)->Apply(Sizes);

// The floor of moving a record: the seven slots copied into fresh strings (malloc and memcpy).
void BM_FloorCopyRecord(benchmark::State& state) {
  const TextArray record = Record(Page(state.range(0)));
  Run(state, [&](const std::string&) {
    TextArray copy = record;
    benchmark::DoNotOptimize(copy[0].data());
  });
}
BENCHMARK(BM_FloorCopyRecord)->Apply(Sizes);

}  // namespace
}  // namespace quorvel

BENCHMARK_MAIN();
