#include "platform/console/console_window_system.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <ostream>

#include "runtime/codepage.h"

extern char** environ;

namespace suozhi::platform {
namespace {

// Hands `utf8` to "xclip -selection clipboard", which keeps serving it after
// this process ends. False when xclip could not be run or failed.
bool CopyWithXclip(const std::string& utf8) {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) return false;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[0], STDIN_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  char* argv[] = {const_cast<char*>("xclip"), const_cast<char*>("-selection"),
                  const_cast<char*>("clipboard"), const_cast<char*>("-i"), nullptr};
  pid_t pid = 0;
  const int rc = posix_spawnp(&pid, "xclip", &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(fds[0]);
  bool ok = rc == 0;
  size_t done = 0;
  while (ok && done < utf8.size()) {
    const ssize_t n = ::write(fds[1], utf8.data() + done, utf8.size() - done);
    if (n <= 0) ok = false;
    done += n > 0 ? static_cast<size_t>(n) : 0;
  }
  ::close(fds[1]);
  if (rc != 0) return false;
  int status = 0;
  ::waitpid(pid, &status, 0);
  return ok && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

void ConsoleWindowSystem::SetClipboardText(const Text& text) {
  if (copy_ && !CopyWithXclip(cp::ToUtf8(text))) clipboardFailed_ = true;
}

int ConsoleWindowSystem::MessageBox(const Text& text, const Text& title, int) {
  messages_ << cp::ToUtf8(title) << ": " << cp::ToUtf8(text) << "\n";
  ++boxes_;
  return kIdOk;
}

int ConsoleWindowSystem::MessageBoxTimeout(WindowHandle, const Text& text, const Text& title,
                                           int style, int) {
  return MessageBox(text, title, style);
}

std::uint32_t ConsoleWindowSystem::WindowProcessId(WindowHandle window) {
  return window == 1 ? CurrentProcessId() : 0;
}

std::uint32_t ConsoleWindowSystem::CurrentProcessId() {
  return static_cast<std::uint32_t>(::getpid());
}

}  // namespace suozhi::platform
