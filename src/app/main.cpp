// 缩址精灵: turns a long web address into a short link and back, in a window
// or from the command line.
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "app/cli.h"
#include "platform/components.h"
#include "platform/desktop_app.h"
#include "runtime/codepage.h"
#include "runtime/files.h"

int main(int argc, char** argv) {
  using namespace suozhi;
  const std::vector<std::string> args(argv + 1, argv + argc);
  const app::Options options = app::ParseOptions(args);
  if (!options.error.empty()) {
    std::cerr << "suozhi: " << options.error << "\n\n" << app::kUsage;
    return 2;
  }
  if (options.command == app::Options::Command::kHelp) {
    std::cout << app::kUsage;
    return 0;
  }

  // Start-up: the run directory becomes the current one, the exit routine is
  // registered, the components are made known, and the start-up hook runs.
  rt::EnterRunDirectory();
  std::atexit(OnExit);
  platform::RegisterRegExpComponent();
  platform::RegisterScriptComponent();
  OnStartup();

  if (options.command != app::Options::Command::kWindow) {
    return app::RunCommand(options, std::cout, std::cerr);
  }
  if (!platform::DisplayAvailable()) {
    std::cerr << "suozhi: no display is available to open the window on; use the commands "
                 "'suozhi shorten URL' and 'suozhi restore LINK' instead.\n";
    return 1;
  }
  return platform::RunDesktopWindow(argc, argv, {cp::FromUtf8(options.apiHost), {}});
}
