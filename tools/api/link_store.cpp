#include "link_store.h"

#include <sqlite3.h>

#include <random>

namespace suozhi::api {
namespace {

// Finalises a prepared statement on every path.
class Statement {
 public:
  Statement(sqlite3* db, const char* sql) { sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr); }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  sqlite3_stmt* get() const { return stmt_; }
  explicit operator bool() const { return stmt_ != nullptr; }

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

std::string Column(sqlite3_stmt* stmt, int i) {
  const auto* p = static_cast<const char*>(sqlite3_column_blob(stmt, i));
  return p ? std::string(p, static_cast<size_t>(sqlite3_column_bytes(stmt, i))) : std::string();
}

}  // namespace

std::string NewCode() {
  static constexpr char kAlphabet[] = "abcdefghijkmnopqrstuvwxyzABCDEFGHJKLMNPQRSTUVWXYZ23456789";
  thread_local std::mt19937_64 rng{std::random_device{}()};
  const size_t length = 6 + rng() % 3;
  std::string code;
  for (size_t i = 0; i < length; ++i) code.push_back(kAlphabet[rng() % (sizeof kAlphabet - 1)]);
  return code;
}

std::unique_ptr<LinkStore> LinkStore::Open(const std::string& path, std::string& error) {
  sqlite3* db = nullptr;
  const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX;
  if (sqlite3_open_v2(path.c_str(), &db, flags, nullptr) != SQLITE_OK) {
    error = db ? sqlite3_errmsg(db) : "cannot open the database";
    sqlite3_close(db);
    return nullptr;
  }
  sqlite3_busy_timeout(db, 5000);
  const char* schema =
      "PRAGMA journal_mode=WAL;"
      "CREATE TABLE IF NOT EXISTS links ("
      "  code TEXT PRIMARY KEY,"
      "  long_url BLOB NOT NULL,"
      "  type INTEGER NOT NULL,"
      "  created INTEGER NOT NULL DEFAULT (strftime('%s','now')),"
      "  UNIQUE (long_url, type));";
  char* message = nullptr;
  if (sqlite3_exec(db, schema, nullptr, nullptr, &message) != SQLITE_OK) {
    error = message ? message : "cannot create the table";
    sqlite3_free(message);
    sqlite3_close(db);
    return nullptr;
  }
  return std::unique_ptr<LinkStore>(new LinkStore(db));
}

LinkStore::~LinkStore() {
  sqlite3_close(db_);
}

std::optional<Link> LinkStore::Shorten(const std::string& longUrl, int type) {
  std::lock_guard lock(mutex_);
  {
    Statement find(db_, "SELECT code FROM links WHERE long_url = ?1 AND type = ?2");
    if (!find) return std::nullopt;
    sqlite3_bind_blob(find.get(), 1, longUrl.data(), static_cast<int>(longUrl.size()),
                      SQLITE_TRANSIENT);
    sqlite3_bind_int(find.get(), 2, type);
    if (sqlite3_step(find.get()) == SQLITE_ROW) return Link{Column(find.get(), 0), longUrl, type};
  }
  // A new code; on the rare clash with an existing one, draw again.
  for (int attempt = 0; attempt < 20; ++attempt) {
    const std::string code = NewCode();
    Statement insert(db_, "INSERT INTO links (code, long_url, type) VALUES (?1, ?2, ?3)");
    if (!insert) return std::nullopt;
    sqlite3_bind_text(insert.get(), 1, code.data(), static_cast<int>(code.size()),
                      SQLITE_TRANSIENT);
    sqlite3_bind_blob(insert.get(), 2, longUrl.data(), static_cast<int>(longUrl.size()),
                      SQLITE_TRANSIENT);
    sqlite3_bind_int(insert.get(), 3, type);
    const int rc = sqlite3_step(insert.get());
    if (rc == SQLITE_DONE) return Link{code, longUrl, type};
    if (rc != SQLITE_CONSTRAINT) return std::nullopt;
  }
  return std::nullopt;
}

std::optional<Link> LinkStore::Find(const std::string& code) {
  std::lock_guard lock(mutex_);
  Statement find(db_, "SELECT long_url, type FROM links WHERE code = ?1");
  if (!find) return std::nullopt;
  sqlite3_bind_text(find.get(), 1, code.data(), static_cast<int>(code.size()), SQLITE_TRANSIENT);
  if (sqlite3_step(find.get()) != SQLITE_ROW) return std::nullopt;
  return Link{code, Column(find.get(), 0), sqlite3_column_int(find.get(), 1)};
}

}  // namespace suozhi::api
