// 缩址精灵: turns a long web address into a short link and back.
#include <cstdio>
#include <cstring>

namespace {

constexpr const char* kUsage =
    "缩址精灵 (suozhi): long web address <-> short link through a short-link web API.\n"
    "\n"
    "Usage:\n"
    "  suozhi --help        show this text\n"
    "\n"
    "Results are written to the run log 运行日志.txt beside the program, newest line first.\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  std::fputs(kUsage, stdout);
  return argc > 1 ? 2 : 0;
}
