#include "api_server.h"

#include <set>
#include <thread>

#include <gtest/gtest.h>

#include "json/json_object.h"
#include "pattern/url_encode.h"
#include "support/gbk.h"
#include "support/stand_in.h"
#include "support/temp_dir.h"
#include "web/web_request.h"

namespace suozhi {
namespace {

// Posts a form body to the stand-in.
Text Post(const test::StandIn& api, const std::string& path, const Text& body) {
  return WebRequestText(api.Url(path), "POST", "", nullptr, body);
}

Text Member(const Text& answer, const char* path) {
  Text json = answer;
  return ReadJsonText(json, path);
}

Text Shorten(const test::StandIn& api, const Text& url, int type) {
  return Member(Post(api, "/api/url", "url=" + UrlEncode(url) + "&type=" + std::to_string(type)),
                "data['short_url']");
}

Text Restore(const test::StandIn& api, const Text& shortUrl) {
  return Member(Post(api, "/api/url/query", "url=" + UrlEncode(shortUrl)), "data['long_url']");
}

class ApiServerTest : public ::testing::Test {
 protected:
  test::TempDir dir_;
  std::string db_ = (dir_.path() / "links.db").string();
};

TEST_F(ApiServerTest, ShortenAndRestoreRoundTrip) {
  test::StandIn api(db_);
  const Text address = test::G("http://example.com/路径?q=短 网址&x=1");
  const Text first = Shorten(api, address, 3);
  ASSERT_EQ(first.substr(0, 14), "http://dwz.cn/");
  const size_t codeLength = first.size() - 14;
  EXPECT_GE(codeLength, 6u);
  EXPECT_LE(codeLength, 8u);
  EXPECT_EQ(Shorten(api, address, 3), first);  // same address and type, same code
  const Text other = Shorten(api, address, 8);
  EXPECT_EQ(other.substr(0, 15), "http://sohu.gg/");
  EXPECT_EQ(Restore(api, first), address);  // bytes kept as sent
  EXPECT_EQ(Restore(api, "http://any.domain/" + first.substr(14)), address);
  const Text answer = Post(api, "/api/url/query", "url=http://t.cn/nope99");
  EXPECT_EQ(Member(answer, "code"), "404");
  EXPECT_EQ(Member(answer, "data"), "null");

  Text headers;
  WebRequestText(api.Url("/" + first.substr(14)), "", "", nullptr, "", &headers);
  EXPECT_EQ(headers.substr(0, 12), "HTTP/1.1 302");
  EXPECT_NE(headers.find("Location: http://example.com/%C2%B7%BE%B6?q=%B6%CC%20%CD%F8%D6%B7&x=1"),
            std::string::npos);
}

TEST_F(ApiServerTest, LinksSurviveARestart) {
  Text link;
  {
    test::StandIn api(db_);
    link = Shorten(api, "https://kept.example/", 1);
  }
  test::StandIn again(db_);
  EXPECT_EQ(Restore(again, link), "https://kept.example/");
  EXPECT_EQ(Shorten(again, "https://kept.example/", 1), link);
}

TEST_F(ApiServerTest, BadInputGetsAClearAnswerAndLosesNothing) {
  test::StandIn api(db_);
  const Text kept = Shorten(api, "http://kept/", 2);
  const std::pair<std::string, Text> bad[] = {
      {"/api/url", "x=1"},
      {"/api/url", "type=1"},
      {"/api/url", "url=&type=1"},
      {"/api/url", "url=ftp%3A%2F%2Fx&type=1"},
      {"/api/url", "url=http%3A%2F%2Fx&type=0"},
      {"/api/url", "url=http%3A%2F%2Fx&type=9"},
      {"/api/url", "url=http%3A%2F%2Fx&type=1x"},
      {"/api/url", "url=http%3A%2F%2Fx"},
      {"/api/url", "url=%ZZhttp&type=1"},
      {"/api/url", "url=http%3&type=1"},
      {"/api/url/query", "other=1"},
      {"/api/url/query", "url=%"},
      {"/api/nothing", "url=x"},
      {"/api/url", "url=http%3A%2F%2F" + std::string(api::kMaxBody, 'a') + "&type=1"},
  };
  for (const auto& [path, body] : bad) {
    const Text answer = Post(api, path, body);
    SCOPED_TRACE(path + " " + body.substr(0, 40));
    const Text code = Member(answer, "code");
    EXPECT_FALSE(code.empty());
    EXPECT_NE(code, "200");
    EXPECT_FALSE(Member(answer, "msg").empty());
  }
  EXPECT_EQ(Restore(api, kept), "http://kept/");
}

TEST_F(ApiServerTest, ManyClientsAtOnceLoseNothing) {
  test::StandIn api(db_);
  constexpr int kClients = 8, kEach = 200;
  std::vector<std::vector<std::pair<Text, Text>>> results(kClients);
  std::vector<std::thread> clients;
  for (int c = 0; c < kClients; ++c) {
    clients.emplace_back([&, c] {
      for (int i = 0; i < kEach; ++i) {
        // Half the addresses are shared between clients.
        const Text url = "http://load.example/" + std::to_string(i % 2 ? i : c * 1000 + i);
        results[c].emplace_back(url, Shorten(api, url, 1 + i % 8));
      }
    });
  }
  for (auto& t : clients) t.join();
  std::set<Text> links;
  for (const auto& client : results) {
    for (const auto& [url, link] : client) {
      ASSERT_FALSE(link.empty()) << url;
      EXPECT_EQ(Restore(api, link), url);
      links.insert(link);
    }
  }
  EXPECT_EQ(links.size(), static_cast<size_t>(kClients * kEach / 2 + kEach / 2));
}

TEST(ApiForm, ParsingAndJsonStrings) {
  using Fields = std::map<std::string, std::string>;
  EXPECT_EQ(*api::ParseForm("url=a%2Bb+c&type=3&url=second"),
            (Fields{{"url", "a+b c"}, {"type", "3"}}));
  EXPECT_EQ(*api::ParseForm("&&flag&x="), (Fields{{"flag", ""}, {"x", ""}}));
  EXPECT_EQ(*api::ParseForm("u=%D6%D0"), (Fields{{"u", "\xD6\xD0"}}));
  EXPECT_FALSE(api::ParseForm("u=%4"));
  EXPECT_FALSE(api::ParseForm("u=%x1"));
  EXPECT_EQ(api::JsonString("a\"b\\c\n\x01\xD6\xD0"), "\"a\\\"b\\\\c\\n\\u0001\xD6\xD0\"");
  EXPECT_EQ(*api::DomainOfType(1), "url.cn");
  EXPECT_EQ(*api::DomainOfType(8), "sohu.gg");
  EXPECT_FALSE(api::DomainOfType(0));
  std::set<std::string> codes;
  for (int i = 0; i < 1000; ++i) codes.insert(api::NewCode());
  EXPECT_EQ(codes.size(), 1000u);
}

}  // namespace
}  // namespace suozhi
