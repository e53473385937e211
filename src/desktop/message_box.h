// A message box that closes itself, owned by the program's own window, and
// the search for a top-level window of a process.
#pragma once

#include <optional>

#include "platform/window_system.h"

namespace suozhi {

using platform::WindowHandle;

// Shows `text` (title "友情提醒", OK only, owner: the program's own window,
// closing after 5000 ms unless given otherwise) and returns the button's
// value minus one; a box that closed itself gives kIdTimeout - 1.
int TimedMessageBox(platform::WindowSystem& windows, const Text& text,
                    std::optional<int> boxType = {}, std::optional<Text> title = {},
                    std::optional<WindowHandle> ownerWindow = {},
                    std::optional<int> timeoutMs = {});

// The first top-level window of `processId` that no other window owns, tested
// against the filters (case-sensitive "contains"); 0 when that first window
// fails a filter or none turns up within `timeoutMs` (omitted or -1: a year).
WindowHandle FindProcessWindow(platform::WindowSystem& windows, std::uint32_t processId,
                               std::optional<Text> titleFilter = {},
                               std::optional<Text> classFilter = {},
                               std::optional<int> timeoutMs = {},
                               std::optional<bool> visibleOnly = {});

std::uint32_t GetWindowProcess(platform::WindowSystem& windows, WindowHandle window);
WindowHandle GetRootOwner(platform::WindowSystem& windows, WindowHandle window);
Text GetWindowTitle(platform::WindowSystem& windows, WindowHandle window);
// At most 49 characters, as the class-name buffer holds.
Text GetWindowClass(platform::WindowSystem& windows, WindowHandle window);

}  // namespace suozhi
