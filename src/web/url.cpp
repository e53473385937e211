#include "web/url.h"

namespace suozhi {
namespace {
constexpr std::string_view kHttpPrefix = "http://";
}

Text GetUrlHost(const Text& url, bool keepPort) {
  const int found = rt::FindText(url, kHttpPrefix);
  const int start = found > 0 ? found + static_cast<int>(kHttpPrefix.size()) : 1;
  const int slash = rt::FindText(url, "/", start);
  Text host = rt::Middle(url, start, slash > 0 ? slash - start : static_cast<int>(url.size()));
  if (!keepPort) {
    const int colon = rt::FindText(host, ":");
    if (colon > 0) host = rt::Left(host, colon - 1);
  }
  return rt::LowerCase(host);
}

int GetUrlPort(const Text& url) {
  const Text host = GetUrlHost(url, true);
  const int colon = rt::FindText(host, ":");
  if (colon < 0) return 80;
  return rt::ToInteger(rt::ToNumber(rt::Right(host, static_cast<int>(host.size()) - colon)));
}

Text GetUrlPath(const Text& url) {
  const Text host = GetUrlHost(url);
  const int at = rt::FindText(url, host, 1, true);
  const int slash = rt::FindText(url, "/", at, true);
  if (slash < 0) return "/";
  return rt::Right(url, static_cast<int>(url.size()) - slash + 1);
}

}  // namespace suozhi
