// The window-system services for the command line: message boxes are lines
// on stderr, the console stands in as the program's one top-level window,
// and the clipboard is reached through xclip when copying is asked for.
#pragma once

#include <iosfwd>

#include "platform/window_system.h"

namespace suozhi::platform {

class ConsoleWindowSystem : public WindowSystem {
 public:
  ConsoleWindowSystem(std::ostream& messages, bool copyToClipboard)
      : messages_(messages), copy_(copyToClipboard) {}

  void SetClipboardText(const Text& text) override;
  int MessageBox(const Text& text, const Text& title, int style) override;
  int MessageBoxTimeout(WindowHandle owner, const Text& text, const Text& title, int style,
                        int timeoutMs) override;
  WindowHandle NextTopLevelWindow(WindowHandle after) override { return after == 0 ? 1 : 0; }
  bool IsWindow(WindowHandle window) override { return window == 1; }
  bool IsWindowVisible(WindowHandle window) override { return window == 1; }
  std::uint32_t WindowProcessId(WindowHandle window) override;
  WindowHandle RootOwner(WindowHandle window) override { return window; }
  Text WindowTitle(WindowHandle) override { return "suozhi"; }
  Text WindowClassName(WindowHandle) override { return "Console"; }
  std::uint32_t CurrentProcessId() override;

  int BoxesShown() const { return boxes_; }
  bool ClipboardFailed() const { return clipboardFailed_; }

 private:
  std::ostream& messages_;
  bool copy_;
  int boxes_ = 0;
  bool clipboardFailed_ = false;
};

}  // namespace suozhi::platform
