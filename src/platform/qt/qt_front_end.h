// The Qt 6 front end: the main window built from the layout table, its
// controls reached by their names, and the window-system services.
#pragma once

#include <QPointer>
#include <QWidget>

#include <map>
#include <memory>
#include <vector>

#include "app/core/commands.h"
#include "platform/window_system.h"
#include "runtime/controls.h"

namespace suozhi::platform::qt {

// Builds the window with every control of the layout table, centred on the
// primary screen; controls carry their names as object names.
std::unique_ptr<QWidget> BuildMainWindow();

class QtControls : public ControlHost {
 public:
  explicit QtControls(QWidget& root) : root_(&root) {}
  Text GetText(std::string_view name) override;
  void SetText(std::string_view name, const Text& text) override;
  int GetChecked(std::string_view name) override;
  void SetChecked(std::string_view name, bool checked) override;

 private:
  QWidget* Find(std::string_view name) const;
  QPointer<QWidget> root_;
};

// The program's own top-level windows stand for the system's list, most
// recently active first (Qt keeps no z-order of its own).
class QtWindowSystem : public QObject, public WindowSystem {
 public:
  QtWindowSystem();
  void SetClipboardText(const Text& text) override;
  int MessageBox(const Text& text, const Text& title, int style) override;
  int MessageBoxTimeout(WindowHandle owner, const Text& text, const Text& title, int style,
                        int timeoutMs) override;
  WindowHandle NextTopLevelWindow(WindowHandle after) override;
  bool IsWindow(WindowHandle window) override;
  bool IsWindowVisible(WindowHandle window) override;
  std::uint32_t WindowProcessId(WindowHandle window) override;
  WindowHandle RootOwner(WindowHandle window) override;
  Text WindowTitle(WindowHandle window) override;
  Text WindowClassName(WindowHandle window) override;
  std::uint32_t CurrentProcessId() override;

  WindowHandle HandleOf(QWidget* widget);
  QWidget* WidgetOf(WindowHandle window) const;

 private:
  std::vector<QWidget*> Ordered();
  void Activated(QWidget* widget);

  std::map<WindowHandle, QPointer<QWidget>> widgets_;
  std::vector<WindowHandle> recent_;  // most recently active first
  WindowHandle next_ = 1;
};

// The whole front end: window, services, commands and the wiring of clicks.
class FrontEnd {
 public:
  explicit FrontEnd(CommandOptions options);
  ~FrontEnd();
  QWidget& window() { return *window_; }
  QtWindowSystem& windows() { return windows_; }
  Commands& commands() { return commands_; }

 private:
  QtWindowSystem windows_;
  std::unique_ptr<QWidget> window_;
  QtControls controls_;
  Commands commands_;
};

}  // namespace suozhi::platform::qt
