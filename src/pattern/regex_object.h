// A small object over the regular-expression component: execute a pattern
// on a text, then read matches and groups back.
#pragma once

#include "runtime/automation.h"
#include "runtime/text.h"

namespace suozhi {

class RegexObject {
 public:
  // Each object holds one initialisation of its thread's component support.
  RegexObject();
  ~RegexObject();
  RegexObject(const RegexObject& other);  // shares component and matches
  RegexObject& operator=(const RegexObject& other);

  // Creates a fresh component, sets the flags and the pattern ("#引号"
  // becomes a double quote when quotePlaceholder is set) and executes it on
  // `text`. True when a match collection came back, even an empty one.
  bool CreateAndExecute(const Text& pattern, const Text& text, bool caseSensitive = false,
                        bool multiline = true, bool global = true, bool quotePlaceholder = false);

  Text GetPattern() const;
  Text ReplaceMatches(const Text& replacement = {}) const;
  int GetMatchCount() const;
  // 1-based. `position`, when given, receives the 0-based byte offset of the
  // returned text in the subject, or -2 when it cannot be found there.
  Text GetMatchText(int index, int* position = nullptr) const;
  Text GetSubMatchText(int matchIndex, int subMatchIndex, int* position = nullptr) const;
  int GetSubMatchCount() const;

 private:
  int PositionOf(const Text& found, const AutomationObject& match) const;

  AutomationObject component_;
  AutomationObject matches_;
  Variant subject_;
};

// The first (matchIndex-th) run of `text` shaped like a web address, or ""
// when there is none. matchIndex 0 (omitted) gives "", and so does any
// subMatchIndex of 1 or more, as the pattern has no group.
Text FindPatternMatch(const Text& text, int matchIndex = 0, int subMatchIndex = 0);

}  // namespace suozhi
