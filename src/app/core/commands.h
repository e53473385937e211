// The window's click handlers: shorten, restore, the two copy buttons and
// the two help buttons, written once for every front end.
#pragma once

#include <optional>
#include <string_view>

#include "app/core/layout.h"
#include "platform/window_system.h"
#include "runtime/controls.h"
#include "runtime/text.h"

namespace suozhi {

// The percent-encoded address and the type of the last shorten request that
// passed its input checks; empty until the first one.
extern Text g_EncodedUrl;
extern Text g_TypeText;

// Start-up hook (does nothing, yields 0) and the exit routine that releases
// the two globals.
int OnStartup();
void OnExit();

inline constexpr std::string_view kDefaultApiHost = "v1.alapi.cn";

struct CommandOptions {
  Text apiHost = Text(kDefaultApiHost);  // HOST or HOST:PORT
  Text logFile;                          // empty: the run log beside the program
};

class Commands {
 public:
  Commands(ControlHost& controls, platform::WindowSystem& windows, CommandOptions options = {});

  // 1 to 8: the first checked type button, 1 when none is.
  int GetSelectedType();

  void OnGenerateClick();
  void OnRestoreClick();
  void OnCopyShortClick();
  void OnCopyRestoredClick();
  void OnGenerateHelpClick();
  void OnRestoreHelpClick();

  // Runs the handler the layout table names.
  void Dispatch(app::Handler handler);

 private:
  void Log(const Text& message);
  // Posts `body` to the API path and gives the answer's `member`, or nothing
  // when the request, its code or the member shows there is no result.
  std::optional<Text> Ask(std::string_view path, const Text& body, const Text& member);
  // Logs the result, shows it in `box` and copies it, in that order.
  void Deliver(std::string_view box, const Text& result, const Text& logMessage);

  ControlHost& controls_;
  platform::WindowSystem& windows_;
  CommandOptions options_;
};

}  // namespace suozhi
