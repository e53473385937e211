#include "support/loopback_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

namespace suozhi::test {
namespace {

int Listen(int& port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) throw std::runtime_error("socket");
  const int one = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(fd, 64) != 0) {
    ::close(fd);
    throw std::runtime_error("bind/listen");
  }
  socklen_t len = sizeof addr;
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
  port = ntohs(addr.sin_port);
  return fd;
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

void SendAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
    if (n <= 0) return;
    done += static_cast<size_t>(n);
  }
}

}  // namespace

Reply HttpReply(const std::string& body, const std::string& extraHeaders,
                const std::string& status) {
  return Reply{{{"HTTP/1.1 " + status + "\r\nContent-Length: " + std::to_string(body.size()) +
                     "\r\nConnection: close\r\n" + extraHeaders + "\r\n" + body,
                 0}}};
}

Reply ChunkedReply(const std::vector<std::string>& chunks, int pauseMs) {
  Reply reply;
  reply.pieces.push_back(
      {"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nConnection: close\r\n\r\n", 0});
  for (const auto& chunk : chunks) {
    char size[32];
    std::snprintf(size, sizeof size, "%zx\r\n", chunk.size());
    reply.pieces.push_back({size + chunk + "\r\n", pauseMs});
  }
  reply.pieces.push_back({"0\r\n\r\n", 0});
  return reply;
}

LoopbackServer::LoopbackServer() : listener_(Listen(port_)), thread_([this] { Serve(); }) {}

LoopbackServer::~LoopbackServer() {
  stop_ = true;
  thread_.join();
  ::close(listener_);
}

std::string LoopbackServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

void LoopbackServer::Enqueue(Reply reply) {
  std::lock_guard lock(mutex_);
  replies_.push_back(std::move(reply));
}

std::vector<std::string> LoopbackServer::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

void LoopbackServer::Serve() {
  while (!stop_) {
    pollfd p{listener_, POLLIN, 0};
    if (::poll(&p, 1, 20) <= 0) continue;
    const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) continue;
    ++connections_;
    Handle(fd);
    ::close(fd);
  }
}

void LoopbackServer::Handle(int fd) {
  // Read the header block, then as many body bytes as Content-Length says.
  std::string request;
  size_t headerEnd = std::string::npos;
  size_t want = 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  char buffer[65536];
  while (!stop_ && std::chrono::steady_clock::now() < deadline) {
    if (headerEnd != std::string::npos && request.size() >= headerEnd + 4 + want) break;
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 20) <= 0) continue;
    const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
    if (n <= 0) break;
    request.append(buffer, static_cast<size_t>(n));
    if (headerEnd == std::string::npos &&
        (headerEnd = request.find("\r\n\r\n")) != std::string::npos) {
      const std::string head = Lower(request.substr(0, headerEnd));
      const size_t cl = head.find("\r\ncontent-length:");
      if (cl != std::string::npos) want = std::stoul(head.substr(cl + 17));
    }
  }
  Reply reply;
  {
    std::lock_guard lock(mutex_);
    requests_.push_back(request);
    if (replies_.empty()) {
      reply = HttpReply("ok");
    } else {
      reply = std::move(replies_.front());
      replies_.pop_front();
    }
  }
  for (const auto& piece : reply.pieces) {
    if (piece.pauseMsBefore > 0) {
      std::this_thread::sleep_for(std::chrono::milliseconds(piece.pauseMsBefore));
    }
    SendAll(fd, piece.bytes);
  }
}

int ClosedPort() {
  int port = 0;
  const int fd = Listen(port);
  ::close(fd);
  return port;
}

}  // namespace suozhi::test
