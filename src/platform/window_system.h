// The window system's services the program uses besides its own controls:
// the clipboard, message boxes, and the list of top-level windows with the
// facts of each. A front end provides them; tests provide fakes.
#pragma once

#include <cstdint>

#include "runtime/text.h"

namespace suozhi::platform {

// 0 is the null window.
using WindowHandle = std::uintptr_t;

// Message-box results and styles, with the system's values.
inline constexpr int kIdOk = 1;
inline constexpr int kIdTimeout = 32000;  // a box that closed itself
inline constexpr int kMbOk = 0x0;
inline constexpr int kMbTaskModal = 0x2000;

class WindowSystem {
 public:
  virtual ~WindowSystem() = default;

  // Replaces whatever the clipboard held by `text` alone.
  virtual void SetClipboardText(const Text& text) = 0;

  // A box without owner that blocks the whole program until closed.
  virtual int MessageBox(const Text& text, const Text& title, int style) = 0;
  // A box owned by `owner` (0: none) that closes itself after `timeoutMs`
  // (then giving kIdTimeout); otherwise the button pressed.
  virtual int MessageBoxTimeout(WindowHandle owner, const Text& text, const Text& title, int style,
                                int timeoutMs) = 0;

  // The top-level window after `after` in the system's order, the first for
  // 0, and 0 after the last.
  virtual WindowHandle NextTopLevelWindow(WindowHandle after) = 0;
  virtual bool IsWindow(WindowHandle window) = 0;
  virtual bool IsWindowVisible(WindowHandle window) = 0;
  virtual std::uint32_t WindowProcessId(WindowHandle window) = 0;
  virtual WindowHandle RootOwner(WindowHandle window) = 0;
  virtual Text WindowTitle(WindowHandle window) = 0;
  virtual Text WindowClassName(WindowHandle window) = 0;
  virtual std::uint32_t CurrentProcessId() = 0;
};

}  // namespace suozhi::platform
