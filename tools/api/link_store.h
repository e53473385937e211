// Short links kept in SQLite: one code per (address, type), codes random.
#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <string>

struct sqlite3;

namespace suozhi::api {

struct Link {
  std::string code;
  std::string longUrl;  // bytes as the client sent them
  int type = 1;
};

class LinkStore {
 public:
  // Opens (creating when missing) the database at `path`; nothing on failure,
  // with the reason in `error`.
  static std::unique_ptr<LinkStore> Open(const std::string& path, std::string& error);
  ~LinkStore();
  LinkStore(const LinkStore&) = delete;
  LinkStore& operator=(const LinkStore&) = delete;

  // The code for the address and type, made and stored on first use.
  std::optional<Link> Shorten(const std::string& longUrl, int type);
  std::optional<Link> Find(const std::string& code);

 private:
  explicit LinkStore(sqlite3* db) : db_(db) {}
  std::mutex mutex_;  // one connection, used by one request at a time
  sqlite3* db_;
};

// A fresh random code of 6 to 8 letters and digits.
std::string NewCode();

}  // namespace suozhi::api
