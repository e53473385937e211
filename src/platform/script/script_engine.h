// One sandboxed JavaScript engine (Duktape): global code and expressions
// run under a time budget and a memory cap, with no host functions. A
// broken bound, like any script error, is a failed run; the engine keeps
// answering afterwards.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "runtime/automation.h"

namespace suozhi::platform::script {

struct Limits {
  std::uint32_t timeBudgetMs = 1000;
  std::size_t memoryCap = 64u * 1024 * 1024;
};

class Engine {
 public:
  explicit Engine(Limits limits = {});
  ~Engine();
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  bool ok() const { return heap_ != nullptr; }

  // Runs `code` as global program code; false on any error.
  bool AddCode(const std::u16string& code);
  // Evaluates `code` in the global scope (a "var" defines a global) and
  // gives its completion value: a boolean, number or string as itself, an
  // object or function as an opaque reference, undefined and null empty.
  // Nothing on any error.
  std::optional<Variant> Eval(const std::u16string& code);

  std::size_t MemoryInUse() const;

  struct Budget;  // the allocator's and the time-out check's shared state

 private:
  std::optional<Variant> Run(const std::u16string& code, bool program);

  std::unique_ptr<Budget> budget_;
  void* heap_ = nullptr;  // duk_context*
};

// Texts in and out of the engine: UTF-16 to the engine's CESU-8 and back
// (a lone surrogate survives both ways; bytes that are not valid become
// U+FFFD).
std::string ToEngine(const std::u16string& text);
std::u16string FromEngine(const char* bytes, std::size_t size);

}  // namespace suozhi::platform::script
