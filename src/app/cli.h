// The command line: options, and the shorten and restore commands run
// against controls held in memory.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "app/core/commands.h"

namespace suozhi::app {

struct Options {
  enum class Command { kWindow, kShorten, kRestore, kHelp } command = Command::kWindow;
  std::string argument;  // the address or the short link, UTF-8
  int type = 1;
  std::string apiHost = std::string(kDefaultApiHost);
  bool copy = false;
  std::string error;  // non-empty: the options were not understood
};

Options ParseOptions(const std::vector<std::string>& args);

extern const char* const kUsage;

// Runs a shorten or restore command; the exit status: 0 with a result, 1 on
// a failed request, 2 on an input error.
int RunCommand(const Options& options, std::ostream& out, std::ostream& err,
               const Text& logFile = {});

}  // namespace suozhi::app
