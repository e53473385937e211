// Text and byte-set operations on code-page (GBK) text.
//
// A Text holds bytes in the program's code page. Positions are 1-based byte
// positions; a byte of 0x80 or more starts a two-byte character, and no search
// ever starts on the second byte of one. Every operation returns a new value
// and none of them throws for bad input: out-of-range positions and counts
// give the empty or unchanged result.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace suozhi {

using Text = std::string;
using ByteSet = std::vector<std::uint8_t>;

namespace rt {

inline constexpr int kAllOccurrences = -1;

// True when the byte starts a two-byte character.
inline bool IsLeadByte(unsigned char c) {
  return c >= 0x80;
}

// Position of the first occurrence of `sought` at or after `start`, or -1.
// A start below 1 counts as 1. Only ASCII letters fold under ignoreCase.
// An empty `sought` gives 1 when any text remains from `start`.
int FindText(std::string_view text, std::string_view sought, int start = 1,
             bool ignoreCase = false);

Text Left(std::string_view text, int n);
Text Right(std::string_view text, int n);
Text Middle(std::string_view text, int start, int n);
Text UpperCase(std::string_view text);
Text LowerCase(std::string_view text);

// Drops every ASCII space and every full-width space.
Text RemoveAllSpaces(std::string_view text);

// Removes n bytes at start and inserts the replacement there.
Text ReplaceAt(std::string_view text, int start, int n, std::string_view replacement = {});

// Replaces occurrences of `sought` found from `start`, at most `count` of them
// (kAllOccurrences for all).
Text ReplaceSubtext(std::string_view text, std::string_view sought,
                    std::string_view replacement = {}, int start = 1, int count = kAllOccurrences,
                    bool caseSensitive = true);

// The pieces between separators; "" gives none and an empty last piece is dropped.
std::vector<Text> SplitText(std::string_view text, std::string_view separator);

bool StartsWith(std::string_view text, std::string_view prefix);

// The leading number (sign, digits, point, exponent); full-width digits count
// as ASCII ones; 0 when the text does not start with a number.
double ToNumber(std::string_view text);

// Truncation toward zero, clamped to the int range (NaN gives 0).
int ToInteger(double number);

Text ToText(int number);
Text ToText(double number);         // "%.13g"
Text ToText(const ByteSet& bytes);  // bytes up to the first zero byte

Text CharFromCode(int code);
Text BlankText(int n);
ByteSet BlankBytes(int n);
ByteSet ToBytes(std::string_view text);
ByteSet LeftBytes(const ByteSet& bytes, int n);

}  // namespace rt
}  // namespace suozhi
