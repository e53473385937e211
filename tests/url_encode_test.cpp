#include "pattern/url_encode.h"

#include <gtest/gtest.h>

#include "support/gbk.h"

namespace suozhi {
namespace {

TEST(UrlEncode, Table) {
  const std::pair<Text, Text> cases[] = {
      {"", ""},
      {"Ab9", "Ab9"},
      {":/?=&.-_~ %+#", "%3A%2F%3F%3D%26%2E%2D%5F%7E%20%25%2B%23"},
      {"\t\n\r", "%09%0A%0D"},
      {"\x2F", "%2F"},
      {"\xE4", "%E4"},
      {test::G("中"), "%D6%D0"},
      {"http://x/a.b?c=1&d=2", "http%3A%2F%2Fx%2Fa%2Eb%3Fc%3D1%26d%3D2"},
      {"http://x/y", "http%3A%2F%2Fx%2Fy"},
      {"a\r\n", "a%0D%0A"},
      {Text("\0\x7F\xFF", 3), "%00%7F%FF"},
  };
  for (const auto& [in, expected] : cases) EXPECT_EQ(UrlEncode(in), expected) << in;
}

}  // namespace
}  // namespace suozhi
