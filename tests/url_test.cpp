#include "web/url.h"

#include <gtest/gtest.h>

namespace suozhi {
namespace {

struct UrlCase {
  Text url, host, hostWithPort;
  int port;
  Text path;
};

TEST(UrlSplitting, Table) {
  const UrlCase cases[] = {
      {"http://MyHost/A/b?x=1", "myhost", "myhost", 80, "/A/b?x=1"},
      {"http://host:8080/p", "host", "host:8080", 8080, "/p"},
      {"http://host", "host", "host", 80, "/"},
      {"http://host?q=1", "host?q=1", "host?q=1", 80, "/"},
      {"host/p", "host", "host", 80, "/p"},
      {"host:81", "host", "host:81", 81, "/"},
      {"http://host:/p", "host", "host:", 0, "/p"},
      {"HTTP://host/p", "http", "http:", 0, "//host/p"},
      {"https://host/p", "https", "https:", 0, "//host/p"},
      {"a/go?u=http://b/x", "b", "b", 80, "/x"},
      {"", "", "", 80, "/"},
      {"http://", "", "", 80, "//"},
      // The host text also stands earlier in the address: the path starts
      // at the first slash after that earlier place.
      {"http://http/x", "http", "http", 80, "//http/x"},
      {"http://user:pw@h/p", "user", "user:pw@h", 0, "/p"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.url);
    EXPECT_EQ(GetUrlHost(c.url), c.host);
    EXPECT_EQ(GetUrlHost(c.url, true), c.hostWithPort);
    EXPECT_EQ(GetUrlPort(c.url), c.port);
    EXPECT_EQ(GetUrlPath(c.url), c.path);
  }
}

}  // namespace
}  // namespace suozhi
