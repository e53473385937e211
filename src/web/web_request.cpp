#include "web/web_request.h"

#include <array>
#include <optional>

#include "platform/inet.h"
#include "runtime/files.h"
#include "runtime/system.h"
#include "web/url.h"

namespace suozhi {
namespace {

constexpr const char* kUserAgent = "ALAPI-ShortUrl-APP";
constexpr size_t kReadChunk = 2048;
constexpr std::string_view kCookieLabel = "Set-Cookie: ";
constexpr const char* kDefaultAccept =
    "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, "
    "application/x-shockwave-flash, application/vnd.ms-excel, application/vnd.ms-powerpoint, "
    "application/msword, */*\r\n";

constexpr size_t kMaxReserve = 256u << 20;

ByteSet Failure() {
  return rt::BlankBytes(255);
}

// The body length the response announces, to size the buffer once; a
// missing, malformed or outsize figure reserves nothing.
size_t AnnouncedLength(const Text& headerBlock) {
  const int at = rt::FindText(headerBlock, "\r\nContent-Length:", 1, true);
  if (at < 1) return 0;
  const Text rest = rt::Middle(headerBlock, at + 17, 32);
  const double n = rt::ToNumber(rt::RemoveAllSpaces(rest));
  return n > 0 && n <= static_cast<double>(kMaxReserve) ? static_cast<size_t>(n) : 0;
}

bool Has(const Text& text, std::string_view sought) {
  return rt::FindText(text, sought, 1, true) > 0;
}

// Each "Set-Cookie: " line goes to the store under the requested host, its
// value running to the end of the line (attributes included).
void StoreCookies(const Text& headerBlock, const Text& host) {
  if (rt::FindText(headerBlock, kCookieLabel, 1, true) < 1) return;
  rt::MemoryFile block;
  block.Write(headerBlock.data(), headerBlock.size());
  block.SeekToStart();
  while (!block.AtEnd()) {
    const Text line = block.ReadLine().value_or(Text());
    if (rt::FindText(line, kCookieLabel, 1, true) > 0) {
      const Text rest = rt::Right(line, static_cast<int>(line.size() - kCookieLabel.size()));
      const int eq = rt::FindText(rest, "=");
      std::optional<std::string> name;
      if (eq > 1) name = rt::Left(rest, eq - 1);
      const Text data = eq > 0 ? rt::Right(rest, static_cast<int>(rest.size()) - eq) : rest;
      inet::SetCookie("http://" + host, name, data);
    }
    rt::ProcessEvents();
  }
}

}  // namespace

ByteSet WebRequest(const Text& address, const Text& method, const Text& proxy, Text* requestHeaders,
                   const Text& body, Text* responseHeaders) {
  Text headersTemp, responseTemp;
  Text& headers = requestHeaders ? *requestHeaders : headersTemp;
  Text& response = responseHeaders ? *responseHeaders : responseTemp;

  const Text path = GetUrlPath(address);
  const Text host = GetUrlHost(address);
  const bool direct = rt::RemoveAllSpaces(proxy).empty();
  const auto session = inet::Session::Open(kUserAgent, direct ? Text() : "http=" + proxy);
  if (!session) return Failure();
  const auto connection = inet::Connection::Connect(*session, host, GetUrlPort(address));
  if (!connection) return Failure();
  const auto request = inet::Request::Open(*connection, method, path, "HTTP/1.1", true);
  if (!request) return Failure();

  if (!Has(headers, "Accept: ")) headers += kDefaultAccept;
  if (!Has(headers, "Referer: ")) headers += "Referer: " + address + "\r\n";
  if (!Has(headers, "Accept-Language: ")) headers += "Accept-Language: zh-cn\r\n";

  const Text verb = rt::UpperCase(method);
  if (method.empty() || verb == "GET") {
    request->Send(headers, {});
  } else if (verb == "POST") {
    if (!body.empty()) {
      if (!Has(headers, "Content-Type: ")) {
        headers += "Content-Type: application/x-www-form-urlencoded\r\n";
      }
      headers += "Content-Length: " + std::to_string(body.size()) + "\r\n";
    }
    request->Send(headers, body);
  } else {
    return Failure();  // nothing is sent for any other method
  }

  rt::MemoryFile received;
  std::array<char, kReadChunk> buffer{};
  for (;;) {
    rt::ProcessEvents();
    const size_t count = request->Read(buffer.data(), buffer.size());
    if (count == 0) break;
    if (received.Length() == 0) received.Reserve(AnnouncedLength(request->RawHeaders()));
    received.Write(buffer.data(), count);
  }
  received.SeekToStart();
  ByteSet result = received.TakeRest();

  // The whole header block, however long: a short buffer would drop the
  // block and the cookies in it.
  response = request->RawHeaders();
  StoreCookies(response, host);
  return result;
}

Text WebRequestText(const Text& address, const Text& method, const Text& proxy,
                    Text* requestHeaders, const Text& body, Text* responseHeaders) {
  return rt::ToText(WebRequest(address, method, proxy, requestHeaders, body, responseHeaders));
}

}  // namespace suozhi
