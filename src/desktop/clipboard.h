// Putting one text on the clipboard, replacing everything it held.
#pragma once

#include "platform/window_system.h"

namespace suozhi {

// An empty text empties the clipboard and leaves an empty text on it.
void SetClipboardText(platform::WindowSystem& windows, const Text& text);

}  // namespace suozhi
