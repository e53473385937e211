// A 100 MB body on loopback, read by WebRequest and by curl's command-line
// client from the same server in the same run; the ratio is the figure.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "support/loopback_server.h"
#include "web/web_request.h"

namespace {

using namespace suozhi;

const std::string& Body() {
  static const std::string body(100u << 20, 'x');
  return body;
}

void BM_WebRequest_100MB(benchmark::State& state) {
  test::LoopbackServer server;
  for (auto _ : state) {
    state.PauseTiming();
    server.Enqueue(test::HttpReply(Body()));
    state.ResumeTiming();
    const ByteSet got = WebRequest(server.Url("/big"));
    if (got.size() != Body().size()) state.SkipWithError("short body");
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(Body().size()));
}
BENCHMARK(BM_WebRequest_100MB)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void BM_CurlCommandLine_100MB(benchmark::State& state) {
  test::LoopbackServer server;
  const std::string command = "curl -s -o /dev/null " + server.Url("/big");
  for (auto _ : state) {
    state.PauseTiming();
    server.Enqueue(test::HttpReply(Body()));
    state.ResumeTiming();
    if (std::system(command.c_str()) != 0) state.SkipWithError("curl failed");
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(Body().size()));
}
BENCHMARK(BM_CurlCommandLine_100MB)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace
