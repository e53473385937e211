#include "pattern/regex_object.h"

#include "runtime/codepage.h"

namespace suozhi {

using namespace automation;

RegexObject::RegexObject() {
  CoInitialize(nullptr);
}

RegexObject::~RegexObject() {
  component_.Clear();
  matches_.Clear();
  subject_.Clear();
  CoUninitialize();
}

RegexObject::RegexObject(const RegexObject& other)
    : component_(other.component_), matches_(other.matches_), subject_(other.subject_) {
  CoInitialize(nullptr);
}

RegexObject& RegexObject::operator=(const RegexObject& other) {
  component_ = other.component_;
  matches_ = other.matches_;
  subject_ = other.subject_;
  return *this;
}

bool RegexObject::CreateAndExecute(const Text& pattern, const Text& text, bool caseSensitive,
                                   bool multiline, bool global, bool quotePlaceholder) {
  static const Text kQuotePlaceholder = cp::FromUtf8("#引号");
  component_.Clear();
  matches_.Clear();
  Create(component_, "VBScript.RegExp");
  WriteProperty(component_, "IgnoreCase", Variant(!caseSensitive));
  WriteProperty(component_, "Multiline", Variant(multiline));
  WriteProperty(component_, "Singleline", Variant(true));  // refused by the component; harmless
  WriteProperty(component_, "Global", Variant(global));
  const Text prepared =
      quotePlaceholder ? rt::ReplaceSubtext(pattern, kQuotePlaceholder, "\"") : pattern;
  WriteProperty(component_, "Pattern", Variant::FromText(prepared));
  subject_ = Variant::FromText(text);
  matches_ = CallObject(component_, "Execute", {subject_});
  return !matches_.IsEmpty();
}

Text RegexObject::GetPattern() const {
  if (component_.IsEmpty()) return {};
  return ReadText(component_, "Pattern");
}

Text RegexObject::ReplaceMatches(const Text& replacement) const {
  return CallText(component_, "Replace", {subject_, Variant::FromText(replacement)});
}

int RegexObject::GetMatchCount() const {
  return rt::ToInteger(ReadNumber(matches_, "Count"));
}

// The match's first index counts UTF-16 units; the byte offset is the length
// of the code-page text in front of it. The returned text is then sought
// from there, case-sensitively: it is a piece of the subject itself, so the
// exact search finds a whole match at that very offset, and a group at its
// first occurrence from the start of its match.
int RegexObject::PositionOf(const Text& found, const AutomationObject& match) const {
  const std::u16string wide = subject_.GetWide();
  const auto first = static_cast<size_t>(rt::ToInteger(ReadNumber(match, "FirstIndex")));
  const Text subject = cp::FromUtf16(wide);
  const int start =
      static_cast<int>(cp::FromUtf16(std::u16string_view(wide).substr(0, first)).size()) + 1;
  const int at = found.empty() ? start : rt::FindText(subject, found, start);
  return at < 1 || at > static_cast<int>(subject.size()) + 1 ? -2 : at - 1;
}

Text RegexObject::GetMatchText(int index, int* position) const {
  const AutomationObject match = ReadObject(matches_, "Item", {Variant(index - 1)});
  const Text value = ReadVariant(match, "Value").GetText();
  if (position) *position = match.IsEmpty() ? -2 : PositionOf(value, match);
  return value;
}

Text RegexObject::GetSubMatchText(int matchIndex, int subMatchIndex, int* position) const {
  const AutomationObject match = ReadObject(matches_, "Item", {Variant(matchIndex - 1)});
  const AutomationObject groups = ReadObject(match, "SubMatches");
  const Variant group = ReadVariant(groups, "Item", {Variant(subMatchIndex - 1)});
  const Text value = group.GetText();
  if (position) *position = group.IsEmpty() ? -2 : PositionOf(value, match);
  return value;
}

int RegexObject::GetSubMatchCount() const {
  const AutomationObject match = ReadObject(matches_, "Item", {Variant(0)});
  const AutomationObject groups = ReadObject(match, "SubMatches");
  return rt::ToInteger(ReadNumber(groups, "Count"));
}

Text FindPatternMatch(const Text& text, int matchIndex, int subMatchIndex) {
  RegexObject regex;
  if (!regex.CreateAndExecute("[a-zA-z]+://[^\\s]*", text, false, false, true, true)) return {};
  if (regex.GetMatchCount() == 0 || matchIndex < 1) return {};
  if (subMatchIndex >= 1) return regex.GetSubMatchText(matchIndex, subMatchIndex);
  return regex.GetMatchText(matchIndex);
}

}  // namespace suozhi
