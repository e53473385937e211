// The "MSScriptControl.ScriptControl" component: a "Language" property that
// takes JavaScript, and the methods "AddCode" and "Eval", on one sandboxed
// engine per component.
#include "platform/components.h"
#include "platform/script/script_engine.h"
#include "runtime/automation.h"
#include "runtime/codepage.h"

namespace suozhi::platform {
namespace {

class ScriptControl : public Component {
 public:
  bool GetProperty(std::string_view name, std::span<const Variant>, Variant& out) override {
    if (!SameName(name, "Language")) return false;
    out = Variant(language_);
    return true;
  }

  bool PutProperty(std::string_view name, const Variant& value) override {
    if (!SameName(name, "Language")) return false;
    const std::u16string language = value.GetWide();
    if (!SameName(cp::Utf16ToUtf8(language), "JavaScript") &&
        !SameName(cp::Utf16ToUtf8(language), "JScript"))
      return false;
    language_ = language;
    if (!engine_) engine_ = std::make_unique<script::Engine>();
    return engine_->ok();
  }

  bool Call(std::string_view method, std::span<const Variant> args, Variant& out) override {
    if (!engine_ || args.size() != 1) return false;
    if (SameName(method, "AddCode")) return engine_->AddCode(args[0].GetWide());
    if (SameName(method, "Eval")) {
      auto value = engine_->Eval(args[0].GetWide());
      if (!value) return false;
      out = std::move(*value);
      return true;
    }
    return false;
  }

 private:
  std::u16string language_;
  std::unique_ptr<script::Engine> engine_;
};

}  // namespace

void RegisterScriptComponent() {
  automation::Register("MSScriptControl.ScriptControl",
                       [] { return std::make_shared<ScriptControl>(); });
}

}  // namespace suozhi::platform
