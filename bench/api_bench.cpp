// Requests per second the local stand-in API answers, shorten and query,
// from one client on loopback, each request on a fresh connection as the
// tool makes them.
#include <benchmark/benchmark.h>

#include "support/stand_in.h"
#include "web/web_request.h"

namespace {

using namespace suozhi;

void BM_StandIn_Shorten(benchmark::State& state) {
  test::StandIn f;
  const Text url = f.Url("/api/url");
  int64_t i = 0;
  for (auto _ : state) {
    const Text body = "url=http%3A%2F%2Fexample%2Ecom%2F" + std::to_string(i++) + "&type=2";
    benchmark::DoNotOptimize(WebRequestText(url, "POST", "", nullptr, body));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_StandIn_Shorten)->UseRealTime()->Unit(benchmark::kMicrosecond);

void BM_StandIn_Query(benchmark::State& state) {
  test::StandIn f;
  const Text answer = WebRequestText(f.Url("/api/url"), "POST", "", nullptr,
                                     "url=http%3A%2F%2Fexample%2Ecom%2F&type=2");
  const size_t at = answer.find("t.cn/") + 5;
  const Text code = answer.substr(at, answer.find('"', at) - at);
  const Text url = f.Url("/api/url/query");
  for (auto _ : state) {
    benchmark::DoNotOptimize(WebRequestText(url, "POST", "", nullptr, "url=http://t.cn/" + code));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_StandIn_Query)->UseRealTime()->Unit(benchmark::kMicrosecond);

}  // namespace
