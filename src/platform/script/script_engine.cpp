#include "platform/script/script_engine.h"

#include <duktape.h>

#include <pthread.h>

#include <chrono>
#include <cstdlib>
#include <cstring>

namespace suozhi::platform::script {

struct Engine::Budget {
  Limits limits;
  std::size_t used = 0;
  std::chrono::steady_clock::time_point deadline = std::chrono::steady_clock::time_point::max();
  bool Expired() const { return std::chrono::steady_clock::now() >= deadline; }
};

namespace {

using Budget = Engine::Budget;

// Each block carries its size in front, for the cap's accounting.
constexpr std::size_t kHeader = alignof(std::max_align_t);
// Once the time is up, native loops (join, repeated concatenation) are
// stopped by refusing them any block larger than this.
constexpr std::size_t kLargeAfterDeadline = 16 * 1024;

bool MayAllocate(const Budget& b, std::size_t more) {
  if (more > b.limits.memoryCap || b.used > b.limits.memoryCap - more) return false;
  return more <= kLargeAfterDeadline || !b.Expired();
}

void* Alloc(void* udata, duk_size_t size) {
  auto& b = *static_cast<Budget*>(udata);
  if (size == 0 || !MayAllocate(b, size)) return nullptr;
  auto* block = static_cast<unsigned char*>(std::malloc(size + kHeader));
  if (!block) return nullptr;
  std::memcpy(block, &size, sizeof size);
  b.used += size;
  return block + kHeader;
}

void Free(void* udata, void* ptr) {
  if (!ptr) return;
  auto* block = static_cast<unsigned char*>(ptr) - kHeader;
  std::size_t size = 0;
  std::memcpy(&size, block, sizeof size);
  static_cast<Budget*>(udata)->used -= size;
  std::free(block);
}

void* Realloc(void* udata, void* ptr, duk_size_t size) {
  if (!ptr) return Alloc(udata, size);
  if (size == 0) {
    Free(udata, ptr);
    return nullptr;
  }
  auto& b = *static_cast<Budget*>(udata);
  auto* block = static_cast<unsigned char*>(ptr) - kHeader;
  std::size_t old = 0;
  std::memcpy(&old, block, sizeof old);
  if (size > old && !MayAllocate(b, size - old)) return nullptr;
  auto* grown = static_cast<unsigned char*>(std::realloc(block, size + kHeader));
  if (!grown) return nullptr;
  std::memcpy(grown, &size, sizeof size);
  b.used = b.used - old + size;
  return grown + kHeader;
}

// Reached only for an error outside every protected call, which this file
// never makes; there is no way to continue the engine after it.
void Fatal(void*, const char* message) {
  std::fprintf(stderr, "script engine: fatal error: %s\n", message ? message : "");
  std::abort();
}

class OpaqueObject : public Component {};

struct RunArgs {
  const char* code;
  std::size_t size;
  bool program;
};

// Runs inside duk_safe_call: every error, out-of-memory included, unwinds
// to the safe call. Nothing here owns a resource.
duk_ret_t RunInner(duk_context* ctx, void* udata) {
  const auto* args = static_cast<const RunArgs*>(udata);
  if (args->program) {
    duk_push_lstring(ctx, args->code, args->size);
    duk_push_string(ctx, "code");
    duk_compile(ctx, 0);
    duk_call(ctx, 0);
  } else {
    duk_eval_lstring(ctx, args->code, args->size);
  }
  return 1;
}

}  // namespace

std::string ToEngine(const std::u16string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    unsigned c = text[i];
    // A proper surrogate pair is one character, written as four bytes;
    // anything else (a lone surrogate too) as its own unit, as CESU-8 does.
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    }
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

std::u16string FromEngine(const char* bytes, std::size_t size) {
  std::u16string out;
  out.reserve(size);
  const auto* p = reinterpret_cast<const unsigned char*>(bytes);
  std::size_t i = 0;
  auto continuation = [&](std::size_t k) { return k < size && (p[k] & 0xC0) == 0x80; };
  while (i < size) {
    const unsigned c = p[i];
    if (c < 0x80) {
      out.push_back(static_cast<char16_t>(c));
      i += 1;
    } else if ((c & 0xE0) == 0xC0 && continuation(i + 1)) {
      out.push_back(static_cast<char16_t>(((c & 0x1F) << 6) | (p[i + 1] & 0x3F)));
      i += 2;
    } else if ((c & 0xF0) == 0xE0 && continuation(i + 1) && continuation(i + 2)) {
      out.push_back(
          static_cast<char16_t>(((c & 0x0F) << 12) | ((p[i + 1] & 0x3F) << 6) | (p[i + 2] & 0x3F)));
      i += 3;
    } else if ((c & 0xF8) == 0xF0 && continuation(i + 1) && continuation(i + 2) &&
               continuation(i + 3)) {
      const unsigned cp = ((c & 0x07) << 18) | ((p[i + 1] & 0x3F) << 12) |
                          ((p[i + 2] & 0x3F) << 6) | (p[i + 3] & 0x3F);
      if (cp >= 0x10000 && cp < 0x110000) {
        out.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
      } else {
        out.push_back(u'\uFFFD');
      }
      i += 4;
    } else {
      out.push_back(u'\uFFFD');
      i += 1;
    }
  }
  return out;
}

// The engine's recursion limits (compiler, calls, JSON, regexps) are sized for
// about 1 MB of C stack; a thread with less could overflow it on a hostile
// script before any limit trips. Such a thread gets no engine at all, so
// every evaluation fails instead.
constexpr std::size_t kStackNeeded = 2u * 1024 * 1024;

std::size_t CurrentStackSize() {
  pthread_attr_t attr;
  if (pthread_getattr_np(pthread_self(), &attr) != 0) return 0;
  void* base = nullptr;
  std::size_t size = 0;
  pthread_attr_getstack(&attr, &base, &size);
  pthread_attr_destroy(&attr);
  return size;
}

Engine::Engine(Limits limits) : budget_(std::make_unique<Budget>()) {
  budget_->limits = limits;
  if (CurrentStackSize() < kStackNeeded) return;
  heap_ = duk_create_heap(Alloc, Realloc, Free, budget_.get(), Fatal);
}

Engine::~Engine() {
  if (heap_) duk_destroy_heap(static_cast<duk_context*>(heap_));
}

std::size_t Engine::MemoryInUse() const {
  return budget_->used;
}

bool Engine::AddCode(const std::u16string& code) {
  return Run(code, true).has_value();
}

std::optional<Variant> Engine::Eval(const std::u16string& code) {
  return Run(code, false);
}

std::optional<Variant> Engine::Run(const std::u16string& code, bool program) {
  if (!heap_) return std::nullopt;
  auto* ctx = static_cast<duk_context*>(heap_);
  const std::string bytes = ToEngine(code);
  RunArgs args{bytes.data(), bytes.size(), program};
  budget_->deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(budget_->limits.timeBudgetMs);
  const duk_int_t rc = duk_safe_call(ctx, RunInner, &args, 0, 1);
  std::optional<Variant> result;
  if (rc == DUK_EXEC_SUCCESS) {
    switch (duk_get_type(ctx, -1)) {
      case DUK_TYPE_BOOLEAN:
        result = Variant(duk_get_boolean(ctx, -1) != 0);
        break;
      case DUK_TYPE_NUMBER:
        result = Variant(static_cast<double>(duk_get_number(ctx, -1)));
        break;
      case DUK_TYPE_STRING: {
        duk_size_t n = 0;
        const char* s = duk_get_lstring(ctx, -1, &n);
        result = Variant(FromEngine(s, n));
        break;
      }
      case DUK_TYPE_OBJECT:
        // Objects stay in the engine; the caller gets a reference that
        // reads as true and as no text or number.
        result = Variant(AutomationObject(std::make_shared<OpaqueObject>()));
        break;
      default:
        result = Variant();
        break;
    }
  }
  duk_pop(ctx);
  budget_->deadline = std::chrono::steady_clock::time_point::max();
  return result;
}

}  // namespace suozhi::platform::script

extern "C" int suozhi_duk_exec_timeout_check(void* udata) {
  return udata && static_cast<suozhi::platform::script::Engine::Budget*>(udata)->Expired();
}
