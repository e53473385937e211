// Matching as the regular-expression component does it, on UTF-16 units.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace suozhi::platform::regexp {

struct Options {
  bool ignoreCase = false;
  bool global = false;
  bool multiline = false;
};

struct Match {
  std::u16string value;
  size_t firstIndex = 0;                              // in UTF-16 code units
  std::vector<std::optional<std::u16string>> groups;  // nullopt: took no part
};

// Every match (only the first unless global); nothing when the pattern is
// refused or matching ran into its limits.
std::optional<std::vector<Match>> Execute(const std::u16string& pattern,
                                          const std::u16string& subject, const Options& options);

// The subject with the matches replaced ($1..$99, $&, $`, $', $$).
std::optional<std::u16string> Replace(const std::u16string& pattern, const std::u16string& subject,
                                      const std::u16string& replacement, const Options& options);

// Exposed for tests: the pattern as compiled, after the leading-run rewrite
// (see regexp_engine.cpp); `enabled` false turns the rewrite off.
std::u16string CompiledPattern(const std::u16string& pattern, const Options& options,
                               bool enabled = true);
std::optional<std::vector<Match>> ExecuteUnoptimised(const std::u16string& pattern,
                                                     const std::u16string& subject,
                                                     const Options& options);

}  // namespace suozhi::platform::regexp
