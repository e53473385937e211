// A window system in memory: records what reaches the clipboard and which
// boxes were shown, and offers a list of top-level windows set by the test.
#pragma once

#include <functional>
#include <vector>

#include "platform/window_system.h"

namespace suozhi::test {

class FakeWindowSystem : public platform::WindowSystem {
 public:
  struct Box {
    platform::WindowHandle owner;
    Text text, title;
    int style, timeoutMs;
    bool timed;
  };
  struct Window {
    platform::WindowHandle handle;
    std::uint32_t process;
    platform::WindowHandle owner;  // 0: not owned
    Text title, className;
    bool visible = true;
  };

  std::vector<Text> clipboard;
  std::vector<Box> boxes;
  std::vector<Window> windows;
  std::uint32_t processId = 4242;
  int boxResult = platform::kIdOk;
  std::function<void()> onClipboard;  // runs before the clipboard changes

  void SetClipboardText(const Text& text) override {
    if (onClipboard) onClipboard();
    clipboard.push_back(text);
  }
  int MessageBox(const Text& text, const Text& title, int style) override {
    boxes.push_back({0, text, title, style, -1, false});
    return boxResult;
  }
  int MessageBoxTimeout(platform::WindowHandle owner, const Text& text, const Text& title,
                        int style, int timeoutMs) override {
    boxes.push_back({owner, text, title, style, timeoutMs, true});
    return boxResult;
  }
  platform::WindowHandle NextTopLevelWindow(platform::WindowHandle after) override {
    if (after == 0) return windows.empty() ? 0 : windows.front().handle;
    for (size_t i = 0; i + 1 < windows.size(); ++i) {
      if (windows[i].handle == after) return windows[i + 1].handle;
    }
    return 0;
  }
  bool IsWindow(platform::WindowHandle w) override { return Find(w) != nullptr; }
  bool IsWindowVisible(platform::WindowHandle w) override { return Find(w) && Find(w)->visible; }
  std::uint32_t WindowProcessId(platform::WindowHandle w) override {
    return Find(w) ? Find(w)->process : 0;
  }
  platform::WindowHandle RootOwner(platform::WindowHandle w) override {
    const Window* win = Find(w);
    while (win && win->owner) win = Find(win->owner);
    return win ? win->handle : 0;
  }
  Text WindowTitle(platform::WindowHandle w) override { return Find(w) ? Find(w)->title : ""; }
  Text WindowClassName(platform::WindowHandle w) override {
    return Find(w) ? Find(w)->className : "";
  }
  std::uint32_t CurrentProcessId() override { return processId; }

 private:
  const Window* Find(platform::WindowHandle w) const {
    for (const auto& win : windows) {
      if (win.handle == w) return &win;
    }
    return nullptr;
  }
};

}  // namespace suozhi::test
