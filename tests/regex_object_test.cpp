#include "pattern/regex_object.h"

#include <random>

#include <gtest/gtest.h>

#include "platform/regexp/regexp_engine.h"
#include "support/gbk.h"

namespace suozhi {
namespace {

using test::G;

TEST(RegexObject, ExecuteAndReadBack) {
  RegexObject r;
  EXPECT_EQ(r.GetPattern(), "");  // never executed
  EXPECT_EQ(r.GetMatchCount(), 0);

  ASSERT_TRUE(r.CreateAndExecute("(\\w)(\\d)?-", "a1-b-c"));
  EXPECT_EQ(r.GetMatchCount(), 2);
  EXPECT_EQ(r.GetMatchText(1), "a1-");
  EXPECT_EQ(r.GetMatchText(2), "b-");
  EXPECT_EQ(r.GetMatchText(0), "");
  EXPECT_EQ(r.GetMatchText(3), "");
  EXPECT_EQ(r.GetSubMatchCount(), 2);
  EXPECT_EQ(r.GetSubMatchText(1, 2), "1");
  EXPECT_EQ(r.GetSubMatchText(2, 2), "");  // took no part
  EXPECT_EQ(r.GetSubMatchText(2, 3), "");
  EXPECT_EQ(r.ReplaceMatches("<$2$1$&$$>"), "<1aa1-$><bb-$>c");

  EXPECT_TRUE(r.CreateAndExecute("x", "abc"));  // no match is still a collection
  EXPECT_EQ(r.GetMatchCount(), 0);
  EXPECT_EQ(r.GetMatchText(1), "");
  EXPECT_EQ(r.GetSubMatchCount(), 0);

  EXPECT_FALSE(r.CreateAndExecute("(", "abc"));  // refused pattern
  EXPECT_EQ(r.GetMatchCount(), 0);
}

TEST(RegexObject, FlagsAndPlaceholder) {
  RegexObject r;
  ASSERT_TRUE(r.CreateAndExecute("ab", "AB ab"));  // IgnoreCase by default
  EXPECT_EQ(r.GetMatchCount(), 2);
  ASSERT_TRUE(r.CreateAndExecute("ab", "AB ab", true));
  EXPECT_EQ(r.GetMatchCount(), 1);
  ASSERT_TRUE(r.CreateAndExecute("^x$", "x\nx"));  // Multiline by default
  EXPECT_EQ(r.GetMatchCount(), 2);
  ASSERT_TRUE(r.CreateAndExecute("^x$", "x\nx", false, false));
  EXPECT_EQ(r.GetMatchCount(), 0);
  ASSERT_TRUE(r.CreateAndExecute("x", "xxx", false, true, false));  // not global
  EXPECT_EQ(r.GetMatchCount(), 1);
  ASSERT_TRUE(r.CreateAndExecute("a*", "baa"));  // empty matches advance
  EXPECT_EQ(r.GetMatchCount(), 3);

  const Text placeholder = "a" + G("#引号") + "b";
  ASSERT_TRUE(r.CreateAndExecute(placeholder, "a\"b", false, true, true, true));
  EXPECT_EQ(r.GetPattern(), "a\"b");
  EXPECT_EQ(r.GetMatchCount(), 1);
  ASSERT_TRUE(r.CreateAndExecute(placeholder, "a\"b"));
  EXPECT_EQ(r.GetPattern(), placeholder);
  EXPECT_EQ(r.GetMatchCount(), 0);
}

TEST(RegexObject, PositionsAreByteOffsetsInTheCodePageText) {
  RegexObject r;
  const Text subject = G("网址http://x 中ab");
  ASSERT_TRUE(r.CreateAndExecute("(h)(t+)p|(a)(b)", subject));
  int position = 0;
  EXPECT_EQ(r.GetMatchText(1, &position), "http");
  EXPECT_EQ(position, 4);
  EXPECT_EQ(r.GetSubMatchText(1, 2, &position), "tt");
  EXPECT_EQ(position, 5);
  EXPECT_EQ(r.GetMatchText(2, &position), "ab");
  EXPECT_EQ(position, static_cast<int>(G("网址http://x 中").size()));
  EXPECT_EQ(r.GetSubMatchText(2, 1, &position), "");  // took no part
  EXPECT_EQ(position, -2);
  EXPECT_EQ(r.GetMatchText(9, &position), "");
  EXPECT_EQ(position, -2);
}

TEST(RegexObject, EachInstanceHoldsOneInitialisation) {
  const int base = CoInitializeCount();
  {
    RegexObject a;
    EXPECT_EQ(CoInitializeCount(), base + 1);
    a.CreateAndExecute("x", "x");
    RegexObject b(a);
    EXPECT_EQ(CoInitializeCount(), base + 2);
    EXPECT_EQ(b.GetMatchText(1), "x");
  }
  EXPECT_EQ(CoInitializeCount(), base);
  FindPatternMatch("http://x", 1);
  EXPECT_EQ(CoInitializeCount(), base);
}

struct FindCase {
  const char* text;
  int matchIndex, subMatchIndex;
  const char* expected;
};

TEST(FindPatternMatch, Table) {
  const FindCase cases[] = {
      {"abc", 1, 0, ""},
      {"http://x", 1, 0, "http://x"},
      {"http://", 1, 0, "http://"},
      {" http://x y", 1, 0, "http://x"},
      {"HTTPS://A.B/C", 1, 0, "HTTPS://A.B/C"},
      {"ftp://a", 1, 0, "ftp://a"},
      {"_://a", 1, 0, "_://a"},
      {"[^`]://a", 1, 0, "[^`]://a"},
      {"http:/x", 1, 0, ""},
      {"123://a", 1, 0, ""},
      {"a-b://c", 1, 0, "b://c"},
      {"http://a https://b\tftp://c", 2, 0, "https://b"},
      {"http://a https://b", 3, 0, ""},
      {"http://a", 0, 0, ""},
      {"http://a", -1, 0, ""},
      {"http://a", 1, 1, ""},
      {"网址http://x", 1, 0, "http://x"},
      {"看http://x/中文 后面", 1, 0, "http://x/中文"},
      {"http://x\r\n", 1, 0, "http://x"},
      {"", 1, 0, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindPatternMatch(G(c.text), c.matchIndex, c.subMatchIndex), G(c.expected))
        << c.text << " #" << c.matchIndex;
  }
}

TEST(FindPatternMatch, HostileSubjectsStayFastAndRight) {
  const std::string a(1 << 20, 'a'), b(1 << 20, 'b');
  EXPECT_EQ(FindPatternMatch(a + "://" + b, 1).size(), a.size() + 3 + b.size());
  EXPECT_EQ(FindPatternMatch(a, 1), "");
  EXPECT_EQ(FindPatternMatch(std::string(100 * 1024, 'a') + " ://", 1), "");
  EXPECT_EQ(FindPatternMatch(std::string(100 * 1024, 'a') + " x://y", 1), "x://y");
}

// The leading-run rewrite must never change what is found: compare against
// the plain pattern on many small random subjects.
TEST(RegExpEngine, LeadingRunRewriteChangesNoResult) {
  using platform::regexp::Options;
  const std::u16string patterns[] = {u"[a-zA-z]+://[^\\s]*", u"[ab]+:b?", u"[^:]+:(.)",
                                     u"[a-c]+x|b", u"[a]+a"};
  EXPECT_NE(platform::regexp::CompiledPattern(patterns[0], {}), patterns[0]);
  EXPECT_EQ(platform::regexp::CompiledPattern(patterns[4], {}), patterns[4]);  // 'a' continues
  std::mt19937 rng(12345);
  const std::u16string alphabet = u"abAB:/ x_1";
  for (int round = 0; round < 3000; ++round) {
    std::u16string subject;
    const int len = static_cast<int>(rng() % 14);
    for (int i = 0; i < len; ++i) subject.push_back(alphabet[rng() % alphabet.size()]);
    const Options options{(rng() & 1) != 0, (rng() & 2) != 0, false};
    for (const auto& p : patterns) {
      const auto fast = platform::regexp::Execute(p, subject, options);
      const auto plain = platform::regexp::ExecuteUnoptimised(p, subject, options);
      ASSERT_TRUE(fast && plain);
      ASSERT_EQ(fast->size(), plain->size());
      for (size_t i = 0; i < fast->size(); ++i) {
        ASSERT_EQ((*fast)[i].firstIndex, (*plain)[i].firstIndex);
        ASSERT_EQ((*fast)[i].value, (*plain)[i].value);
        ASSERT_EQ((*fast)[i].groups, (*plain)[i].groups);
      }
    }
  }
}

TEST(RegExpEngine, SyntaxIsTheComponentsOwn) {
  RegexObject r;
  ASSERT_TRUE(r.CreateAndExecute("\\u0041\\x42", "AB"));  // \uXXXX and \xXX escapes
  EXPECT_EQ(r.GetMatchCount(), 1);
  ASSERT_TRUE(r.CreateAndExecute("a[]b", "ab"));  // an empty class matches nothing
  EXPECT_EQ(r.GetMatchCount(), 0);
  ASSERT_TRUE(r.CreateAndExecute("\\s+", " \f\n\r\t\v"));
  EXPECT_EQ(r.GetMatchText(1).size(), 6u);
  ASSERT_TRUE(r.CreateAndExecute("x$", "x\n", false, false));  // $ only at the very end
  EXPECT_EQ(r.GetMatchCount(), 0);
  ASSERT_TRUE(r.CreateAndExecute(G("中."), G("中文")));  // one character is one unit
  EXPECT_EQ(r.GetMatchText(1), G("中文"));
}

}  // namespace
}  // namespace suozhi
