// A loopback HTTP peer for tests: records the exact bytes of each request
// and answers with canned bytes, written in pieces with optional pauses, and
// may close the connection early. It listens on 127.0.0.1 only and stops
// (thread and sockets) when it goes away.
#pragma once

#include <atomic>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace suozhi::test {

struct Reply {
  struct Piece {
    std::string bytes;
    int pauseMsBefore = 0;
  };
  std::vector<Piece> pieces;
};

// A complete answer with a Content-Length and "Connection: close".
Reply HttpReply(const std::string& body, const std::string& extraHeaders = "",
                const std::string& status = "200 OK");
// The same body sent chunked, one chunk per piece.
Reply ChunkedReply(const std::vector<std::string>& chunks, int pauseMs = 0);

class LoopbackServer {
 public:
  LoopbackServer();
  ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  int port() const { return port_; }
  std::string Url(const std::string& path = "/") const;

  // Answers are used in order; when none is queued the default answer is "ok".
  void Enqueue(Reply reply);
  std::vector<std::string> Requests() const;
  int Connections() const { return connections_; }

 private:
  void Serve();
  void Handle(int fd);

  int port_ = 0;  // before listener_: opening the listener sets it
  int listener_ = -1;
  std::atomic<bool> stop_{false};
  std::atomic<int> connections_{0};
  mutable std::mutex mutex_;
  std::deque<Reply> replies_;
  std::vector<std::string> requests_;
  std::thread thread_;
};

// A port on 127.0.0.1 where nothing listens.
int ClosedPort();

}  // namespace suozhi::test
