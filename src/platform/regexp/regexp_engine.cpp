#define PCRE2_CODE_UNIT_WIDTH 16
#include "platform/regexp/regexp_engine.h"

#include <pcre2.h>

#include <memory>

namespace suozhi::platform::regexp {
namespace {

using Wide = std::u16string;

struct CodeFree {
  void operator()(pcre2_code* p) const { pcre2_code_free(p); }
};
struct MatchDataFree {
  void operator()(pcre2_match_data* p) const { pcre2_match_data_free(p); }
};
struct MatchContextFree {
  void operator()(pcre2_match_context* p) const { pcre2_match_context_free(p); }
};
struct JitStackFree {
  void operator()(pcre2_jit_stack* p) const { pcre2_jit_stack_free(p); }
};
using Code = std::unique_ptr<pcre2_code, CodeFree>;

// Bounds for one match run: a hostile subject fails instead of running away.
constexpr uint32_t kMatchLimit = 50'000'000;
constexpr uint32_t kDepthLimit = 100'000;
constexpr uint32_t kHeapLimitKiB = 64 * 1024;
constexpr size_t kJitStackMin = 32 * 1024;
constexpr size_t kJitStackMax = 8 * 1024 * 1024;

// JavaScript-style syntax, as the component's patterns are written.
uint32_t CompileOptions(const Options& options) {
  uint32_t flags = PCRE2_ALT_BSUX | PCRE2_ALLOW_EMPTY_CLASS | PCRE2_MATCH_UNSET_BACKREF |
                   PCRE2_NEVER_BACKSLASH_C;
  if (options.ignoreCase) flags |= PCRE2_CASELESS;
  flags |= options.multiline ? PCRE2_MULTILINE : PCRE2_DOLLAR_ENDONLY;
  return flags;
}

Code Compile(const Wide& pattern, const Options& options, bool jit = true) {
  int error = 0;
  PCRE2_SIZE offset = 0;
  Code code(pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(),
                          CompileOptions(options), &error, &offset, nullptr));
  if (code && jit) pcre2_jit_compile(code.get(), PCRE2_JIT_COMPLETE);  // else the interpreter
  return code;
}

bool IsPlainLiteral(char16_t c) {
  return Wide(u"\\^$.|?*+()[]{}").find(c) == Wide::npos;
}

// A pattern that starts with a run of one character class, "[...]+", followed
// by a literal that the class does not take, can only match where such a run
// begins (or where the search itself starts): a match inside a run would
// have the same run end, so the run's own start matches first. Saying so
// with a look-behind turns the quadratic retry over long runs into a linear
// scan, and changes no result.
Wide LeadingRunRewrite(const Wide& pattern, const Options& options) {
  if (pattern.size() < 4 || pattern[0] != u'[') return pattern;
  size_t i = 1;
  if (i < pattern.size() && pattern[i] == u'^') ++i;
  for (; i < pattern.size() && pattern[i] != u']'; ++i) {
    if (pattern[i] == u'\\') ++i;
  }
  if (i + 2 >= pattern.size() || pattern[i + 1] != u'+') return pattern;
  const char16_t literal = pattern[i + 2];
  if (!IsPlainLiteral(literal)) return pattern;
  const Wide cls = pattern.substr(0, i + 1);
  const Code classCode = Compile(cls, options, false);
  if (!classCode) return pattern;
  std::unique_ptr<pcre2_match_data, MatchDataFree> md(
      pcre2_match_data_create_from_pattern(classCode.get(), nullptr));
  const Wide one(1, literal);
  if (pcre2_match(classCode.get(), reinterpret_cast<PCRE2_SPTR>(one.data()), 1, 0, 0, md.get(),
                  nullptr) >= 0)
    return pattern;  // the literal could continue the run
  return u"(?:\\G|(?<!" + cls + u"))" + pattern;
}

std::optional<std::vector<Match>> Run(const Wide& compiled, const Wide& subject,
                                      const Options& options) {
  const Code code = Compile(compiled, options);
  if (!code) return std::nullopt;
  std::unique_ptr<pcre2_match_data, MatchDataFree> md(
      pcre2_match_data_create_from_pattern(code.get(), nullptr));
  std::unique_ptr<pcre2_match_context, MatchContextFree> context(
      pcre2_match_context_create(nullptr));
  std::unique_ptr<pcre2_jit_stack, JitStackFree> stack(
      pcre2_jit_stack_create(kJitStackMin, kJitStackMax, nullptr));
  if (!md || !context) return std::nullopt;
  pcre2_set_match_limit(context.get(), kMatchLimit);
  pcre2_set_depth_limit(context.get(), kDepthLimit);
  pcre2_set_heap_limit(context.get(), kHeapLimitKiB);
  if (stack) pcre2_jit_stack_assign(context.get(), nullptr, stack.get());

  uint32_t groupCount = 0;
  pcre2_pattern_info(code.get(), PCRE2_INFO_CAPTURECOUNT, &groupCount);
  const auto* data = reinterpret_cast<PCRE2_SPTR>(subject.data());
  std::vector<Match> matches;
  size_t start = 0;
  while (start <= subject.size()) {
    const int rc = pcre2_match(code.get(), data, subject.size(), start, 0, md.get(), context.get());
    if (rc == PCRE2_ERROR_NOMATCH) break;
    if (rc < 0) return std::nullopt;  // a limit was reached: no answer rather than a wrong one
    const PCRE2_SIZE* ov = pcre2_get_ovector_pointer(md.get());
    Match m;
    m.firstIndex = ov[0];
    m.value = subject.substr(ov[0], ov[1] - ov[0]);
    for (uint32_t g = 1; g <= groupCount; ++g) {
      if (g < static_cast<uint32_t>(rc) && ov[2 * g] != PCRE2_UNSET) {
        m.groups.emplace_back(subject.substr(ov[2 * g], ov[2 * g + 1] - ov[2 * g]));
      } else {
        m.groups.emplace_back(std::nullopt);
      }
    }
    matches.push_back(std::move(m));
    if (!options.global) break;
    start = ov[1] > ov[0] ? ov[1] : ov[1] + 1;  // step past an empty match
  }
  return matches;
}

// Appends the expansion of `replacement` for one match.
void Expand(const Wide& replacement, const Match& m, const Wide& subject, Wide& out) {
  for (size_t i = 0; i < replacement.size(); ++i) {
    const char16_t c = replacement[i];
    if (c != u'$' || i + 1 >= replacement.size()) {
      out.push_back(c);
      continue;
    }
    const char16_t next = replacement[i + 1];
    auto digit = [&](size_t k) -> int {
      return k < replacement.size() && replacement[k] >= u'0' && replacement[k] <= u'9'
                 ? replacement[k] - u'0'
                 : -1;
    };
    if (next == u'$') {
      out.push_back(u'$');
      ++i;
    } else if (next == u'&') {
      out += m.value;
      ++i;
    } else if (next == u'`') {
      out += subject.substr(0, m.firstIndex);
      ++i;
    } else if (next == u'\'') {
      out += subject.substr(m.firstIndex + m.value.size());
      ++i;
    } else if (const int d1 = digit(i + 1); d1 >= 0) {
      const int d2 = digit(i + 2);
      const int two = d2 >= 0 ? d1 * 10 + d2 : -1;
      const int count = static_cast<int>(m.groups.size());
      int group = -1;
      size_t used = 0;
      if (two >= 1 && two <= count) {
        group = two;
        used = 2;
      } else if (d1 >= 1 && d1 <= count) {
        group = d1;
        used = 1;
      }
      if (group < 0) {
        out.push_back(c);
        continue;
      }
      if (const auto& g = m.groups[static_cast<size_t>(group - 1)]) out += *g;
      i += used;
    } else {
      out.push_back(c);
    }
  }
}

}  // namespace

Wide CompiledPattern(const Wide& pattern, const Options& options, bool enabled) {
  return enabled ? LeadingRunRewrite(pattern, options) : pattern;
}

std::optional<std::vector<Match>> Execute(const Wide& pattern, const Wide& subject,
                                          const Options& options) {
  return Run(CompiledPattern(pattern, options), subject, options);
}

std::optional<std::vector<Match>> ExecuteUnoptimised(const Wide& pattern, const Wide& subject,
                                                     const Options& options) {
  return Run(pattern, subject, options);
}

std::optional<Wide> Replace(const Wide& pattern, const Wide& subject, const Wide& replacement,
                            const Options& options) {
  const auto matches = Execute(pattern, subject, options);
  if (!matches) return std::nullopt;
  Wide out;
  size_t done = 0;
  for (const Match& m : *matches) {
    out += subject.substr(done, m.firstIndex - done);
    Expand(replacement, m, subject, out);
    done = m.firstIndex + m.value.size();
  }
  out += subject.substr(done);
  return out;
}

}  // namespace suozhi::platform::regexp
