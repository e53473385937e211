#include "desktop/message_box.h"

#include "runtime/codepage.h"
#include "runtime/system.h"

namespace suozhi {
namespace {
constexpr int kYearMs = 31536000;
constexpr int kClassBuffer = 50;
}  // namespace

int TimedMessageBox(platform::WindowSystem& windows, const Text& text, std::optional<int> boxType,
                    std::optional<Text> title, std::optional<WindowHandle> ownerWindow,
                    std::optional<int> timeoutMs) {
  static const Text kDefaultTitle = cp::FromUtf8("友情提醒");
  const WindowHandle owner =
      ownerWindow ? *ownerWindow
                  : FindProcessWindow(windows, windows.CurrentProcessId(), {}, {}, 1000);
  const int r = windows.MessageBoxTimeout(owner, text, title ? *title : kDefaultTitle,
                                          boxType.value_or(0), timeoutMs.value_or(5000));
  return r - 1;
}

WindowHandle FindProcessWindow(platform::WindowSystem& windows, std::uint32_t processId,
                               std::optional<Text> titleFilter, std::optional<Text> classFilter,
                               std::optional<int> timeoutMs, std::optional<bool> visibleOnly) {
  const auto start = static_cast<std::int32_t>(rt::TickCount());
  const int limit = timeoutMs && *timeoutMs != -1 ? *timeoutMs : kYearMs;
  const bool visible = visibleOnly.value_or(false);
  auto contains = [](const Text& text, const Text& filter) {
    return rt::FindText(text, filter) != -1;
  };
  WindowHandle candidate = 0;
  for (;;) {
    // Signed readings, difference in floating point: a wrap of the tick
    // counter still ends the search within its limit.
    const auto now = static_cast<std::int32_t>(rt::TickCount());
    if ((static_cast<double>(now) - start) - limit >= -0.0000001) return 0;
    candidate = windows.NextTopLevelWindow(candidate);
    if (!windows.IsWindow(candidate)) {
      rt::ProcessEvents();
      continue;
    }
    if (visible && !windows.IsWindowVisible(candidate)) continue;
    if (GetWindowProcess(windows, candidate) == processId &&
        GetRootOwner(windows, candidate) == candidate) {
      const Text title = GetWindowTitle(windows, candidate);
      const Text cls = GetWindowClass(windows, candidate);
      if (titleFilter && !contains(title, *titleFilter)) return 0;
      if (classFilter && !contains(cls, *classFilter)) return 0;
      return candidate;
    }
    rt::ProcessEvents();
  }
}

std::uint32_t GetWindowProcess(platform::WindowSystem& windows, WindowHandle window) {
  return windows.WindowProcessId(window);
}

WindowHandle GetRootOwner(platform::WindowSystem& windows, WindowHandle window) {
  return windows.RootOwner(window);
}

Text GetWindowTitle(platform::WindowSystem& windows, WindowHandle window) {
  const Text title = windows.WindowTitle(window);
  return title.substr(0, title.find('\0'));
}

Text GetWindowClass(platform::WindowSystem& windows, WindowHandle window) {
  const Text cls = windows.WindowClassName(window);
  return cls.substr(0, std::min(cls.find('\0'), static_cast<size_t>(kClassBuffer - 1)));
}

}  // namespace suozhi
