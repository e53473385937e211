#include "api_server.h"

#include <httplib.h>

#include <chrono>
#include <cstdio>

namespace suozhi::api {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<std::string> Decode(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '+') {
      out.push_back(' ');
    } else if (text[i] == '%') {
      if (i + 2 >= text.size()) return std::nullopt;
      const int hi = HexValue(text[i + 1]), lo = HexValue(text[i + 2]);
      if (hi < 0 || lo < 0) return std::nullopt;
      out.push_back(static_cast<char>(hi * 16 + lo));
      i += 2;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

std::string Answer(int code, const std::string& msg, const std::string& data = "null") {
  return "{\"code\":" + std::to_string(code) + ",\"msg\":" + JsonString(msg) + ",\"data\":" + data +
         "}";
}

void Reply(httplib::Response& res, int code, const std::string& msg,
           const std::string& data = "null") {
  res.status = code;
  res.set_content(Answer(code, msg, data), "application/json; charset=utf-8");
}

std::string LinkData(const Link& link) {
  return "{\"short_url\":" + JsonString("http://" + *DomainOfType(link.type) + "/" + link.code) +
         ",\"long_url\":" + JsonString(link.longUrl) + "}";
}

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
  }
  return true;
}

// For a Location header: bytes outside printable ASCII are percent-encoded.
std::string LocationSafe(const std::string& url) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const char ch : url) {
    const auto c = static_cast<unsigned char>(ch);
    if (c <= 0x20 || c >= 0x7F) {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      out += ch;
    }
  }
  return out;
}

}  // namespace

std::optional<std::string> DomainOfType(int type) {
  static const char* const kDomains[] = {"url.cn", "t.cn",   "dwz.cn",   "suo.im",
                                         "u.nu",   "mrw.so", "w.url.cn", "sohu.gg"};
  if (type < 1 || type > 8) return std::nullopt;
  return kDomains[type - 1];
}

std::optional<std::map<std::string, std::string>> ParseForm(const std::string& body) {
  std::map<std::string, std::string> fields;
  size_t i = 0;
  while (i <= body.size()) {
    const size_t end = std::min(body.find('&', i), body.size());
    const std::string pair = body.substr(i, end - i);
    i = end + 1;
    if (pair.empty()) continue;
    const size_t eq = pair.find('=');
    const auto name = Decode(pair.substr(0, eq));
    const auto value = Decode(eq == std::string::npos ? std::string() : pair.substr(eq + 1));
    if (!name || !value) return std::nullopt;
    fields.emplace(*name, *value);  // the first of repeated fields counts
  }
  return fields;
}

std::string JsonString(const std::string& bytes) {
  std::string out = "\"";
  for (const char ch : bytes) {
    const auto c = static_cast<unsigned char>(ch);
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20 || c == 0x7F) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out += ch;
        }
    }
  }
  return out + "\"";
}

struct ApiServer::Impl {
  LinkStore& store;
  httplib::Server server;

  explicit Impl(LinkStore& s) : store(s) {
    server.set_payload_max_length(kMaxBody);
    server.Post("/api/url",
                [this](const httplib::Request& req, httplib::Response& res) { Shorten(req, res); });
    server.Post("/api/url/query",
                [this](const httplib::Request& req, httplib::Response& res) { Query(req, res); });
    server.Get(R"(/([A-Za-z0-9]{1,32}))",
               [this](const httplib::Request& req, httplib::Response& res) { Open(req, res); });
    server.set_error_handler([](const httplib::Request& req, httplib::Response& res) {
      if (!res.body.empty()) return;
      switch (res.status) {
        case 413:
          Reply(res, 413, "request body larger than 1 MB");
          break;
        case 404:
          Reply(res, 404, "no such endpoint: " + req.method + " " + req.path);
          break;
        case 400:
          Reply(res, 400, "malformed request");
          break;
        default:
          Reply(res, res.status, "request failed");
      }
    });
  }

  std::optional<std::map<std::string, std::string>> Form(const httplib::Request& req,
                                                         httplib::Response& res) {
    auto form = ParseForm(req.body);
    if (!form) Reply(res, 400, "malformed form body: bad percent escape");
    return form;
  }

  void Shorten(const httplib::Request& req, httplib::Response& res) {
    const auto form = Form(req, res);
    if (!form) return;
    const auto url = form->find("url");
    if (url == form->end() || url->second.empty()) return Reply(res, 400, "missing field: url");
    if (!StartsWithNoCase(url->second, "http://") && !StartsWithNoCase(url->second, "https://"))
      return Reply(res, 400, "url must begin with http:// or https://");
    const auto type = form->find("type");
    int typeNumber = 0;
    if (type != form->end() && type->second.size() == 1) typeNumber = type->second[0] - '0';
    if (!DomainOfType(typeNumber)) return Reply(res, 400, "type must be a number from 1 to 8");
    const auto link = store.Shorten(url->second, typeNumber);
    if (!link) return Reply(res, 500, "the link could not be stored");
    Reply(res, 200, "success", LinkData(*link));
  }

  void Query(const httplib::Request& req, httplib::Response& res) {
    const auto form = Form(req, res);
    if (!form) return;
    const auto url = form->find("url");
    if (url == form->end() || url->second.empty()) return Reply(res, 400, "missing field: url");
    std::string code = url->second;
    code = code.substr(code.find_last_of('/') + 1);
    code = code.substr(0, code.find_first_of("?# \t\r\n"));
    const auto link = code.empty() ? std::nullopt : store.Find(code);
    if (!link) return Reply(res, 404, "unknown short link");
    Reply(res, 200, "success", LinkData(*link));
  }

  void Open(const httplib::Request& req, httplib::Response& res) {
    const auto link = store.Find(req.matches[1]);
    if (!link) return Reply(res, 404, "unknown short link");
    res.set_redirect(LocationSafe(link->longUrl), 302);
  }
};

ApiServer::ApiServer(LinkStore& store) : impl_(std::make_unique<Impl>(store)) {}

ApiServer::~ApiServer() {
  Stop();
}

int ApiServer::Bind(const std::string& bind, int port, bool log) {
  if (log) {
    impl_->server.set_logger([](const httplib::Request& req, const httplib::Response& res) {
      std::fprintf(stderr, "%s %s %s -> %d (%zu bytes)\n", req.remote_addr.c_str(),
                   req.method.c_str(), req.path.c_str(), res.status, res.body.size());
    });
  }
  const int bound = port == 0 ? impl_->server.bind_to_any_port(bind)
                              : (impl_->server.bind_to_port(bind, port) ? port : -1);
  if (bound < 0) return -1;
  return bound;
}

bool ApiServer::Listen() {
  return impl_->server.listen_after_bind();
}

void ApiServer::ListenInBackground() {
  thread_ = std::thread([this] { impl_->server.listen_after_bind(); });
  // Stop() only reaches a server that is already running.
  for (int i = 0; i < 500 && !impl_->server.is_running(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

void ApiServer::Stop() {
  impl_->server.stop();
  if (thread_.joinable()) thread_.join();
}

}  // namespace suozhi::api
