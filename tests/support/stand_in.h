// The local stand-in API on a free loopback port, on a database of its own
// that goes away with it. For tests and benchmarks.
#pragma once

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "api_server.h"
#include "support/temp_dir.h"

namespace suozhi::test {

class StandIn {
 public:
  // On a database of its own, or on `db`, which then outlives the stand-in.
  explicit StandIn(const std::string& db = {}) {
    std::string error;
    store_ = api::LinkStore::Open(db.empty() ? (dir_.path() / "links.db").string() : db, error);
    if (!store_) throw std::runtime_error("stand-in database: " + error);
    server_ = std::make_unique<api::ApiServer>(*store_);
    port_ = server_->Bind("127.0.0.1", 0);
    if (port_ < 0) throw std::runtime_error("stand-in: cannot listen on loopback");
    server_->ListenInBackground();
  }
  ~StandIn() {
    server_.reset();
    store_.reset();
  }
  StandIn(const StandIn&) = delete;
  StandIn& operator=(const StandIn&) = delete;

  // "127.0.0.1:PORT", as --api-host takes it.
  std::string host() const { return "127.0.0.1:" + std::to_string(port_); }
  std::string Url(const std::string& path) const { return "http://" + host() + path; }

 private:
  TempDir dir_;
  std::unique_ptr<api::LinkStore> store_;
  std::unique_ptr<api::ApiServer> server_;
  int port_ = 0;
};

}  // namespace suozhi::test
