// One shorten from the command line against the local stand-in API, against
// curl piped into jq doing the same job, in the same run.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "support/stand_in.h"

#ifndef SUOZHI_BIN
#error "SUOZHI_BIN must name the tool's binary"
#endif

namespace {

using namespace suozhi;

void Run(benchmark::State& state, const std::string& command) {
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) state.SkipWithError(command.c_str());
  }
}

void BM_SuozhiShorten(benchmark::State& state) {
  test::StandIn api;
  Run(state, std::string(SUOZHI_BIN) +
                 " shorten 'https://example.com/a/b?c=1' --type 2 "
                 "--api-host " +
                 api.host() + " >/dev/null");
}
BENCHMARK(BM_SuozhiShorten)->UseRealTime()->Unit(benchmark::kMillisecond)->MinTime(2);

void BM_CurlJqShorten(benchmark::State& state) {
  test::StandIn api;
  Run(state, "curl -s -d 'url=https%3A%2F%2Fexample%2Ecom%2Fa%2Fb%3Fc%3D1&type=2' http://" +
                 api.host() + "/api/url | jq -r .data.short_url >/dev/null");
}
BENCHMARK(BM_CurlJqShorten)->UseRealTime()->Unit(benchmark::kMillisecond)->MinTime(2);

}  // namespace
