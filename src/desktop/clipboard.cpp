#include "desktop/clipboard.h"

namespace suozhi {

void SetClipboardText(platform::WindowSystem& windows, const Text& text) {
  windows.SetClipboardText(text);
}

}  // namespace suozhi
