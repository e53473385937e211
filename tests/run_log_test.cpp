#include "desktop/run_log.h"

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>

#include "runtime/files.h"
#include "support/gbk.h"
#include "support/temp_dir.h"

namespace suozhi {
namespace {

using test::G;

std::string Slurp(const Text& name) {
  const auto bytes = rt::ReadFile(name);
  return bytes ? std::string(bytes->begin(), bytes->end()) : std::string("<missing>");
}

TEST(LogTime, DropsTrailingZeroFields) {
  const std::pair<rt::DateTime, const char*> cases[] = {
      {{2020, 4, 20, 9, 5, 7}, "2020年4月20日9时5分7秒"},
      {{2020, 4, 20, 9, 5, 0}, "2020年4月20日9时5分"},
      {{2020, 4, 20, 9, 0, 7}, "2020年4月20日9时0分7秒"},
      {{2020, 4, 20, 9, 0, 0}, "2020年4月20日9时"},
      {{2020, 4, 20, 0, 0, 0}, "2020年4月20日"},
      {{2026, 12, 31, 23, 59, 59}, "2026年12月31日23时59分59秒"},
  };
  for (const auto& [when, expected] : cases) EXPECT_EQ(FormatLogTime(when), G(expected));
}

class RunLog : public ::testing::Test {
 protected:
  test::TempDir dir_;
  Text log_ = dir_.File("运行日志.txt");
  const rt::DateTime t1_{2020, 4, 20, 9, 5, 7};
  const rt::DateTime t2_{2020, 4, 20, 9, 0, 0};
};

TEST_F(RunLog, NewestLineFirstInCodePageWithCrLf) {
  WriteRunLogAt(G("第一"), log_, t1_);
  EXPECT_EQ(Slurp(log_), G("2020年4月20日9时5分7秒   第一\r\n"));
  WriteRunLogAt("", log_, t2_);
  EXPECT_EQ(Slurp(log_), G("2020年4月20日9时   \r\n2020年4月20日9时5分7秒   第一\r\n"));
  EXPECT_FALSE(std::filesystem::exists(dir_.path() / "运行日志.txt.tmp"));
}

TEST_F(RunLog, GivenPathIsUsedUnchangedAndDefaultIsBesideTheProgram) {
  Text given = dir_.File("other.log");
  const Text before = given;
  WriteRunLog("x", given);
  EXPECT_EQ(given, before);
  EXPECT_NE(Slurp(given).find("   x\r\n"), std::string::npos);
  Text empty;
  WriteRunLog("x", empty);  // an empty name is kept and writes nothing
  EXPECT_EQ(empty, "");
  EXPECT_EQ(DefaultLogPath(), rt::RunDirectory() + "/" + G("运行日志.txt"));
}

TEST_F(RunLog, ReadOnlyLogOrDirectoryStaysUnchanged) {
  WriteRunLogAt("old", log_, t1_);
  const std::string before = Slurp(log_);
  const std::string native = rt::NativePath(log_);

  ::chmod(native.c_str(), 0444);
  WriteRunLogAt("new", log_, t2_);
  EXPECT_EQ(Slurp(log_), before);
  ::chmod(native.c_str(), 0644);

  ::chmod(dir_.path().c_str(), 0555);
  WriteRunLogAt("new", log_, t2_);
  EXPECT_EQ(Slurp(log_), before);
  const Text fresh = dir_.File("fresh.log");
  WriteRunLogAt("new", fresh, t2_);
  EXPECT_FALSE(rt::FileExists(fresh));
  ::chmod(dir_.path().c_str(), 0755);

  // A directory standing where the log should be.
  const Text asDir = dir_.File("dir.log");
  std::filesystem::create_directory(rt::NativePath(asDir));
  WriteRunLogAt("new", asDir, t2_);
  EXPECT_TRUE(std::filesystem::is_directory(rt::NativePath(asDir)));
}

TEST_F(RunLog, KeepsPermissionsAndFollowsLinks) {
  WriteRunLogAt("a", log_, t1_);
  ::chmod(rt::NativePath(log_).c_str(), 0640);
  const auto link = dir_.path() / "link.txt";
  std::filesystem::create_symlink(dir_.path() / "运行日志.txt", link);
  WriteRunLogAt("b", cp::FromUtf8(link.string()), t2_);
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(Slurp(log_).substr(0, 1 + Slurp(log_).find('\n')), G("2020年4月20日9时   b\r\n"));
  struct stat st;
  ::stat(rt::NativePath(log_).c_str(), &st);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
}

// Every line of the log must be one whole line written by the writer, in
// order: "N" lines counting down from the newest to 0.
void ExpectWholeLines(const std::string& content) {
  std::istringstream in(content);
  std::string line;
  int expected = -1;
  int lines = 0;
  while (std::getline(in, line)) {
    ASSERT_FALSE(line.empty());
    ASSERT_EQ(line.back(), '\r') << "line " << lines;
    const size_t gap = line.find("   ");
    ASSERT_NE(gap, std::string::npos);
    const int n = std::stoi(line.substr(gap + 3));
    if (expected >= 0) {
      ASSERT_EQ(n, expected);
    }
    expected = n - 1;
    ++lines;
  }
  ASSERT_EQ(expected, -1) << "the oldest line must be line 0";
  ASSERT_FALSE(content.empty());
  ASSERT_EQ(content.back(), '\n');
}

TEST_F(RunLog, KillNineInTheMiddleOfInsertsLosesNothing) {
  // A log big enough that each insert takes a while, then a writer that is
  // killed at several moments; the log must hold every finished line whole.
  for (int round = 0; round < 5; ++round) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      int n = 0;
      if (auto existing = rt::ReadFile(log_); existing && !existing->empty()) {
        const std::string s(existing->begin(), existing->end());
        n = std::stoi(s.substr(s.find("   ") + 3)) + 1;
      }
      const std::string padding(20000, 'p');
      for (;; ++n) WriteRunLogAt(std::to_string(n) + " " + padding, log_, t1_);
    }
    // Kill it only once it has written at least one line, at a varying moment.
    for (int i = 0; i < 1000 && rt::ReadFile(log_).value_or(ByteSet()).empty(); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(40 + 37 * round));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ExpectWholeLines(Slurp(log_));
  }
}

TEST_F(RunLog, ConcurrentWritersKeepEveryLine) {
  constexpr int kWriters = 4, kEach = 50;
  std::vector<pid_t> children;
  for (int w = 0; w < kWriters; ++w) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (int i = 0; i < kEach; ++i) WriteRunLogAt("w" + std::to_string(w), log_, t1_);
      ::_exit(0);
    }
    children.push_back(child);
  }
  for (pid_t child : children) ::waitpid(child, nullptr, 0);
  const std::string content = Slurp(log_);
  EXPECT_EQ(std::count(content.begin(), content.end(), '\n'), kWriters * kEach);
}

}  // namespace
}  // namespace suozhi
