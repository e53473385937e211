// suozhi-api: a local stand-in for the short-link web API, for offline use
// and tests. Prints "listening on http://HOST:PORT" once it serves.
#include <pthread.h>
#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "api_server.h"

namespace {

constexpr const char* kUsage =
    "Usage: suozhi-api [--port N] [--bind ADDRESS] [--db PATH]\n"
    "\n"
    "A local stand-in for the short-link web API used by suozhi.\n"
    "  --port N        port to listen on (default 8642; 0 picks a free one)\n"
    "  --bind ADDRESS  address to listen on (default 127.0.0.1)\n"
    "  --db PATH       SQLite database of the links (default suozhi-api.db)\n"
    "  --help          show this text\n";

bool ParsePort(const char* text, int& port) {
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (*text == '\0' || *end != '\0' || value < 0 || value > 65535) return false;
  port = static_cast<int>(value);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  int port = 8642;
  std::string bind = "127.0.0.1", db = "suozhi-api.db";
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (arg == "--port" && hasValue) {
      if (!ParsePort(argv[++i], port)) {
        std::fprintf(stderr, "suozhi-api: --port takes a number from 0 to 65535, not '%s'\n",
                     argv[i]);
        return 2;
      }
    } else if (arg == "--bind" && hasValue) {
      bind = argv[++i];
    } else if (arg == "--db" && hasValue) {
      db = argv[++i];
    } else {
      std::fprintf(stderr, "suozhi-api: unknown or incomplete option '%s'\n\n%s", arg.c_str(),
                   kUsage);
      return 2;
    }
  }

  // SIGINT and SIGTERM end the server in an orderly way: a thread waits for
  // them and stops it, so the database is closed properly.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  std::string error;
  const auto store = suozhi::api::LinkStore::Open(db, error);
  if (!store) {
    std::fprintf(stderr, "suozhi-api: cannot open the database %s: %s\n", db.c_str(),
                 error.c_str());
    return 1;
  }
  suozhi::api::ApiServer server(*store);
  const int bound = server.Bind(bind, port, true);
  if (bound < 0) {
    std::fprintf(stderr, "suozhi-api: cannot listen on %s:%d\n", bind.c_str(), port);
    return 1;
  }
  std::thread waiter([&] {
    int signal = 0;
    sigwait(&stopSignals, &signal);
    server.Stop();
  });
  std::printf("listening on http://%s:%d\n", bind.c_str(), bound);
  std::fflush(stdout);
  server.Listen();
  pthread_kill(waiter.native_handle(), SIGTERM);  // lets the waiter return if it still waits
  waiter.join();
  return 0;
}
