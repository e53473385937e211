#include "runtime/codepage.h"

#include <gtest/gtest.h>

namespace suozhi {
namespace {

TEST(CodePage, RoundTripsChineseText) {
  const std::string utf8 = "网址http://x/中文?a=1　全角";
  const Text gbk = cp::FromUtf8(utf8);
  EXPECT_EQ(gbk.substr(0, 4), "\xCD\xF8\xD6\xB7");
  EXPECT_EQ(cp::ToUtf8(gbk), utf8);
  EXPECT_EQ(cp::FromUtf16(cp::ToUtf16(gbk)), gbk);
  EXPECT_EQ(cp::Utf16ToUtf8(cp::Utf8ToUtf16(utf8)), utf8);
  EXPECT_EQ(cp::ToUtf16(cp::FromUtf8("中")), u"中");
}

TEST(CodePage, WhatTheCodePageLacksBecomesQuestionMarks) {
  const std::pair<std::string, Text> cases[] = {
      {"a😀b", "a?b"},       // outside the BMP: one character, one "?"
      {"a\u0E01b", "a?b"},  // a Thai letter
      {"a\xFF"
       "b",
       "a?b"},                // invalid UTF-8 byte
      {"a\xE4\xB8", "a?"},    // cut sequence at the end
      {"\xED\xA0\x80", "?"},  // an encoded surrogate is not valid UTF-8
  };
  for (const auto& [in, expected] : cases) EXPECT_EQ(cp::FromUtf8(in), expected) << in;
  EXPECT_EQ(cp::FromUtf16(std::u16string(1, char16_t(0xD800)) + u"x"), "?x");
  EXPECT_EQ(cp::FromUtf16(u"😀"), "?");
}

TEST(CodePage, InvalidCodePageBytesNeverFail) {
  EXPECT_EQ(cp::ToUtf8("a\xFF"
                       "b"),
            "a?b");
  EXPECT_EQ(cp::ToUtf8("a\x81"), "a?");
  EXPECT_EQ(cp::ToUtf8(""), "");
  std::string noise;
  for (int i = 0; i < 4096; ++i) noise.push_back(static_cast<char>((i * 7919) & 0xFF));
  EXPECT_FALSE(cp::ToUtf8(noise).empty());
  EXPECT_FALSE(cp::ToUtf16(noise).empty());
  EXPECT_FALSE(cp::FromUtf8(noise).empty());
}

}  // namespace
}  // namespace suozhi
