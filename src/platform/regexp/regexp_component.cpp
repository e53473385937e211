// The "VBScript.RegExp" component on PCRE2's 16-bit library with JIT.
//
// Subjects and patterns are UTF-16 code units without UTF checking, so
// offsets count code units as the component's callers expect, and any
// sequence of units (a lone surrogate too) is a valid subject.
#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include <memory>
#include <optional>
#include <vector>

#include "platform/components.h"
#include "platform/regexp/regexp_engine.h"
#include "runtime/automation.h"

namespace suozhi::platform {
namespace {

using Wide = std::u16string;

class SubMatchesObject : public Component {
 public:
  explicit SubMatchesObject(std::vector<std::optional<Wide>> groups) : groups_(std::move(groups)) {}
  bool GetProperty(std::string_view name, std::span<const Variant> args, Variant& out) override {
    if (SameName(name, "Count")) {
      out = Variant(static_cast<double>(groups_.size()));
      return true;
    }
    if (SameName(name, "Item") && args.size() == 1) {
      const double k = args[0].GetNumber();
      if (k < 0 || k >= static_cast<double>(groups_.size())) return false;
      const auto& group = groups_[static_cast<size_t>(k)];
      out = group ? Variant(*group) : Variant();  // a group that took no part
      return true;
    }
    return false;
  }

 private:
  std::vector<std::optional<Wide>> groups_;
};

class MatchObject : public Component {
 public:
  explicit MatchObject(regexp::Match match) : match_(std::move(match)) {}
  bool GetProperty(std::string_view name, std::span<const Variant>, Variant& out) override {
    if (SameName(name, "Value")) {
      out = Variant(match_.value);
    } else if (SameName(name, "FirstIndex")) {
      out = Variant(static_cast<double>(match_.firstIndex));
    } else if (SameName(name, "Length")) {
      out = Variant(static_cast<double>(match_.value.size()));
    } else if (SameName(name, "SubMatches")) {
      out = Variant(AutomationObject(std::make_shared<SubMatchesObject>(match_.groups)));
    } else {
      return false;
    }
    return true;
  }

 private:
  regexp::Match match_;
};

class MatchCollection : public Component {
 public:
  explicit MatchCollection(std::vector<regexp::Match> matches) {
    for (auto& m : matches) items_.emplace_back(std::make_shared<MatchObject>(std::move(m)));
  }
  bool GetProperty(std::string_view name, std::span<const Variant> args, Variant& out) override {
    if (SameName(name, "Count")) {
      out = Variant(static_cast<double>(items_.size()));
      return true;
    }
    if (SameName(name, "Item") && args.size() == 1) {
      const double i = args[0].GetNumber();
      if (i < 0 || i >= static_cast<double>(items_.size())) return false;
      out = Variant(items_[static_cast<size_t>(i)]);
      return true;
    }
    return false;
  }

 private:
  std::vector<AutomationObject> items_;
};

class RegExpComponent : public Component {
 public:
  bool GetProperty(std::string_view name, std::span<const Variant>, Variant& out) override {
    if (SameName(name, "IgnoreCase")) {
      out = Variant(options_.ignoreCase);
    } else if (SameName(name, "Global")) {
      out = Variant(options_.global);
    } else if (SameName(name, "Multiline")) {
      out = Variant(options_.multiline);
    } else if (SameName(name, "Pattern")) {
      out = Variant(pattern_);
    } else {
      return false;
    }
    return true;
  }

  // There is no "Singleline": writing it fails, as on the original component.
  bool PutProperty(std::string_view name, const Variant& value) override {
    if (SameName(name, "IgnoreCase")) {
      options_.ignoreCase = value.GetBool();
    } else if (SameName(name, "Global")) {
      options_.global = value.GetBool();
    } else if (SameName(name, "Multiline")) {
      options_.multiline = value.GetBool();
    } else if (SameName(name, "Pattern")) {
      pattern_ = value.GetWide();
    } else {
      return false;
    }
    return true;
  }

  bool Call(std::string_view method, std::span<const Variant> args, Variant& out) override {
    if (SameName(method, "Execute") && args.size() == 1) {
      auto matches = regexp::Execute(pattern_, args[0].GetWide(), options_);
      if (!matches) return false;
      out = Variant(AutomationObject(std::make_shared<MatchCollection>(std::move(*matches))));
      return true;
    }
    if (SameName(method, "Replace") && args.size() == 2) {
      auto replaced = regexp::Replace(pattern_, args[0].GetWide(), args[1].GetWide(), options_);
      if (!replaced) return false;
      out = Variant(std::move(*replaced));
      return true;
    }
    return false;
  }

 private:
  regexp::Options options_;
  Wide pattern_;
};

}  // namespace

void RegisterRegExpComponent() {
  automation::Register("VBScript.RegExp", [] { return std::make_shared<RegExpComponent>(); });
}

}  // namespace suozhi::platform
