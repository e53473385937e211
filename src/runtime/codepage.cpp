#include "runtime/codepage.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <type_traits>

namespace suozhi::cp {
namespace {

// How many input bytes make up the character that iconv could not convert.
using SkipFn = size_t (*)(const unsigned char* p, size_t left);

size_t SkipByte(const unsigned char*, size_t) {
  return 1;
}

// A valid UTF-8 sequence is skipped whole (one "?" for one character the code
// page lacks); an invalid byte alone.
size_t SkipUtf8(const unsigned char* p, size_t left) {
  const unsigned char c = p[0];
  const size_t len = c < 0xC2 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : c < 0xF5 ? 4 : 1;
  // A sequence cut short by the end of the text counts as one character.
  const size_t have = std::min(len, left);
  for (size_t k = 1; k < have; ++k) {
    if ((p[k] & 0xC0) != 0x80) return 1;
  }
  return have;
}

size_t SkipUtf16(const unsigned char* p, size_t left) {
  if (left < 2) return left;
  const unsigned unit = p[0] | (p[1] << 8);
  if (unit >= 0xD800 && unit < 0xDC00 && left >= 4) {
    const unsigned next = p[2] | (p[3] << 8);
    if (next >= 0xDC00 && next < 0xE000) return 4;
  }
  return 2;
}

// One iconv descriptor, closed with its owner.
class Converter {
 public:
  Converter(const char* to, const char* from, SkipFn skip, std::string_view replacement)
      : cd_(iconv_open(to, from)), skip_(skip), replacement_(replacement) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  std::string Run(std::string_view in) {
    std::string out;
    if (!ok() || in.empty()) return out;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    out.resize(in.size() * 2 + 16);
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    size_t used = 0;
    while (srcLeft > 0) {
      char* dst = out.data() + used;
      size_t dstLeft = out.size() - used;
      const size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
      used = out.size() - dstLeft;
      if (r != static_cast<size_t>(-1)) break;
      if (errno == E2BIG) {
        out.resize(out.size() * 2);
        continue;
      }
      // EILSEQ or EINVAL: put the replacement for one character and go on.
      const size_t skip = std::min(srcLeft, skip_(reinterpret_cast<unsigned char*>(src), srcLeft));
      src += skip;
      srcLeft -= skip;
      if (out.size() - used < replacement_.size()) out.resize(out.size() * 2 + 16);
      out.replace(used, replacement_.size(), replacement_);
      used += replacement_.size();
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    }
    out.resize(used);
    return out;
  }

 private:
  iconv_t cd_;
  SkipFn skip_;
  std::string_view replacement_;
};

enum Pair { kGbkToUtf8, kUtf8ToGbk, kGbkToUtf16, kUtf16ToGbk, kUtf16ToUtf8, kUtf8ToUtf16, kPairs };

constexpr std::string_view kQuestion = "?";
constexpr std::string_view kQuestion16("?\0", 2);

// Descriptors are kept per thread: an iconv descriptor carries state.
Converter& Get(Pair which) {
  thread_local std::unique_ptr<Converter> cache[kPairs];
  auto& slot = cache[which];
  if (!slot) {
    switch (which) {
      case kGbkToUtf8:
        slot = std::make_unique<Converter>("UTF-8", "GBK", SkipByte, kQuestion);
        break;
      case kUtf8ToGbk:
        slot = std::make_unique<Converter>("GBK", "UTF-8", SkipUtf8, kQuestion);
        break;
      case kGbkToUtf16:
        slot = std::make_unique<Converter>("UTF-16LE", "GBK", SkipByte, kQuestion16);
        break;
      case kUtf16ToGbk:
        slot = std::make_unique<Converter>("GBK", "UTF-16LE", SkipUtf16, kQuestion);
        break;
      case kUtf16ToUtf8:
        slot = std::make_unique<Converter>("UTF-8", "UTF-16LE", SkipUtf16, kQuestion);
        break;
      default:
        slot = std::make_unique<Converter>("UTF-16LE", "UTF-8", SkipUtf8, kQuestion16);
        break;
    }
  }
  return *slot;
}

std::u16string AsUtf16(const std::string& bytes) {
  return std::u16string(reinterpret_cast<const char16_t*>(bytes.data()), bytes.size() / 2);
}

std::string_view AsBytes(std::u16string_view utf16) {
  return {reinterpret_cast<const char*>(utf16.data()), utf16.size() * 2};
}

// Plain ASCII is the same in every encoding here and needs no converter.
template <typename Unit>
bool AllAscii(std::basic_string_view<Unit> in) {
  for (const Unit c : in) {
    if (static_cast<std::make_unsigned_t<Unit>>(c) >= 0x80) return false;
  }
  return true;
}

}  // namespace

std::string ToUtf8(std::string_view gbk) {
  return Get(kGbkToUtf8).Run(gbk);
}
Text FromUtf8(std::string_view utf8) {
  return Get(kUtf8ToGbk).Run(utf8);
}
std::u16string ToUtf16(std::string_view gbk) {
  return AsUtf16(Get(kGbkToUtf16).Run(gbk));
}
Text FromUtf16(std::u16string_view utf16) {
  return Get(kUtf16ToGbk).Run(AsBytes(utf16));
}
std::string Utf16ToUtf8(std::u16string_view utf16) {
  return Get(kUtf16ToUtf8).Run(AsBytes(utf16));
}
std::u16string Utf8ToUtf16(std::string_view utf8) {
  return AsUtf16(Get(kUtf8ToUtf16).Run(utf8));
}

}  // namespace suozhi::cp
