#include "runtime/text.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>

namespace suozhi::rt {
namespace {

unsigned char FoldAscii(unsigned char c) {
  return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c;
}

bool MatchesAt(std::string_view text, size_t at, std::string_view sought, bool ignoreCase) {
  if (!ignoreCase) return text.compare(at, sought.size(), sought) == 0;
  for (size_t k = 0; k < sought.size(); ++k) {
    if (FoldAscii(static_cast<unsigned char>(text[at + k])) !=
        FoldAscii(static_cast<unsigned char>(sought[k])))
      return false;
  }
  return true;
}

// Width of the character that starts at byte `i`: a lead byte takes the next
// byte with it, except at the very end of the text.
size_t CharWidth(std::string_view text, size_t i) {
  return (IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) ? 2 : 1;
}

// 0-based offset of the first match at a character boundary at or after
// `from` (0-based), or npos.
size_t FindFrom(std::string_view text, std::string_view sought, size_t from, bool ignoreCase) {
  if (sought.size() > text.size()) return std::string_view::npos;
  const size_t last = text.size() - sought.size();
  for (size_t i = 0; i <= last; i += CharWidth(text, i)) {
    if (i >= from && MatchesAt(text, i, sought, ignoreCase)) return i;
  }
  return std::string_view::npos;
}

// Clamps a 1-based start to a 0-based offset.
size_t StartOffset(int start) {
  return start < 1 ? 0 : static_cast<size_t>(start) - 1;
}

int Clamp(size_t n) {
  return n > static_cast<size_t>(INT_MAX) ? INT_MAX : static_cast<int>(n);
}

}  // namespace

int FindText(std::string_view text, std::string_view sought, int start, bool ignoreCase) {
  const size_t from = StartOffset(start);
  if (from >= text.size()) return -1;
  if (sought.empty()) return 1;
  const size_t at = FindFrom(text, sought, from, ignoreCase);
  return at == std::string_view::npos ? -1 : Clamp(at + 1);
}

Text Left(std::string_view text, int n) {
  if (n <= 0) return {};
  return Text(text.substr(0, static_cast<size_t>(n)));
}

Text Right(std::string_view text, int n) {
  if (n <= 0) return {};
  const size_t k = std::min(text.size(), static_cast<size_t>(n));
  return Text(text.substr(text.size() - k));
}

Text Middle(std::string_view text, int start, int n) {
  if (n <= 0 || start < 1 || static_cast<size_t>(start) > text.size()) return {};
  return Text(text.substr(static_cast<size_t>(start) - 1, static_cast<size_t>(n)));
}

Text UpperCase(std::string_view text) {
  Text out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - ('a' - 'A'));
  }
  return out;
}

Text LowerCase(std::string_view text) {
  Text out(text);
  for (char& c : out) c = static_cast<char>(FoldAscii(static_cast<unsigned char>(c)));
  return out;
}

Text RemoveAllSpaces(std::string_view text) {
  // The full-width space of the code page: A1 A1.
  Text out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const size_t w = CharWidth(text, i);
    const bool ascii = text[i] == ' ';
    const bool wide = w == 2 && static_cast<unsigned char>(text[i]) == 0xA1 &&
                      static_cast<unsigned char>(text[i + 1]) == 0xA1;
    if (!ascii && !wide) out.append(text.substr(i, w));
    i += w;
  }
  return out;
}

Text ReplaceAt(std::string_view text, int start, int n, std::string_view replacement) {
  const size_t at = std::min(StartOffset(start), text.size());
  const size_t cut = n <= 0 ? 0 : std::min(static_cast<size_t>(n), text.size() - at);
  Text out(text.substr(0, at));
  out.append(replacement);
  out.append(text.substr(at + cut));
  return out;
}

Text ReplaceSubtext(std::string_view text, std::string_view sought, std::string_view replacement,
                    int start, int count, bool caseSensitive) {
  if (sought.empty() || count == 0) return Text(text);
  Text out;
  out.reserve(text.size());
  size_t done = 0;  // bytes of `text` already copied
  size_t from = StartOffset(start);
  int replaced = 0;
  while (count == kAllOccurrences || replaced < count) {
    const size_t at = FindFrom(text, sought, from, !caseSensitive);
    if (at == std::string_view::npos) break;
    out.append(text.substr(done, at - done));
    out.append(replacement);
    done = from = at + sought.size();
    ++replaced;
  }
  out.append(text.substr(done));
  return out;
}

std::vector<Text> SplitText(std::string_view text, std::string_view separator) {
  std::vector<Text> pieces;
  if (text.empty()) return pieces;
  if (separator.empty()) {
    pieces.emplace_back(text);
    return pieces;
  }
  size_t from = 0;
  for (;;) {
    const size_t at = FindFrom(text, separator, from, false);
    if (at == std::string_view::npos) break;
    pieces.emplace_back(text.substr(from, at - from));
    from = at + separator.size();
  }
  if (from < text.size()) pieces.emplace_back(text.substr(from));
  return pieces;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

double ToNumber(std::string_view text) {
  // Gather the leading number as ASCII, reading the code page's full-width
  // digits (A3 B0 .. A3 B9) as their ASCII counterparts.
  std::string ascii;
  size_t i = 0;
  auto digitAt = [&](size_t k) -> int {
    if (k < text.size() && text[k] >= '0' && text[k] <= '9') return 1;
    if (k + 1 < text.size() && static_cast<unsigned char>(text[k]) == 0xA3 &&
        static_cast<unsigned char>(text[k + 1]) >= 0xB0 &&
        static_cast<unsigned char>(text[k + 1]) <= 0xB9)
      return 2;
    return 0;
  };
  auto takeDigits = [&]() {
    size_t n = 0;
    while (int w = digitAt(i)) {
      ascii.push_back(w == 1 ? text[i] : static_cast<char>('0' + (text[i + 1] - '\xB0')));
      i += static_cast<size_t>(w);
      ++n;
    }
    return n;
  };
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ascii.push_back(text[i++]);
  size_t digits = takeDigits();
  if (i < text.size() && text[i] == '.') {
    ascii.push_back(text[i++]);
    digits += takeDigits();
  }
  if (digits == 0) return 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    const size_t mark = i;
    const size_t kept = ascii.size();
    ascii.push_back('e');
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ascii.push_back(text[i++]);
    if (takeDigits() == 0) {
      ascii.resize(kept);
      i = mark;
    }
  }
  if (ascii.front() == '+') ascii.erase(0, 1);
  double value = 0;
  const auto result = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    return ascii.front() == '-' ? -HUGE_VAL : HUGE_VAL;
  }
  return result.ec == std::errc() ? value : 0;
}

int ToInteger(double number) {
  if (std::isnan(number)) return 0;
  if (number >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (number <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(number);
}

Text ToText(int number) {
  return std::to_string(number);
}

Text ToText(double number) {
  // Locale-independent "%.13g".
  char buffer[64];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, number, std::chars_format::general, 13);
  return Text(buffer, result.ptr);
}

Text ToText(const ByteSet& bytes) {
  const auto end = std::find(bytes.begin(), bytes.end(), 0);
  return Text(bytes.begin(), end);
}

Text CharFromCode(int code) {
  const char c = static_cast<char>(code & 0xFF);
  return c == 0 ? Text() : Text(1, c);
}

Text BlankText(int n) {
  return n <= 0 ? Text() : Text(static_cast<size_t>(n), ' ');
}

ByteSet BlankBytes(int n) {
  return n <= 0 ? ByteSet() : ByteSet(static_cast<size_t>(n), 0);
}

ByteSet ToBytes(std::string_view text) {
  return ByteSet(text.begin(), text.end());
}

ByteSet LeftBytes(const ByteSet& bytes, int n) {
  if (n <= 0) return {};
  return ByteSet(bytes.begin(), bytes.begin() + std::min(bytes.size(), static_cast<size_t>(n)));
}

}  // namespace suozhi::rt
