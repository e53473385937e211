// The HTTP client on libcurl's multi interface: one easy handle per request,
// driven from Read() so that each read returns as soon as bytes arrive.
// Cookies are kept in our own store, host by host, and handed to curl as the
// request's cookie line; curl's own cookie engine stays off, so no cookie
// reaches a host that did not set it.
#include <curl/curl.h>

#include <algorithm>
#include <map>
#include <mutex>
#include <vector>

#include "platform/inet.h"

namespace suozhi::inet {
namespace {

constexpr long kConnectTimeoutSeconds = 15;
constexpr long kStallSeconds = 30;
constexpr int kPollMs = 100;

void GlobalInit() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

std::string Lower(std::string s) {
  for (char& c : s) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  return s;
}

std::string Upper(std::string s) {
  for (char& c : s) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  }
  return s;
}

std::string Trim(const std::string& s) {
  const size_t b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return {};
  const size_t e = s.find_last_not_of(" \t");
  return s.substr(b, e - b + 1);
}

// The process's cookie store: host -> cookies in the order first set.
struct Cookie {
  std::string name, value, path;
};
struct CookieStore {
  std::mutex mutex;
  std::map<std::string, std::vector<Cookie>> byHost;
};
CookieStore& Cookies() {
  static CookieStore store;
  return store;
}

// "http://Host:81/x" -> "host".
std::string HostOf(const std::string& url) {
  std::string rest = url;
  const size_t scheme = rest.find("://");
  if (scheme != std::string::npos) rest = rest.substr(scheme + 3);
  rest = rest.substr(0, rest.find_first_of("/?#"));
  const size_t at = rest.rfind('@');
  if (at != std::string::npos) rest = rest.substr(at + 1);
  return Lower(rest.substr(0, rest.find(':')));
}

// The proxy for http from a list such as "http=host:port" (entries
// separated by spaces or semicolons); an entry without "scheme=" counts for
// every scheme.
std::string HttpProxy(const std::string& list) {
  std::string entry;
  size_t i = 0;
  while (i <= list.size()) {
    const size_t end = std::min(list.find_first_of(" ;", i), list.size());
    const std::string item = list.substr(i, end - i);
    i = end + 1;
    if (item.empty()) continue;
    const size_t eq = item.find('=');
    if (eq == std::string::npos) {
      if (entry.empty()) entry = item;
    } else if (Lower(item.substr(0, eq)) == "http") {
      return item.substr(eq + 1);
    }
  }
  return entry;
}

}  // namespace

struct Session::Impl {
  std::string agent;
  std::string proxy;  // host:port for http, or empty
};

struct Connection::Impl {
  Session::Impl session;
  std::string host;
  int port = 80;
};

struct Request::Impl {
  Connection::Impl connection;
  std::string verb, path;
  long httpVersion = CURL_HTTP_VERSION_1_1;

  CURLM* multi = nullptr;
  CURL* easy = nullptr;
  curl_slist* headerList = nullptr;
  bool attached = false;
  bool done = true;
  std::string received;  // body bytes not yet read
  size_t readPos = 0;
  std::string rawHeaders;

  ~Impl() {
    if (multi && easy && attached) curl_multi_remove_handle(multi, easy);
    if (easy) curl_easy_cleanup(easy);
    if (multi) curl_multi_cleanup(multi);
    curl_slist_free_all(headerList);
  }

  static size_t OnBody(char* data, size_t size, size_t count, void* self) {
    static_cast<Impl*>(self)->received.append(data, size * count);
    return size * count;
  }

  static size_t OnHeader(char* data, size_t size, size_t count, void* self) {
    auto& impl = *static_cast<Impl*>(self);
    const std::string_view line(data, size * count);
    // A new status line starts the block again (after "100 Continue").
    if (line.substr(0, 5) == "HTTP/") impl.rawHeaders.clear();
    impl.rawHeaders.append(line);
    return size * count;
  }

  void Pump() {
    int running = 0;
    curl_multi_perform(multi, &running);
    int left = 0;
    while (CURLMsg* msg = curl_multi_info_read(multi, &left)) {
      if (msg->msg == CURLMSG_DONE) done = true;
    }
    if (running == 0) done = true;
  }
};

Session::Session(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Session::~Session() = default;

std::unique_ptr<Session> Session::Open(const std::string& agent, const std::string& proxyList) {
  GlobalInit();
  auto impl = std::make_unique<Impl>();
  impl->agent = agent;
  impl->proxy = HttpProxy(proxyList);
  return std::unique_ptr<Session>(new Session(std::move(impl)));
}

Connection::Connection(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Connection::~Connection() = default;

std::unique_ptr<Connection> Connection::Connect(Session& session, const std::string& host,
                                                int port) {
  if (host.empty() || port < 0 || port > 65535) return nullptr;
  auto impl = std::make_unique<Impl>();
  impl->session = session.impl();
  impl->host = host;
  impl->port = port;
  return std::unique_ptr<Connection>(new Connection(std::move(impl)));
}

Request::Request(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Request::~Request() = default;

std::unique_ptr<Request> Request::Open(Connection& connection, const std::string& verb,
                                       const std::string& objectPath, const std::string& version,
                                       bool /*reload: nothing here caches*/) {
  auto impl = std::make_unique<Impl>();
  impl->connection = connection.impl();
  impl->verb = verb.empty() ? "GET" : Upper(verb);
  impl->path = objectPath.empty() ? "/" : objectPath;
  if (version == "HTTP/1.0") impl->httpVersion = CURL_HTTP_VERSION_1_0;
  impl->multi = curl_multi_init();
  impl->easy = curl_easy_init();
  if (!impl->multi || !impl->easy) return nullptr;
  return std::unique_ptr<Request>(new Request(std::move(impl)));
}

bool Request::Send(const std::string& headers, const std::string& body) {
  Impl& r = *impl_;
  if (r.attached) return false;
  const auto& c = r.connection;
  const std::string hostPort =
      c.host + (c.port == 80 ? std::string() : ":" + std::to_string(c.port));
  const std::string url = "http://" + c.host + ":" + std::to_string(c.port) + "/";
  const bool proxied = !c.session.proxy.empty();
  const std::string target = proxied ? "http://" + hostPort + r.path : r.path;

  CURL* e = r.easy;
  curl_easy_setopt(e, CURLOPT_URL, url.c_str());
  curl_easy_setopt(e, CURLOPT_REQUEST_TARGET, target.c_str());
  curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http");
  curl_easy_setopt(e, CURLOPT_HTTP_VERSION, r.httpVersion);
  curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 0L);
  curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
  curl_easy_setopt(e, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(e, CURLOPT_LOW_SPEED_TIME, kStallSeconds);
  // The proxy is ours to choose: never one from the environment.
  curl_easy_setopt(e, CURLOPT_PROXY, proxied ? ("http://" + c.session.proxy).c_str() : "");
  curl_easy_setopt(e, CURLOPT_USERAGENT, c.session.agent.c_str());
  curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &Impl::OnBody);
  curl_easy_setopt(e, CURLOPT_WRITEDATA, &r);
  curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, &Impl::OnHeader);
  curl_easy_setopt(e, CURLOPT_HEADERDATA, &r);
  if (r.verb == "GET") {
    curl_easy_setopt(e, CURLOPT_HTTPGET, 1L);
  } else if (r.verb == "POST") {
    curl_easy_setopt(e, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    curl_easy_setopt(e, CURLOPT_COPYPOSTFIELDS, body.c_str());
  } else {
    curl_easy_setopt(e, CURLOPT_CUSTOMREQUEST, r.verb.c_str());
    if (r.verb == "HEAD") curl_easy_setopt(e, CURLOPT_NOBODY, 1L);
  }
  const std::string cookies = CookiesFor(c.host, r.path);
  if (!cookies.empty()) curl_easy_setopt(e, CURLOPT_COOKIE, cookies.c_str());

  // The caller's lines go out exactly as given; the headers curl would add
  // of its own are switched off unless the caller has them.
  std::vector<std::string> names;
  size_t i = 0;
  while (i < headers.size()) {
    size_t end = headers.find("\r\n", i);
    if (end == std::string::npos) end = headers.size();
    const std::string line = headers.substr(i, end - i);
    i = end + 2;
    if (Trim(line).empty()) continue;
    r.headerList = curl_slist_append(r.headerList, line.c_str());
    names.push_back(Lower(Trim(line.substr(0, line.find(':')))));
  }
  for (const char* own : {"Accept", "Expect", "Content-Type", "Content-Length", "Proxy-Connection",
                          "Transfer-Encoding"}) {
    if (std::find(names.begin(), names.end(), Lower(own)) == names.end()) {
      r.headerList = curl_slist_append(r.headerList, (std::string(own) + ":").c_str());
    }
  }
  curl_easy_setopt(e, CURLOPT_HTTPHEADER, r.headerList);

  if (curl_multi_add_handle(r.multi, e) != CURLM_OK) return false;
  r.attached = true;
  r.done = false;
  return true;
}

std::size_t Request::Read(void* buffer, std::size_t size) {
  Impl& r = *impl_;
  if (size == 0) return 0;
  while (r.readPos == r.received.size() && !r.done) {
    r.received.clear();
    r.readPos = 0;
    r.Pump();
    if (r.received.empty() && !r.done) curl_multi_poll(r.multi, nullptr, 0, kPollMs, nullptr);
  }
  const size_t n = std::min(size, r.received.size() - r.readPos);
  std::copy_n(r.received.data() + r.readPos, n, static_cast<char*>(buffer));
  r.readPos += n;
  return n;
}

std::string Request::RawHeaders() const {
  return impl_->rawHeaders;
}

bool SetCookie(const std::string& url, const std::optional<std::string>& name,
               const std::string& data) {
  const std::string host = HostOf(url);
  if (host.empty() || !name || Trim(*name).empty()) return false;
  Cookie cookie{Trim(*name), "", "/"};
  bool expired = false;
  size_t i = data.find(';');
  cookie.value = Trim(data.substr(0, i));
  while (i != std::string::npos) {
    const size_t next = data.find(';', i + 1);
    const std::string attr =
        Trim(data.substr(i + 1, next == std::string::npos ? next : next - i - 1));
    i = next;
    const size_t eq = attr.find('=');
    const std::string key = Lower(Trim(attr.substr(0, eq)));
    const std::string value = eq == std::string::npos ? "" : Trim(attr.substr(eq + 1));
    if (key == "path" && !value.empty() && value[0] == '/') cookie.path = value;
    if (key == "max-age" && !value.empty()) {
      const bool digits = value.find_first_not_of("0123456789") == std::string::npos;
      if (value[0] == '-' || (digits && value.find_first_not_of('0') == std::string::npos)) {
        expired = true;
      }
    }
  }
  auto& store = Cookies();
  std::lock_guard lock(store.mutex);
  auto& list = store.byHost[host];
  const auto same = std::find_if(list.begin(), list.end(), [&](const Cookie& c) {
    return c.name == cookie.name && c.path == cookie.path;
  });
  if (expired) {
    if (same != list.end()) list.erase(same);
  } else if (same != list.end()) {
    *same = cookie;
  } else {
    list.push_back(cookie);
  }
  return true;
}

std::string CookiesFor(const std::string& host, const std::string& path) {
  auto& store = Cookies();
  std::lock_guard lock(store.mutex);
  const auto it = store.byHost.find(Lower(host));
  if (it == store.byHost.end()) return {};
  std::string line;
  for (const Cookie& c : it->second) {
    const bool pathMatches = path.compare(0, c.path.size(), c.path) == 0 &&
                             (path.size() == c.path.size() || c.path.back() == '/' ||
                              path[c.path.size()] == '/' || path[c.path.size()] == '?');
    if (!pathMatches) continue;
    if (!line.empty()) line += "; ";
    line += c.name + "=" + c.value;
  }
  return line;
}

void ClearCookies() {
  auto& store = Cookies();
  std::lock_guard lock(store.mutex);
  store.byHost.clear();
}

}  // namespace suozhi::inet
