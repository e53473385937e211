#include "app/cli.h"

#include <ostream>

#include "app/core/memory_controls.h"
#include "platform/console/console_window_system.h"
#include "runtime/codepage.h"

namespace suozhi::app {

const char* const kUsage =
    "缩址精灵 (suozhi): long web address <-> short link through a short-link web API.\n"
    "\n"
    "Usage:\n"
    "  suozhi [--api-host HOST[:PORT]]                       open the window\n"
    "  suozhi shorten URL [--type 1..8] [--api-host H] [--copy]\n"
    "  suozhi restore LINK [--api-host H] [--copy]\n"
    "  suozhi --help\n"
    "\n"
    "Options:\n"
    "  --type N          short-link type 1..8: url.cn t.cn dwz.cn suo.im u.nu mrw.so\n"
    "                    w.url.cn sohu.gg (default 1)\n"
    "  --api-host H      the short-link web API's host, optionally with a port\n"
    "                    (default v1.alapi.cn, port 80)\n"
    "  --copy            also put the result on the clipboard (through xclip)\n"
    "\n"
    "The result goes to stdout; input errors to stderr. Exit status: 0 with a result,\n"
    "1 when the request failed, 2 on an input error or a bad option.\n"
    "Results are written to the run log 运行日志.txt beside the program, newest line first.\n";

Options ParseOptions(const std::vector<std::string>& args) {
  Options o;
  auto fail = [&o](std::string message) {
    o.error = std::move(message);
    return o;
  };
  size_t i = 0;
  if (!args.empty() && (args[0] == "shorten" || args[0] == "restore")) {
    o.command = args[0] == "shorten" ? Options::Command::kShorten : Options::Command::kRestore;
    if (args.size() < 2) return fail(args[0] + " needs an argument");
    o.argument = args[1];
    i = 2;
  }
  for (; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (arg == "--help" || arg == "-h") {
      o.command = Options::Command::kHelp;
    } else if (arg == "--copy") {
      o.copy = true;
    } else if (arg == "--api-host" && hasValue) {
      o.apiHost = args[++i];
      if (o.apiHost.empty() || o.apiHost.find_first_of("/ \t") != std::string::npos) {
        return fail("--api-host takes HOST or HOST:PORT, not '" + o.apiHost + "'");
      }
    } else if (arg == "--type" && hasValue && o.command == Options::Command::kShorten) {
      const std::string& value = args[++i];
      if (value.size() != 1 || value[0] < '1' || value[0] > '8') {
        return fail("--type takes a number from 1 to 8, not '" + value + "'");
      }
      o.type = value[0] - '0';
    } else {
      return fail("unknown or incomplete option '" + arg + "'");
    }
  }
  return o;
}

int RunCommand(const Options& options, std::ostream& out, std::ostream& err, const Text& logFile) {
  MemoryControls controls;
  platform::ConsoleWindowSystem windows(err, options.copy);
  Commands commands(controls, windows, {cp::FromUtf8(options.apiHost), logFile});
  const Text argument = cp::FromUtf8(options.argument);
  Text result;
  if (options.command == Options::Command::kShorten) {
    controls.SetText("原网址内容", argument);
    controls.SelectType(options.type);
    commands.OnGenerateClick();
    result = controls.GetText("短网址内容");
  } else {
    controls.SetText("短网址还原1", argument);
    commands.OnRestoreClick();
    result = controls.GetText("短网址还原2");
  }
  if (windows.BoxesShown() > 0) return 2;
  if (result == cp::FromUtf8("生成失败") || result == cp::FromUtf8("还原失败")) {
    err << cp::ToUtf8(result) << "\n";
    return 1;
  }
  out << cp::ToUtf8(result) << "\n";
  if (windows.ClipboardFailed()) err << "(the clipboard could not be reached)\n";
  return 0;
}

}  // namespace suozhi::app
