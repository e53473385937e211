// The address check on a long subject, and on a typical one.
#include <benchmark/benchmark.h>

#include "pattern/regex_object.h"
#include "platform/components.h"

namespace {

using namespace suozhi;

void BM_FindPatternMatch_2MB(benchmark::State& state) {
  platform::RegisterRegExpComponent();
  const Text subject = std::string(1 << 20, 'a') + "://" + std::string(1 << 20, 'b');
  for (auto _ : state) benchmark::DoNotOptimize(FindPatternMatch(subject, 1));
}
BENCHMARK(BM_FindPatternMatch_2MB)->Unit(benchmark::kMicrosecond);

void BM_FindPatternMatch_2MB_NoAddress(benchmark::State& state) {
  platform::RegisterRegExpComponent();
  const Text subject = std::string(2 << 20, 'a');
  for (auto _ : state) benchmark::DoNotOptimize(FindPatternMatch(subject, 1));
}
BENCHMARK(BM_FindPatternMatch_2MB_NoAddress)->Unit(benchmark::kMicrosecond);

void BM_FindPatternMatch_Typical(benchmark::State& state) {
  platform::RegisterRegExpComponent();
  const Text subject = "https://example.com/some/long/path?with=query&and=more";
  for (auto _ : state) benchmark::DoNotOptimize(FindPatternMatch(subject, 1));
}
BENCHMARK(BM_FindPatternMatch_Typical)->Unit(benchmark::kMicrosecond);

}  // namespace
