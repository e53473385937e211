// Reading and writing the window's controls by name. A front end provides
// the controls; the commands only ever see them through this interface.
// Names are the controls' own (UTF-8 in the source); texts are code-page text.
#pragma once

#include <string_view>

#include "runtime/text.h"

namespace suozhi {

class ControlHost {
 public:
  virtual ~ControlHost() = default;
  // A control that does not exist reads as "" and 0 and ignores writes.
  virtual Text GetText(std::string_view name) = 0;
  virtual void SetText(std::string_view name, const Text& text) = 0;
  // 1 when the radio button is checked, 0 otherwise.
  virtual int GetChecked(std::string_view name) = 0;
  virtual void SetChecked(std::string_view name, bool checked) = 0;
};

}  // namespace suozhi
