#include "web/web_request.h"

#include <gtest/gtest.h>

#include "platform/inet.h"
#include "runtime/system.h"
#include "support/loopback_server.h"

namespace suozhi {
namespace {

using test::HttpReply;
using test::LoopbackServer;

const std::string kAccept =
    "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, "
    "application/x-shockwave-flash, application/vnd.ms-excel, application/vnd.ms-powerpoint, "
    "application/msword, */*\r\n";

class WebRequestTest : public ::testing::Test {
 protected:
  void SetUp() override { inet::ClearCookies(); }
  void TearDown() override { inet::ClearCookies(); }
  std::string HostLine() const { return "Host: 127.0.0.1:" + std::to_string(server_.port()); }
  LoopbackServer server_;
};

TEST_F(WebRequestTest, ShortenRequestGoesOutByteForByte) {
  const Text url = server_.Url("/api/url");
  Text headers;
  EXPECT_EQ(WebRequestText(url, "POST", "", &headers, "url=http%3A%2F%2Fx%2Fy&type=3"), "ok");
  const std::string defaults = kAccept + "Referer: " + url + "\r\nAccept-Language: zh-cn\r\n";
  EXPECT_EQ(headers, defaults +
                         "Content-Type: application/x-www-form-urlencoded\r\n"
                         "Content-Length: 29\r\n");
  ASSERT_EQ(server_.Requests().size(), 1u);
  EXPECT_EQ(server_.Requests()[0], "POST /api/url HTTP/1.1\r\n" + HostLine() +
                                       "\r\n"
                                       "User-Agent: ALAPI-ShortUrl-APP\r\n" +
                                       headers + "\r\nurl=http%3A%2F%2Fx%2Fy&type=3");
}

TEST_F(WebRequestTest, MethodsAndHeaderRules) {
  const Text url = server_.Url("/p?q=1");
  const std::string defaults = kAccept + "Referer: " + url + "\r\nAccept-Language: zh-cn\r\n";
  struct Case {
    Text method, headers, body;
    std::string expectedRequest;
  };
  const std::string start = HostLine() + "\r\nUser-Agent: ALAPI-ShortUrl-APP\r\n";
  const Case cases[] = {
      {"", "", "ignored", "GET /p?q=1 HTTP/1.1\r\n" + start + defaults + "\r\n"},
      {"get", "", "", "GET /p?q=1 HTTP/1.1\r\n" + start + defaults + "\r\n"},
      {"Get", "", "", "GET /p?q=1 HTTP/1.1\r\n" + start + defaults + "\r\n"},
      {"post", "", "", "POST /p?q=1 HTTP/1.1\r\n" + start + defaults + "\r\n"},
      {"POST", "content-type: text/plain\r\n", "a=1",
       "POST /p?q=1 HTTP/1.1\r\n" + start + "content-type: text/plain\r\n" + defaults +
           "Content-Length: 3\r\n\r\na=1"},
      {"POST", "Accept: x/y\r\nX-Own: 1\r\n", "",
       "POST /p?q=1 HTTP/1.1\r\n" + start + "Accept: x/y\r\nX-Own: 1\r\nReferer: " + url +
           "\r\nAccept-Language: zh-cn\r\n\r\n"},
  };
  for (const auto& c : cases) {
    Text headers = c.headers;
    EXPECT_EQ(WebRequestText(url, c.method, "", &headers, c.body), "ok");
    EXPECT_EQ(server_.Requests().back(), c.expectedRequest) << c.method;
  }
  const int before = server_.Connections();
  for (const char* method : {"HEAD", "PUT", "DELETE", "OPTIONS"}) {
    Text headers;
    EXPECT_EQ(WebRequest(url, method, "", &headers), ByteSet(255, 0)) << method;
    EXPECT_FALSE(headers.empty());  // the defaults were appended all the same
  }
  EXPECT_EQ(server_.Connections(), before);
}

TEST_F(WebRequestTest, BodiesAndResponseHeaders) {
  server_.Enqueue(HttpReply(std::string("ab\0cd", 5), "X-Test: 1\r\n"));
  Text response;
  EXPECT_EQ(WebRequest(server_.Url(), "", "", nullptr, "", &response),
            (ByteSet{'a', 'b', 0, 'c', 'd'}));
  EXPECT_EQ(response,
            "HTTP/1.1 200 OK\r\nContent-Length: 5\r\nConnection: close\r\nX-Test: 1\r\n\r\n");
  server_.Enqueue(HttpReply(std::string("ab\0cd", 5)));
  EXPECT_EQ(WebRequestText(server_.Url()), "ab");
  server_.Enqueue(HttpReply(""));
  EXPECT_EQ(WebRequest(server_.Url()), ByteSet{});
  server_.Enqueue(HttpReply("<h1>gone</h1>", "", "404 Not Found"));  // status is not looked at
  EXPECT_EQ(WebRequestText(server_.Url()), "<h1>gone</h1>");
  server_.Enqueue(test::ChunkedReply({"hel", "lo ", "world"}, 30));
  EXPECT_EQ(WebRequestText(server_.Url()), "hello world");
}

TEST_F(WebRequestTest, TheWindowBreathesWhileTheBodyArrives) {
  int calls = 0;
  rt::ProcessEventsHook hook([&] { ++calls; });
  server_.Enqueue(test::ChunkedReply({std::string(5000, 'x'), std::string(5000, 'y')}, 50));
  EXPECT_EQ(WebRequestText(server_.Url()).size(), 10000u);
  EXPECT_GE(calls, 6);  // once per 2048-byte read, and once more at the end
}

TEST_F(WebRequestTest, FailuresComeBackEmpty) {
  EXPECT_EQ(WebRequestText("http://127.0.0.1:" + std::to_string(test::ClosedPort()) + "/"), "");
  EXPECT_EQ(WebRequest("http://:80/"), ByteSet(255, 0));  // no host to connect to
  // The server stops in the middle of the body: what arrived is the body.
  server_.Enqueue({{{"HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\npartial", 0}}});
  EXPECT_EQ(WebRequestText(server_.Url()), "partial");
}

TEST_F(WebRequestTest, CookiesGoBackToTheirHostOnly) {
  std::string big;
  for (int i = 0; i < 50; ++i)
    big += "X-Filler-" + std::to_string(i) + ": " + std::string(90, 'f') + "\r\n";
  server_.Enqueue(HttpReply(
      "one", "Set-Cookie: a=1; path=/\r\n" + big + "Set-Cookie: b=two=2; Max-Age=60\r\n"));
  Text response;
  EXPECT_EQ(WebRequestText(server_.Url("/first"), "", "", nullptr, "", &response), "one");
  EXPECT_GT(response.size(), 5000u);  // the whole block, however long
  EXPECT_NE(response.find("b=two=2"), std::string::npos);

  EXPECT_EQ(WebRequestText(server_.Url("/second")), "ok");
  EXPECT_NE(server_.Requests().back().find("\r\nCookie: a=1; b=two=2\r\n"), std::string::npos);

  // The same server under another host name gets no cookie.
  EXPECT_EQ(WebRequestText("http://localhost:" + std::to_string(server_.port()) + "/"), "ok");
  EXPECT_EQ(server_.Requests().back().find("Cookie:"), std::string::npos);

  // A later answer can remove one.
  server_.Enqueue(HttpReply("", "Set-Cookie: a=; Max-Age=0\r\n"));
  WebRequestText(server_.Url());
  WebRequestText(server_.Url());
  EXPECT_NE(server_.Requests().back().find("\r\nCookie: b=two=2\r\n"), std::string::npos);
}

TEST_F(WebRequestTest, ThroughAProxyTheRequestLineHoldsTheWholeAddress) {
  const std::string proxy = "127.0.0.1:" + std::to_string(server_.port());
  EXPECT_EQ(WebRequestText("http://example.invalid:8080/api/url?x=1", "GET", proxy), "ok");
  const std::string request = server_.Requests().back();
  EXPECT_EQ(request.substr(0, request.find("\r\n")),
            "GET http://example.invalid:8080/api/url?x=1 HTTP/1.1");
  EXPECT_NE(request.find("\r\nHost: example.invalid:8080\r\n"), std::string::npos);
  EXPECT_EQ(request.find("Proxy-Connection"), std::string::npos);
  // A proxy of spaces only is a direct connection.
  EXPECT_EQ(WebRequestText(server_.Url("/direct"), "GET", "   "), "ok");
  EXPECT_EQ(server_.Requests().back().substr(0, 12), "GET /direct ");
}

}  // namespace
}  // namespace suozhi
