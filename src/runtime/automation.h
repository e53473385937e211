// Components reached by name: the in-process stand-in for automation objects.
//
// A component registers a factory under a programmatic identifier; callers
// create it by that name and then read and write properties and call methods
// by name, passing variants. Nothing here throws or reports an error: every
// failure (no component, unknown name, a component that refuses, a value that
// does not convert) gives the empty result: false, "", 0 or an empty object.
#pragma once

#include <functional>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "runtime/text.h"

namespace suozhi {

class Component;

// Holds at most one counted reference to a component.
class AutomationObject {
 public:
  AutomationObject() = default;
  explicit AutomationObject(std::shared_ptr<Component> component)
      : component_(std::move(component)) {}

  bool IsEmpty() const { return component_ == nullptr; }
  void Clear() { component_.reset(); }
  Component* get() const { return component_.get(); }
  bool SameAs(const AutomationObject& other) const { return component_ == other.component_; }

 private:
  std::shared_ptr<Component> component_;
};

// A variant value. Texts are held as UTF-16, as the components work on them.
class Variant {
 public:
  using Value = std::variant<std::monostate, bool, double, std::u16string, AutomationObject>;

  Variant() = default;
  Variant(bool b) : value_(b) {}
  Variant(int n) : value_(static_cast<double>(n)) {}
  Variant(double d) : value_(d) {}
  Variant(std::u16string s) : value_(std::move(s)) {}
  Variant(AutomationObject o) : value_(std::move(o)) {}
  // A code-page text, converted to UTF-16.
  static Variant FromText(std::string_view text);

  const Value& value() const { return value_; }
  bool IsEmpty() const { return std::holds_alternative<std::monostate>(value_); }
  void Clear() { value_ = std::monostate{}; }

  // Conversions as the platform's variant conversion makes them; a value
  // that does not convert gives "", 0, false or an empty object.
  Text GetText() const;  // false gives "0", true "-1"
  // A text reads as its number, as the words true or false, and otherwise as
  // true when it is not empty; an object reference reads as true.
  std::u16string GetWide() const;
  double GetNumber() const;
  bool GetBool() const;
  AutomationObject GetObject() const;

 private:
  Value value_;
};

// The interface an in-process component implements. Names arrive as the
// caller spelled them; components compare them without regard to case.
// Every member a component does not override is one it does not have.
class Component {
 public:
  virtual ~Component() = default;
  virtual bool GetProperty(std::string_view, std::span<const Variant>, Variant&) { return false; }
  virtual bool PutProperty(std::string_view, const Variant&) { return false; }
  virtual bool Call(std::string_view, std::span<const Variant>, Variant&) { return false; }
};

// True when two member names are the same, ignoring ASCII case.
bool SameName(std::string_view a, std::string_view b);

namespace automation {

using Factory = std::function<std::shared_ptr<Component>()>;

// The table of components known by name, standing in for the system's own
// registry. Registering a name again replaces its factory.
void Register(std::string_view progId, Factory factory);
void Unregister(std::string_view progId);

// Creates the component; on success `object` holds it (releasing what it held)
// and the result is true; otherwise `object` is unchanged.
bool Create(AutomationObject& object, std::string_view progId);

bool WriteProperty(const AutomationObject& object, std::string_view name, const Variant& value);

Variant ReadVariant(const AutomationObject& object, std::string_view name,
                    std::initializer_list<Variant> args = {});
Text ReadText(const AutomationObject& object, std::string_view name,
              std::initializer_list<Variant> args = {});
double ReadNumber(const AutomationObject& object, std::string_view name,
                  std::initializer_list<Variant> args = {});
AutomationObject ReadObject(const AutomationObject& object, std::string_view name,
                            std::initializer_list<Variant> args = {});

Variant CallVariant(const AutomationObject& object, std::string_view method,
                    std::initializer_list<Variant> args = {});
bool CallBool(const AutomationObject& object, std::string_view method,
              std::initializer_list<Variant> args = {});
Text CallText(const AutomationObject& object, std::string_view method,
              std::initializer_list<Variant> args = {});
double CallNumber(const AutomationObject& object, std::string_view method,
                  std::initializer_list<Variant> args = {});
AutomationObject CallObject(const AutomationObject& object, std::string_view method,
                            std::initializer_list<Variant> args = {});

}  // namespace automation

// Per-thread initialisation counts that stand in for COM's. CoInitialize
// returns 0 the first time on a thread and 1 after that; CoUninitialize
// lowers the count and never below zero.
int CoInitialize(std::nullptr_t);
void CoUninitialize();
int CoInitializeCount();

}  // namespace suozhi
