// Clock, local time and the hook through which long operations let the
// window process its waiting messages.
#pragma once

#include <cstdint>
#include <functional>

namespace suozhi::rt {

struct DateTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

DateTime NowLocal();

// Milliseconds since system start, as a wrapping 32-bit counter.
std::uint32_t TickCount();

// Dispatches the window messages that are waiting, then returns. Does nothing
// until a front end installs its handler on this thread.
void ProcessEvents();

// Installs (or, with an empty function, removes) this thread's handler. The
// returned guard restores the previous handler when it goes away.
class ProcessEventsHook {
 public:
  explicit ProcessEventsHook(std::function<void()> handler);
  ~ProcessEventsHook();
  ProcessEventsHook(const ProcessEventsHook&) = delete;
  ProcessEventsHook& operator=(const ProcessEventsHook&) = delete;

 private:
  std::function<void()> previous_;
};

}  // namespace suozhi::rt
