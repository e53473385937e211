#include "runtime/files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "runtime/codepage.h"

namespace suozhi::rt {
namespace {

bool WriteAll(int fd, const void* data, size_t n) {
  const char* p = static_cast<const char*>(data);
  while (n > 0) {
    const ssize_t w = ::write(fd, p, n);
    if (w < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += w;
    n -= static_cast<size_t>(w);
  }
  return true;
}

bool PreadAll(int fd, void* data, size_t n, off_t at) {
  char* p = static_cast<char*>(data);
  while (n > 0) {
    const ssize_t r = ::pread(fd, p, n, at);
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) return false;
    p += r;
    n -= static_cast<size_t>(r);
    at += r;
  }
  return true;
}

bool IsLineEnd(char c) {
  return c == '\n' || c == '\0' || c == '\x1A';
}

}  // namespace

std::string NativePath(const Text& name) {
  return cp::ToUtf8(name);
}

Text PathSeparator() {
  return "/";
}

bool FileExists(const Text& name) {
  struct stat st;
  return !name.empty() && ::stat(NativePath(name).c_str(), &st) == 0;
}

bool WriteFile(const Text& name, const ByteSet& bytes) {
  const int fd = ::open(NativePath(name).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  const bool ok = WriteAll(fd, bytes.data(), bytes.size());
  return (::close(fd) == 0) && ok;
}

std::optional<ByteSet> ReadFile(const Text& name) {
  const int fd = ::open(NativePath(name).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  ByteSet data;
  char buffer[65536];
  for (;;) {
    const ssize_t r = ::read(fd, buffer, sizeof buffer);
    if (r < 0 && errno == EINTR) continue;
    if (r < 0) {
      ::close(fd);
      return std::nullopt;
    }
    if (r == 0) break;
    data.insert(data.end(), buffer, buffer + r);
  }
  ::close(fd);
  return data;
}

File::File(const Text& name) {
  if (!name.empty()) fd_ = ::open(NativePath(name).c_str(), O_RDWR | O_CLOEXEC);
}

File::~File() {
  Close();
}

File::File(File&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), position_(std::exchange(other.position_, 0)) {}

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = std::exchange(other.fd_, -1);
    position_ = std::exchange(other.position_, 0);
  }
  return *this;
}

void File::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

bool File::InsertLine(std::string_view text) {
  if (fd_ < 0) return false;
  struct stat st;
  if (::fstat(fd_, &st) != 0) return false;
  const off_t at = std::min<off_t>(position_, st.st_size);
  std::string tail(static_cast<size_t>(st.st_size - at), '\0');
  if (!tail.empty() && !PreadAll(fd_, tail.data(), tail.size(), at)) return false;
  std::string block(text);
  block += "\r\n";
  block += tail;
  if (::lseek(fd_, at, SEEK_SET) < 0 || !WriteAll(fd_, block.data(), block.size())) return false;
  position_ = at + static_cast<off_t>(text.size() + 2);
  return true;
}

std::optional<Text> File::ReadLine() {
  if (fd_ < 0) return std::nullopt;
  Text line;
  char buffer[4096];
  for (;;) {
    const ssize_t r = ::pread(fd_, buffer, sizeof buffer, position_);
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) break;
    const char* end = std::find_if(buffer, buffer + r, IsLineEnd);
    line.append(buffer, static_cast<size_t>(end - buffer));
    position_ += end - buffer;
    if (end != buffer + r) {
      ++position_;  // the line end itself
      if (*end == '\n' && !line.empty() && line.back() == '\r') line.pop_back();
      return line;
    }
  }
  if (line.empty()) return std::nullopt;
  return line;
}

void MemoryFile::Write(const void* data, size_t n) {
  const auto* p = static_cast<const std::uint8_t*>(data);
  data_.insert(data_.end(), p, p + n);
}

ByteSet MemoryFile::Read(size_t n) {
  const size_t k = std::min(n, data_.size() - std::min(position_, data_.size()));
  ByteSet out(data_.begin() + static_cast<std::ptrdiff_t>(position_),
              data_.begin() + static_cast<std::ptrdiff_t>(position_ + k));
  position_ += k;
  return out;
}

ByteSet MemoryFile::TakeRest() {
  ByteSet out = std::move(data_);
  out.erase(out.begin(),
            out.begin() + static_cast<std::ptrdiff_t>(std::min(position_, out.size())));
  data_.clear();
  position_ = 0;
  return out;
}

std::optional<Text> MemoryFile::ReadLine() {
  return ReadLineFrom({reinterpret_cast<const char*>(data_.data()), data_.size()}, position_);
}

std::optional<Text> ReadLineFrom(std::string_view data, size_t& position) {
  if (position >= data.size()) return std::nullopt;
  const auto begin = data.begin() + static_cast<std::ptrdiff_t>(position);
  const auto end = std::find_if(begin, data.end(), IsLineEnd);
  Text line(begin, end);
  position = static_cast<size_t>(end - data.begin()) + (end != data.end() ? 1 : 0);
  if (end != data.end() && *end == '\n' && !line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

Text RunDirectory() {
  char path[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return {};
  const std::string_view exe(path, static_cast<size_t>(n));
  const size_t slash = exe.rfind('/');
  if (slash == std::string_view::npos) return {};
  return cp::FromUtf8(exe.substr(0, slash));
}

bool EnterRunDirectory() {
  const Text dir = RunDirectory();
  return !dir.empty() && ::chdir(NativePath(dir).c_str()) == 0;
}

}  // namespace suozhi::rt

namespace suozhi::rt {
namespace {

// Closes a descriptor when it goes out of scope.
class Fd {
 public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  ~Fd() { reset(); }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  void reset(int fd = -1) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }
  int release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

bool HasWriteBits(const struct stat& st) {
  return (st.st_mode & 0222) != 0;
}

// Whether the directory that holds `path` may be written to. The permission
// bits count even for a user whom the system would let through anyway, so a
// directory made read-only stays untouched.
bool DirectoryWritable(const std::string& dir) {
  struct stat st;
  return ::stat(dir.c_str(), &st) == 0 && HasWriteBits(st) && ::access(dir.c_str(), W_OK) == 0;
}

// Copies everything from `from` (read from offset 0) to the end of `to`.
bool CopyContent(int from, int to, off_t size) {
  off_t in = 0;
  while (in < size) {
    const ssize_t n = ::copy_file_range(from, &in, to, nullptr, static_cast<size_t>(size - in), 0);
    if (n > 0) continue;
    if (n < 0 && errno == EINTR) continue;
    if (n == 0) return false;  // the file shrank under us
    break;                     // not supported here: plain copy below
  }
  char buffer[1 << 16];
  while (in < size) {
    const ssize_t r = ::pread(from, buffer, std::min<off_t>(sizeof buffer, size - in), in);
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0 || !WriteAll(to, buffer, static_cast<size_t>(r))) return false;
    in += r;
  }
  return true;
}

std::string DirectoryOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

bool PrependLine(const Text& name, std::string_view line) {
  if (name.empty()) return false;
  std::string path = NativePath(name);
  // Replace the file a link points to, not the link.
  if (char* real = ::realpath(path.c_str(), nullptr)) {
    path = real;
    std::free(real);
  }
  const std::string dir = DirectoryOf(path);
  if (!DirectoryWritable(dir)) return false;
  // Writers take turns through a lock on the directory: the log itself is
  // replaced by every write, so a lock on it would not outlive the write.
  const Fd dirLock(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dirLock.get() < 0 || ::flock(dirLock.get(), LOCK_EX) != 0) return false;
  const Fd file(::open(path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0666));
  struct stat st;
  if (file.get() < 0 || ::fstat(file.get(), &st) != 0 || !S_ISREG(st.st_mode) ||
      !HasWriteBits(st) || ::access(path.c_str(), W_OK) != 0)
    return false;

  const std::string temp = path + ".tmp";
  Fd out(::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600));
  if (out.get() < 0) return false;
  std::string head(line);
  head += "\r\n";
  const bool written = ::fchmod(out.get(), st.st_mode & 07777) == 0 &&
                       WriteAll(out.get(), head.data(), head.size()) &&
                       CopyContent(file.get(), out.get(), st.st_size) &&
                       ::fdatasync(out.get()) == 0;
  const bool closed = ::close(out.release()) == 0;
  if (!written || !closed || ::rename(temp.c_str(), path.c_str()) != 0) {
    ::unlink(temp.c_str());
    return false;
  }
  return true;
}

}  // namespace suozhi::rt
