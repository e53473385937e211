// The desktop front end's entry: builds the main window from the layout
// table, wires its buttons to the commands and runs the message loop.
#pragma once

#include "app/core/commands.h"

namespace suozhi::platform {

// True when a display is there to open a window on.
bool DisplayAvailable();

// Runs the window until it is closed; the program's exit status.
int RunDesktopWindow(int& argc, char** argv, const CommandOptions& options);

}  // namespace suozhi::platform
