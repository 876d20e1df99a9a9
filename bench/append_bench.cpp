// Growing a body piece by piece, as the request worker does with every 2048-byte read.
// The time per byte must stay flat from 1 MB to 100 MB: linear, not quadratic.

#include <benchmark/benchmark.h>

#include "base/byte_ops.h"

namespace quorvel {
namespace {

void BM_AppendBody(benchmark::State& state) {
  const ByteString piece(std::string(2048, 'x'));
  const int64_t pieces = state.range(0) / 2048;
  for (auto _ : state) {
    ByteString body;
    for (int64_t i = 0; i < pieces; ++i) body = ConcatBytes(std::move(body), piece);
    benchmark::DoNotOptimize(body.data());
  }
  state.SetBytesProcessed(state.iterations() * pieces * 2048);
}
BENCHMARK(BM_AppendBody)
    ->Arg(1 << 20)
    ->Arg(10 << 20)
    ->Arg(100 << 20)
    ->Unit(benchmark::kMillisecond);

// The floor: std::string::append of the same pieces.
void BM_AppendFloor(benchmark::State& state) {
  const std::string piece(2048, 'x');
  const int64_t pieces = state.range(0) / 2048;
  for (auto _ : state) {
    std::string body;
    for (int64_t i = 0; i < pieces; ++i) body.append(piece);
    benchmark::DoNotOptimize(body.data());
  }
  state.SetBytesProcessed(state.iterations() * pieces * 2048);
}
BENCHMARK(BM_AppendFloor)
    ->Arg(1 << 20)
    ->Arg(10 << 20)
    ->Arg(100 << 20)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quorvel

BENCHMARK_MAIN();
