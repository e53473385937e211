#include "runtime/automation.h"

#include <charconv>
#include <cmath>
#include <map>
#include <mutex>

#include "runtime/codepage.h"

namespace suozhi {
namespace {

struct Registry {
  std::mutex mutex;
  std::map<std::string, automation::Factory, std::less<>> factories;
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

std::string Fold(std::string_view name) {
  std::string out(name);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
  }
  return out;
}

// Reads the leading decimal number of a whole text the way the variant
// conversion does: surrounding white space allowed, nothing else.
bool ParseWholeNumber(const std::string& text, double& out) {
  const char* begin = text.c_str();
  while (*begin == ' ' || *begin == '\t') ++begin;
  if (*begin == '\0') return false;
  if (*begin == '+') ++begin;
  const char* last = text.c_str() + text.size();
  while (last > begin && (last[-1] == ' ' || last[-1] == '\t')) --last;
  double value = 0;
  const auto result = std::from_chars(begin, last, value);
  if (result.ec != std::errc() || result.ptr != last) return false;
  out = value;
  return true;
}

thread_local int tCoCount = 0;

}  // namespace

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x + 32);
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y + 32);
    if (x != y) return false;
  }
  return true;
}

Variant Variant::FromText(std::string_view text) {
  return Variant(cp::ToUtf16(text));
}

std::u16string Variant::GetWide() const {
  struct Visitor {
    std::u16string operator()(std::monostate) const { return {}; }
    std::u16string operator()(bool b) const { return b ? u"-1" : u"0"; }
    std::u16string operator()(double d) const {
      const Text t = rt::ToText(d);
      return std::u16string(t.begin(), t.end());
    }
    std::u16string operator()(const std::u16string& s) const { return s; }
    std::u16string operator()(const AutomationObject&) const { return {}; }
  };
  return std::visit(Visitor{}, value_);
}

Text Variant::GetText() const {
  if (const auto* s = std::get_if<std::u16string>(&value_)) return cp::FromUtf16(*s);
  return cp::FromUtf16(GetWide());
}

double Variant::GetNumber() const {
  struct Visitor {
    double operator()(std::monostate) const { return 0; }
    double operator()(bool b) const { return b ? -1 : 0; }
    double operator()(double d) const { return d; }
    double operator()(const std::u16string& s) const {
      double value = 0;
      return ParseWholeNumber(cp::Utf16ToUtf8(s), value) ? value : 0;
    }
    double operator()(const AutomationObject&) const { return 0; }
  };
  return std::visit(Visitor{}, value_);
}

bool Variant::GetBool() const {
  struct Visitor {
    bool operator()(std::monostate) const { return false; }
    bool operator()(bool b) const { return b; }
    bool operator()(double d) const { return d != 0 && !std::isnan(d); }
    // A number reads as its value, the words true and false as themselves,
    // any other non-empty text as true.
    bool operator()(const std::u16string& s) const {
      const std::string u = cp::Utf16ToUtf8(s);
      double value = 0;
      if (ParseWholeNumber(u, value)) return value != 0;
      if (SameName(u, "false")) return false;
      return !u.empty();
    }
    bool operator()(const AutomationObject& o) const { return !o.IsEmpty(); }
  };
  return std::visit(Visitor{}, value_);
}

AutomationObject Variant::GetObject() const {
  if (const auto* o = std::get_if<AutomationObject>(&value_)) return *o;
  return {};
}

namespace automation {

void Register(std::string_view progId, Factory factory) {
  auto& registry = TheRegistry();
  std::lock_guard lock(registry.mutex);
  registry.factories[Fold(progId)] = std::move(factory);
}

void Unregister(std::string_view progId) {
  auto& registry = TheRegistry();
  std::lock_guard lock(registry.mutex);
  registry.factories.erase(Fold(progId));
}

bool Create(AutomationObject& object, std::string_view progId) {
  Factory factory;
  {
    auto& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    const auto it = registry.factories.find(Fold(progId));
    if (it == registry.factories.end()) return false;
    factory = it->second;
  }
  std::shared_ptr<Component> component;
  try {
    component = factory();
  } catch (...) {
    return false;
  }
  if (!component) return false;
  object = AutomationObject(std::move(component));
  return true;
}

bool WriteProperty(const AutomationObject& object, std::string_view name, const Variant& value) {
  if (object.IsEmpty()) return false;
  try {
    return object.get()->PutProperty(name, value);
  } catch (...) {
    return false;
  }
}

Variant ReadVariant(const AutomationObject& object, std::string_view name,
                    std::initializer_list<Variant> args) {
  Variant out;
  if (object.IsEmpty()) return out;
  try {
    if (!object.get()->GetProperty(name, std::span(args.begin(), args.size()), out)) return {};
  } catch (...) {
    return {};
  }
  return out;
}

Text ReadText(const AutomationObject& object, std::string_view name,
              std::initializer_list<Variant> args) {
  return ReadVariant(object, name, args).GetText();
}

double ReadNumber(const AutomationObject& object, std::string_view name,
                  std::initializer_list<Variant> args) {
  return ReadVariant(object, name, args).GetNumber();
}

AutomationObject ReadObject(const AutomationObject& object, std::string_view name,
                            std::initializer_list<Variant> args) {
  return ReadVariant(object, name, args).GetObject();
}

Variant CallVariant(const AutomationObject& object, std::string_view method,
                    std::initializer_list<Variant> args) {
  Variant out;
  if (object.IsEmpty()) return out;
  try {
    if (!object.get()->Call(method, std::span(args.begin(), args.size()), out)) return {};
  } catch (...) {
    return {};
  }
  return out;
}

bool CallBool(const AutomationObject& object, std::string_view method,
              std::initializer_list<Variant> args) {
  return CallVariant(object, method, args).GetBool();
}

Text CallText(const AutomationObject& object, std::string_view method,
              std::initializer_list<Variant> args) {
  return CallVariant(object, method, args).GetText();
}

double CallNumber(const AutomationObject& object, std::string_view method,
                  std::initializer_list<Variant> args) {
  return CallVariant(object, method, args).GetNumber();
}

AutomationObject CallObject(const AutomationObject& object, std::string_view method,
                            std::initializer_list<Variant> args) {
  return CallVariant(object, method, args).GetObject();
}

}  // namespace automation

int CoInitialize(std::nullptr_t) {
  return tCoCount++ == 0 ? 0 : 1;
}

void CoUninitialize() {
  if (tCoCount > 0) --tCoCount;
}

int CoInitializeCount() {
  return tCoCount;
}

}  // namespace suozhi
