// A JSON document held in a script engine and read or changed through
// script path expressions ("code", "data['short_url']", "[0]").
//
// The object does no parsing of its own: every operation builds one piece of
// script text and has the script control evaluate it. Failures are values
// (false, "", 0, a null document), never errors.
#pragma once

#include <vector>

#include "runtime/automation.h"
#include "runtime/text.h"

namespace suozhi {

class JsonObject {
 public:
  // Variable name "da", then InitScriptHost.
  JsonObject();
  ~JsonObject();
  // A second object on the same script control: both see one document.
  JsonObject(const JsonObject& other);
  JsonObject& operator=(const JsonObject& other);

  void InitScriptHost();
  bool Parse(const Text& json);
  bool Clear();
  Text ToText();
  bool SetProperty(const Text& path, const Text& value, bool isObject = false);
  bool SetPropertyJson(const Text& path, const Text& json);
  bool ResolvePath(Text& path);
  int GetType(const Text& path);
  Text GetText(const Text& path, bool asJson = false);
  int GetPropertyNames(std::vector<Text>& names, const Text& path);
  int GetCount(const Text& path);
  JsonObject GetObjectAt(const Text& path);
  bool PushItem(const Text& value, const Text& path, bool isObject = false);
  JsonObject GetItemObject(int index, const Text& path);
  Text GetItemText(int index, const Text& path, bool asJson = false);
  bool SetItem(int index, const Text& path, const Text& value, bool isObject = false);
  bool RemoveItem(int index, const Text& path);
  bool DeleteProperty(const Text& path);
  bool SetNumber(const Text& path, double number);
  double GetNumber(const Text& path);
  Text Stringify(const Text& path);
  AutomationObject GetScriptControl() const { return control_; }

  // Type codes of GetType.
  enum : int {
    kNull = 0,
    kBoolean = 1,
    kNumber = 2,
    kObject = 4,
    kArray = 5,
    kString = 6,
    kUnknown = -1
  };

 private:
  bool EvalBool(const Text& code);
  Text EvalText(const Text& code);
  double EvalNumber(const Text& code);
  bool AddCode(const Text& code);
  Text Resolved(const Text& path);
  JsonObject TransferFrom(const Text& expression);

  Text name_;
  AutomationObject control_;
};

// Parses `json` in a fresh engine and returns the text at `path`: a string
// without quotes, a number or boolean as the engine writes it, "null",
// compact JSON for objects and arrays, "" for a missing member, and
// "JSON解析失败" when the text does not parse. CR and LF are removed from the
// caller's text first.
Text ReadJsonText(Text& json, const Text& path);

}  // namespace suozhi
