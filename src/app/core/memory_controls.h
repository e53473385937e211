// Controls held in memory: the window's controls without a window, for the
// command-line front end and for tests. Built from the same layout table.
#pragma once

#include <map>
#include <string>

#include "app/core/layout.h"
#include "runtime/controls.h"

namespace suozhi::app {

class MemoryControls : public ControlHost {
 public:
  MemoryControls() {
    for (const auto& c : kMainWindowControls) {
      controls_[std::string(c.name)] = {c.kind == ControlKind::kEdit ? Text() : Text(), c.checked};
    }
  }
  Text GetText(std::string_view name) override {
    const auto it = controls_.find(std::string(name));
    return it == controls_.end() ? Text() : it->second.text;
  }
  void SetText(std::string_view name, const Text& text) override {
    const auto it = controls_.find(std::string(name));
    if (it != controls_.end()) it->second.text = text;
  }
  int GetChecked(std::string_view name) override {
    const auto it = controls_.find(std::string(name));
    return it != controls_.end() && it->second.checked ? 1 : 0;
  }
  void SetChecked(std::string_view name, bool checked) override {
    const auto it = controls_.find(std::string(name));
    if (it != controls_.end()) it->second.checked = checked;
  }
  // Checks one type button and clears the others, as a click would.
  void SelectType(int type) {
    for (int t = 1; t <= 8; ++t) SetChecked(kTypeButtons[t - 1], t == type);
  }

 private:
  struct State {
    Text text;
    bool checked = false;
  };
  std::map<std::string, State, std::less<>> controls_;
};

}  // namespace suozhi::app
