#include "json/json_object.h"

#include "json/helper_script.h"
#include "runtime/codepage.h"

namespace suozhi {

using namespace automation;

namespace {
// Every text read out of the document turns the stand-in character U+2400
// back into the backslash it stands for.
constexpr std::string_view kRestoreBackslash = ".replace(str_reg, '\\\\')";
}  // namespace

JsonObject::JsonObject() : name_("da") {
  InitScriptHost();
}

JsonObject::~JsonObject() {
  control_.Clear();
  CoUninitialize();
}

JsonObject::JsonObject(const JsonObject& other) : name_(other.name_), control_(other.control_) {}

JsonObject& JsonObject::operator=(const JsonObject& other) {
  name_ = other.name_;
  control_ = other.control_;
  return *this;
}

bool JsonObject::EvalBool(const Text& code) {
  return CallBool(control_, "Eval", {Variant::FromText(code)});
}
Text JsonObject::EvalText(const Text& code) {
  return CallText(control_, "Eval", {Variant::FromText(code)});
}
double JsonObject::EvalNumber(const Text& code) {
  return CallNumber(control_, "Eval", {Variant::FromText(code)});
}
bool JsonObject::AddCode(const Text& code) {
  return CallBool(control_, "AddCode", {Variant::FromText(code)});
}

void JsonObject::InitScriptHost() {
  CoInitialize(nullptr);
  if (!Create(control_, "MSScriptControl.ScriptControl")) return;
  WriteProperty(control_, "Language", Variant::FromText("JavaScript"));
  AddCode(Text(kHelperScript));
  EvalBool("var " + name_ +
           " = {}, str_Code = String.fromCharCode(9216), str_reg = new RegExp(str_Code, 'g')");
}

bool JsonObject::Parse(const Text& json) {
  if (!control_.IsEmpty()) {
    control_.Clear();
    InitScriptHost();
  }
  if (control_.IsEmpty()) return false;
  EvalBool("var " + name_ + " = null");
  AddCode("var " + name_ + " = eval(" + json + ")");
  return EvalBool(name_ + " != null");
}

bool JsonObject::Clear() {
  return EvalBool(name_ + " = {}");
}

Text JsonObject::ToText() {
  return EvalText("JSON.stringify(" + name_ + ")" + Text(kRestoreBackslash));
}

bool JsonObject::ResolvePath(Text& path) {
  if (rt::StartsWith(path, name_) && EvalBool(path + " != null")) return true;
  if (path.empty()) {
    path = name_;
  } else if (path.front() == '[') {
    path = name_ + path;
  } else {
    path = name_ + "." + path;
  }
  return EvalBool(path + " != null");
}

Text JsonObject::Resolved(const Text& path) {
  Text copy = path;
  ResolvePath(copy);
  return copy;
}

int JsonObject::GetType(const Text& path) {
  const Text p = Resolved(path);
  if (EvalBool(p + " == null")) return kNull;
  const Text tag = EvalText("Object.prototype.toString.call(" + p + ")");
  if (tag == "[object String]") return kString;
  if (tag == "[object Array]") return kArray;
  if (tag == "[object Object]") return kObject;
  if (tag == "[object Number]") return kNumber;
  if (tag == "[object Boolean]") return kBoolean;
  return kUnknown;
}

Text JsonObject::GetText(const Text& path, bool asJson) {
  const Text p = Resolved(path);
  if (asJson) return EvalText("JSON.stringify(" + p + ")" + Text(kRestoreBackslash));
  return EvalText(p + ".toString()" + Text(kRestoreBackslash));
}

Text JsonObject::Stringify(const Text& path) {
  return GetText(path, true);
}

JsonObject JsonObject::TransferFrom(const Text& expression) {
  JsonObject result;
  result.Parse(EvalText("JSON.stringify(" + expression + ")" + Text(kRestoreBackslash)));
  return result;
}

JsonObject JsonObject::GetObjectAt(const Text& path) {
  return TransferFrom(Resolved(path));
}

JsonObject JsonObject::GetItemObject(int index, const Text& path) {
  return TransferFrom(Resolved(path) + "[" + rt::ToText(index) + "]");
}

Text JsonObject::GetItemText(int index, const Text& path, bool asJson) {
  const Text item = Resolved(path) + "[" + rt::ToText(index) + "]";
  if (asJson) return EvalText("JSON.stringify(" + item + ")" + Text(kRestoreBackslash));
  return EvalText(item + Text(kRestoreBackslash));
}

bool JsonObject::SetProperty(const Text& path, const Text& value, bool isObject) {
  Text p = path;
  const bool holdsValue = ResolvePath(p);
  if (isObject) {
    const Text merged = value.empty() ? Text("{}") : value;
    if (holdsValue) return EvalBool(p + " = get__extend(" + p + ", " + merged + ")");
    return EvalBool(p + " = eval(" + value + ")");
  }
  Text escaped = rt::ReplaceSubtext(value, "\\", "\\\\");
  escaped = rt::ReplaceSubtext(escaped, "'", "\\'");
  escaped = rt::ReplaceSubtext(escaped, "\"", "\\\"");
  escaped = rt::ReplaceSubtext(escaped, "\r", "\\r");
  escaped = rt::ReplaceSubtext(escaped, "\n", "\\n");
  return EvalBool(p + " = '" + escaped + "'.replace(/\\\\/g, str_Code)");
}

bool JsonObject::SetPropertyJson(const Text& path, const Text& json) {
  return EvalBool(Resolved(path) + " = eval(" + json + ")");
}

int JsonObject::GetPropertyNames(std::vector<Text>& names, const Text& path) {
  names = rt::SplitText(EvalText("get__name_All(" + Resolved(path) + ")"), "\r\n");
  return static_cast<int>(names.size());
}

int JsonObject::GetCount(const Text& path) {
  return rt::ToInteger(EvalNumber("get__count(" + Resolved(path) + ")"));
}

namespace {
Text ValueSource(const Text& value, bool isObject) {
  return isObject ? value : "'" + value + "'";
}
}  // namespace

bool JsonObject::PushItem(const Text& value, const Text& path, bool isObject) {
  const Text p = Resolved(path);
  return EvalBool("if (Object.prototype.toString.call(" + p + ") != '[object Array]') { " + p +
                  " = new Array() } " + p + ".push(" + ValueSource(value, isObject) + ")");
}

bool JsonObject::SetItem(int index, const Text& path, const Text& value, bool isObject) {
  return EvalBool(Resolved(path) + "[" + rt::ToText(index) + "] = " + ValueSource(value, isObject));
}

bool JsonObject::RemoveItem(int index, const Text& path) {
  return EvalBool(Resolved(path) + ".splice(" + rt::ToText(index) + ", 1)");
}

bool JsonObject::DeleteProperty(const Text& path) {
  return EvalBool("delete " + Resolved(path));
}

bool JsonObject::SetNumber(const Text& path, double number) {
  return EvalBool(Resolved(path) + " = " + rt::ToText(number));
}

double JsonObject::GetNumber(const Text& path) {
  return EvalNumber(Resolved(path));
}

Text ReadJsonText(Text& json, const Text& path) {
  static const Text kParseFailed = cp::FromUtf8("JSON解析失败");
  JsonObject object;
  json = rt::ReplaceSubtext(json, "\r");
  json = rt::ReplaceSubtext(json, "\n");
  if (!object.Parse(json)) return kParseFailed;
  switch (object.GetType(path)) {
    case JsonObject::kBoolean:
      return object.Stringify(path);
    case JsonObject::kNumber:
      return object.GetObjectAt(path).ToText();
    case JsonObject::kString:
      return object.GetText(path);
    default:
      return object.GetText(path, true);
  }
}

}  // namespace suozhi
