// Reading one member of a typical API answer: a fresh engine per parse, so
// a number member costs four engines and a string member two.
#include <benchmark/benchmark.h>

#include "json/json_object.h"
#include "platform/components.h"

namespace {

using namespace suozhi;

const Text kAnswer =
    R"({"code":200,"msg":"success","data":{"short_url":"http:\/\/t.cn\/A6abcdEf",)"
    R"("long_url":"https:\/\/example.com\/a\/very\/long\/path?with=query"},"time":1700000000})";

void BM_ReadJsonText_Code(benchmark::State& state) {
  platform::RegisterScriptComponent();
  for (auto _ : state) {
    Text json = kAnswer;
    benchmark::DoNotOptimize(ReadJsonText(json, "code"));
  }
}
BENCHMARK(BM_ReadJsonText_Code)->Unit(benchmark::kMicrosecond);

void BM_ReadJsonText_ShortUrl(benchmark::State& state) {
  platform::RegisterScriptComponent();
  for (auto _ : state) {
    Text json = kAnswer;
    benchmark::DoNotOptimize(ReadJsonText(json, "data['short_url']"));
  }
}
BENCHMARK(BM_ReadJsonText_ShortUrl)->Unit(benchmark::kMicrosecond);

}  // namespace
