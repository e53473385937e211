// Run-time and run-log figures. The log insert is measured against copying
// the same 10 MB file once, in the same run, so the ratio is what matters.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "desktop/run_log.h"
#include "pattern/url_encode.h"
#include "runtime/codepage.h"
#include "runtime/files.h"
#include "runtime/text.h"
#include "web/url.h"

namespace {

using namespace suozhi;

struct TenMegabyteLog {
  std::filesystem::path dir = std::filesystem::temp_directory_path() / "suozhi-bench-log";
  std::filesystem::path log = dir / "log.txt";
  TenMegabyteLog() {
    std::filesystem::create_directories(dir);
    std::ofstream out(log, std::ios::binary | std::ios::trunc);
    const std::string line = std::string(98, 'x') + "\r\n";
    for (int i = 0; i < 100 * 1024; ++i) out << line;
  }
  ~TenMegabyteLog() { std::filesystem::remove_all(dir); }
};

void BM_WriteRunLog_10MB(benchmark::State& state) {
  TenMegabyteLog fixture;
  const Text name = fixture.log.string();
  const rt::DateTime when{2020, 4, 20, 9, 5, 7};
  for (auto _ : state) WriteRunLogAt("bench", name, when);
}
BENCHMARK(BM_WriteRunLog_10MB)->Unit(benchmark::kMillisecond);

void BM_CopyFile_10MB(benchmark::State& state) {
  TenMegabyteLog fixture;
  const auto copy = fixture.dir / "copy.txt";
  for (auto _ : state) {
    std::filesystem::copy_file(fixture.log, copy,
                               std::filesystem::copy_options::overwrite_existing);
  }
}
BENCHMARK(BM_CopyFile_10MB)->Unit(benchmark::kMillisecond);

void BM_FindText_1MB(benchmark::State& state) {
  const Text text = std::string(1 << 20, 'a') + "Set-Cookie: x";
  for (auto _ : state) benchmark::DoNotOptimize(rt::FindText(text, "set-cookie: ", 1, true));
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_FindText_1MB);

void BM_UrlEncode_Typical(benchmark::State& state) {
  const Text text = cp::FromUtf8("https://example.com/路径/page?q=短网址&x=1#top");
  for (auto _ : state) benchmark::DoNotOptimize(UrlEncode(text));
}
BENCHMARK(BM_UrlEncode_Typical);

void BM_UrlSplit_Typical(benchmark::State& state) {
  const Text url = "http://v1.alapi.cn:8080/api/url/query";
  for (auto _ : state) {
    benchmark::DoNotOptimize(GetUrlHost(url));
    benchmark::DoNotOptimize(GetUrlPort(url));
    benchmark::DoNotOptimize(GetUrlPath(url));
  }
}
BENCHMARK(BM_UrlSplit_Typical);

void BM_CodePageRoundTrip(benchmark::State& state) {
  const std::string utf8 = "网址缩短》原网址：http://example.com/a----短网址：http://t.cn/abc";
  for (auto _ : state) benchmark::DoNotOptimize(cp::ToUtf8(cp::FromUtf8(utf8)));
}
BENCHMARK(BM_CodePageRoundTrip);

}  // namespace
