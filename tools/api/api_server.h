// The local stand-in of the short-link web API:
//   POST /api/url        url=<address>&type=<1..8>  -> a short link
//   POST /api/url/query  url=<short link>            -> its address
//   GET  /<code>                                     -> 302 to the address
// Every answer is JSON with "code" and "msg"; bad input gets a non-200 code.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "link_store.h"

namespace suozhi::api {

// The domain of short-link type 1..8, or nothing outside that range.
std::optional<std::string> DomainOfType(int type);

// Splits an application/x-www-form-urlencoded body; nothing when it is
// malformed (a bad percent escape). Bytes are kept as sent.
std::optional<std::map<std::string, std::string>> ParseForm(const std::string& body);

// A JSON string literal for bytes; bytes of 0x80 and above pass unchanged.
std::string JsonString(const std::string& bytes);

constexpr size_t kMaxBody = 1u << 20;

class ApiServer {
 public:
  explicit ApiServer(LinkStore& store);
  ~ApiServer();
  ApiServer(const ApiServer&) = delete;
  ApiServer& operator=(const ApiServer&) = delete;

  // Binds (port 0: any free port); the port bound, or -1. With `log`, one
  // line per request goes to stderr.
  int Bind(const std::string& bind, int port, bool log = false);
  // Serves on the calling thread until Stop().
  bool Listen();
  // Serves on a thread of its own, which Stop() (or destruction) ends.
  void ListenInBackground();
  void Stop();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  std::thread thread_;
};

}  // namespace suozhi::api
