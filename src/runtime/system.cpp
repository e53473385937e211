#include "runtime/system.h"

#include <ctime>
#include <utility>

namespace suozhi::rt {
namespace {

// The UI thread's message pump, installed by the front end that owns it.
std::function<void()>& Handler() {
  thread_local std::function<void()> handler;
  return handler;
}

}  // namespace

DateTime NowLocal() {
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

std::uint32_t TickCount() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ts.tv_sec) * 1000u +
                                    static_cast<std::uint64_t>(ts.tv_nsec) / 1000000u);
}

void ProcessEvents() {
  if (auto& handler = Handler()) handler();
}

ProcessEventsHook::ProcessEventsHook(std::function<void()> handler)
    : previous_(std::exchange(Handler(), std::move(handler))) {}

ProcessEventsHook::~ProcessEventsHook() {
  Handler() = std::move(previous_);
}

}  // namespace suozhi::rt
