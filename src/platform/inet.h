// A small HTTP client shaped like the system's handle-based one: a session
// (agent and proxy choice), a connection (host and port), a request (verb,
// object path, version), sending a header block and a body, reading the
// body in pieces, and the raw response header block. Cookies live in one
// process-wide store and go back to the host that set them.
//
// Texts are bytes, passed through unchanged. Nothing here throws; a failed
// step gives a null handle, false, 0 or an empty text.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

namespace suozhi::inet {

class Session {
 public:
  // `proxyList` empty: a direct connection. Otherwise a list such as
  // "http=host:port"; only the entry for http is used, and only for http://.
  static std::unique_ptr<Session> Open(const std::string& agent, const std::string& proxyList);
  ~Session();
  struct Impl;
  Impl& impl() { return *impl_; }

 private:
  explicit Session(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

class Connection {
 public:
  static std::unique_ptr<Connection> Connect(Session& session, const std::string& host, int port);
  ~Connection();
  struct Impl;
  Impl& impl() { return *impl_; }

 private:
  explicit Connection(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

class Request {
 public:
  // `verb` empty means GET. `reload`: never answer from a cache.
  static std::unique_ptr<Request> Open(Connection& connection, const std::string& verb,
                                       const std::string& objectPath, const std::string& version,
                                       bool reload);
  ~Request();

  // Sends the request line, Host, User-Agent, then `headers` as given (lines
  // ending in CR LF), the store's cookies for the host, and `body`. False
  // when the request could not be started; a connection that fails later
  // shows as a body that ends at once.
  bool Send(const std::string& headers, const std::string& body);
  // Up to `size` bytes of the body as soon as some arrive; 0 at its end or
  // on any failure.
  std::size_t Read(void* buffer, std::size_t size);
  // The response's header block as received: status line, one header a line
  // with CR LF, an empty line at the end. Empty before a response arrived.
  std::string RawHeaders() const;

  struct Impl;

 private:
  explicit Request(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

// Stores a cookie for the host of `url` ("http://host..."): `data` is the
// value followed by its attributes ("v; path=/; max-age=60"). A max-age of
// zero or less removes the cookie.
bool SetCookie(const std::string& url, const std::optional<std::string>& name,
               const std::string& data);

// The Cookie header value the store holds for a host and path, "" for none.
std::string CookiesFor(const std::string& host, const std::string& path);

// Empties the cookie store.
void ClearCookies();

}  // namespace suozhi::inet
