#include "app/cli.h"

#include <sstream>

#include <gtest/gtest.h>

#include "runtime/codepage.h"
#include "support/loopback_server.h"
#include "support/temp_dir.h"

namespace suozhi {
namespace {

using app::Options;
using Command = Options::Command;

TEST(CommandLine, Options) {
  struct Case {
    std::vector<std::string> args;
    Command command;
    std::string argument;
    int type;
    std::string apiHost;
    bool copy, error;
  };
  const Case cases[] = {
      {{}, Command::kWindow, "", 1, "v1.alapi.cn", false, false},
      {{"--api-host", "127.0.0.1:8642"}, Command::kWindow, "", 1, "127.0.0.1:8642", false, false},
      {{"shorten", "http://x", "--type", "3", "--copy"},
       Command::kShorten,
       "http://x",
       3,
       "v1.alapi.cn",
       true,
       false},
      {{"restore", "http://t.cn/a", "--api-host", "h:1"},
       Command::kRestore,
       "http://t.cn/a",
       1,
       "h:1",
       false,
       false},
      {{"--help"}, Command::kHelp, "", 1, "v1.alapi.cn", false, false},
      {{"shorten"}, Command::kShorten, "", 1, "v1.alapi.cn", false, true},
      {{"shorten", "x", "--type", "9"}, Command::kShorten, "x", 1, "v1.alapi.cn", false, true},
      {{"shorten", "x", "--type", "0"}, Command::kShorten, "x", 1, "v1.alapi.cn", false, true},
      {{"restore", "x", "--type", "2"}, Command::kRestore, "x", 1, "v1.alapi.cn", false, true},
      {{"--api-host"}, Command::kWindow, "", 1, "v1.alapi.cn", false, true},
      {{"--api-host", "http://h/"}, Command::kWindow, "", 1, "http://h/", false, true},
      {{"--frobnicate"}, Command::kWindow, "", 1, "v1.alapi.cn", false, true},
  };
  for (const auto& c : cases) {
    const Options o = app::ParseOptions(c.args);
    SCOPED_TRACE(c.args.empty() ? "(none)" : c.args[0] + " ...");
    EXPECT_EQ(!o.error.empty(), c.error) << o.error;
    if (c.error) continue;
    EXPECT_EQ(o.command, c.command);
    EXPECT_EQ(o.argument, c.argument);
    EXPECT_EQ(o.type, c.type);
    EXPECT_EQ(o.apiHost, c.apiHost);
    EXPECT_EQ(o.copy, c.copy);
  }
}

TEST(CommandLine, ExitStatusAndStreams) {
  test::LoopbackServer server;
  test::TempDir dir;
  const std::string host = "127.0.0.1:" + std::to_string(server.port());
  struct Case {
    Command command;
    std::string argument, answer;
    int status;
    std::string out, err;
  };
  const Case cases[] = {
      {Command::kShorten, "http://例子.cn/", R"({"code":200,"data":{"short_url":"http://t.cn/a"}})",
       0, "http://t.cn/a\n", ""},
      {Command::kShorten, "http://x", R"({"code":500})", 1, "", "生成失败\n"},
      {Command::kShorten, "", "", 2, "", "青蓝鹭提示: 请输入原网址\n"},
      {Command::kShorten, "no address", "", 2, "",
       "青蓝鹭提示: 网址错误，网址需要加上 http:// 或者 https://\n"},
      // Answers are read in the code page, as the tool sends its requests.
      {Command::kRestore, "http://t.cn/a",
       cp::FromUtf8(R"({"code":200,"data":{"long_url":"http://例子.cn/"}})"), 0,
       "http://例子.cn/\n", ""},
      {Command::kRestore, "http://t.cn/a", R"({"code":404})", 1, "", "还原失败\n"},
  };
  for (const auto& c : cases) {
    if (!c.answer.empty()) server.Enqueue(test::HttpReply(c.answer));
    Options o;
    o.command = c.command;
    o.argument = c.argument;
    o.apiHost = host;
    std::ostringstream out, err;
    EXPECT_EQ(app::RunCommand(o, out, err, dir.File("log.txt")), c.status) << c.argument;
    EXPECT_EQ(out.str(), c.out);
    EXPECT_EQ(err.str(), c.err);
  }
  EXPECT_EQ(server.Requests().size(), 4u);  // none for the input errors
  // The shorten request carried the address in the code page, encoded.
  EXPECT_NE(server.Requests()[0].find("url=http%3A%2F%2F%C0%FD%D7%D3%2Ecn%2F&type=1"),
            std::string::npos);
}

}  // namespace
}  // namespace suozhi
