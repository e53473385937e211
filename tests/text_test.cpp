#include "runtime/text.h"

#include <cmath>

#include <gtest/gtest.h>

#include "support/gbk.h"

namespace suozhi {
namespace {

using test::G;

struct FindCase {
  Text text, sought;
  int start;
  bool ignoreCase;
  int expected;
};

TEST(FindText, Table) {
  // 中 is D6 D0 and 文 is CE C4 in the code page: the byte pair D0 CE spans
  // two characters and must not be found.
  const Text zw = G("中文");
  const FindCase cases[] = {
      {"abcabc", "c", 1, false, 3},     {"abcabc", "c", 4, false, 6},
      {"abcabc", "c", 7, false, -1},    {"abcabc", "c", -5, false, 3},
      {"abcabc", "C", 1, false, -1},    {"abcabc", "C", 1, true, 3},
      {"abc", "", 1, false, 1},         {"abc", "", 3, false, 1},
      {"abc", "", 4, false, -1},        {"", "", 1, false, -1},
      {zw, "\xD0\xCE", 1, false, -1},   {zw, G("文"), 1, false, 3},
      {zw + "x", "x", 2, false, 5},      // start inside 中 moves to the next character
      {G("Ａ") + "a", "a", 1, true, 3},  // full-width letters do not fold
      {"a/b", "/", 1, true, 2},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(rt::FindText(c.text, c.sought, c.start, c.ignoreCase), c.expected)
        << c.text << " / " << c.sought << " from " << c.start;
  }
}

TEST(TextPieces, LeftRightMiddle) {
  EXPECT_EQ(rt::Left("abc", 2), "ab");
  EXPECT_EQ(rt::Left("abc", 9), "abc");
  EXPECT_EQ(rt::Left("abc", 0), "");
  EXPECT_EQ(rt::Right("abc", 2), "bc");
  EXPECT_EQ(rt::Right("abc", -1), "");
  EXPECT_EQ(rt::Middle("abcdef", 2, 3), "bcd");
  EXPECT_EQ(rt::Middle("abc", 2, 99), "bc");
  EXPECT_EQ(rt::Middle("abc", 4, 1), "");
  EXPECT_EQ(rt::Middle("abc", 0, 1), "");
}

TEST(TextPieces, CaseAndSpaces) {
  EXPECT_EQ(rt::UpperCase("aZ" + G("中") + "q"), "AZ" + G("中") + "Q");
  EXPECT_EQ(rt::LowerCase("HeLLo"), "hello");
  EXPECT_EQ(rt::RemoveAllSpaces(" a b" + G("　") + "c" + G("中") + " "), "abc" + G("中"));
}

TEST(TextPieces, Replace) {
  EXPECT_EQ(rt::ReplaceAt("abcdef", 2, 3, "X"), "aXef");
  EXPECT_EQ(rt::ReplaceAt("abc", 3, 9), "ab");
  EXPECT_EQ(rt::ReplaceSubtext("a\r\nb\r\n", "\r"), "a\nb\n");
  EXPECT_EQ(rt::ReplaceSubtext("aXaXa", "x", "-", 1, rt::kAllOccurrences, false), "a-a-a");
  EXPECT_EQ(rt::ReplaceSubtext("aXaXa", "x", "-"), "aXaXa");
  EXPECT_EQ(rt::ReplaceSubtext("aaaa", "a", "b", 2, 2), "abba");
  // The sought byte pair straddles two characters and is left alone.
  EXPECT_EQ(rt::ReplaceSubtext(G("中文"), "\xD0\xCE", "!"), G("中文"));
  EXPECT_EQ(rt::ReplaceSubtext("a\\b", "\\", "\\\\"), "a\\\\b");
}

TEST(TextPieces, Split) {
  using V = std::vector<Text>;
  EXPECT_EQ(rt::SplitText("", "\r\n"), V{});
  EXPECT_EQ(rt::SplitText("a\r\nb", "\r\n"), (V{"a", "b"}));
  EXPECT_EQ(rt::SplitText("a\r\n\r\nb\r\n", "\r\n"), (V{"a", "", "b"}));
  EXPECT_EQ(rt::SplitText("\r\n", "\r\n"), (V{""}));
  EXPECT_EQ(rt::StartsWith("abc", ""), true);
  EXPECT_EQ(rt::StartsWith("abc", "ab"), true);
  EXPECT_EQ(rt::StartsWith("abc", "B"), false);
}

TEST(ToNumber, Table) {
  const std::pair<Text, double> cases[] = {
      {"200", 200},    {"200.5", 200.5},   {"-3", -3},
      {"+4", 4},       {"1e3", 1000},      {"1e", 1},
      {"2E-2x", 0.02}, {".5", 0.5},        {"-.5", -0.5},
      {"5.", 5},       {"abc", 0},         {"", 0},
      {"-", 0},        {".", 0},           {" 7", 0},
      {"12abc", 12},   {G("１２３"), 123}, {"1" + G("２") + ".5", 12.5},
      {"JSON", 0},
  };
  for (const auto& [text, expected] : cases) EXPECT_DOUBLE_EQ(rt::ToNumber(text), expected) << text;
  EXPECT_EQ(rt::ToInteger(200.9), 200);
  EXPECT_EQ(rt::ToInteger(-200.9), -200);
  EXPECT_EQ(rt::ToInteger(1e300), INT_MAX);
  EXPECT_EQ(rt::ToInteger(std::nan("")), 0);
}

TEST(ToText, NumbersAndBytes) {
  EXPECT_EQ(rt::ToText(-42), "-42");
  EXPECT_EQ(rt::ToText(1.5), "1.5");
  EXPECT_EQ(rt::ToText(200.0), "200");
  EXPECT_EQ(rt::ToText(0.1 + 0.2), "0.3");
  EXPECT_EQ(rt::ToText(1e20), "1e+20");
  EXPECT_EQ(rt::ToText(ByteSet{'a', 'b', 0, 'c'}), "ab");
  EXPECT_EQ(rt::ToText(ByteSet{}), "");
  EXPECT_EQ(rt::ToText(rt::BlankBytes(255)), "");
  EXPECT_EQ(rt::CharFromCode(65), "A");
  EXPECT_EQ(rt::CharFromCode(0), "");
  EXPECT_EQ(rt::BlankText(3), "   ");
  EXPECT_EQ(rt::LeftBytes(rt::ToBytes("abc"), 2), rt::ToBytes("ab"));
}

}  // namespace
}  // namespace suozhi
