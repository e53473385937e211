#include "app/core/commands.h"

#include <gtest/gtest.h>

#include "app/core/memory_controls.h"
#include "runtime/files.h"
#include "runtime/system.h"
#include "support/fake_window_system.h"
#include "support/gbk.h"
#include "support/loopback_server.h"
#include "support/temp_dir.h"

namespace suozhi {
namespace {

using test::G;
using test::HttpReply;

// The commands on controls in memory, a fake desktop and a loopback API.
class CommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    windows_.windows = {{7, windows_.processId, 0, G("缩址精灵"), "QWidget"}};
  }
  Commands MakeCommands() {
    return Commands(controls_, windows_, {"127.0.0.1:" + std::to_string(server_.port()), log_});
  }
  std::string Body() const {
    const std::string request = server_.Requests().back();
    return request.substr(request.find("\r\n\r\n") + 4);
  }
  std::string Log() const {
    const auto bytes = rt::ReadFile(log_);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
  }
  Text Out() { return controls_.GetText("短网址内容"); }

  test::LoopbackServer server_;
  test::TempDir dir_;
  Text log_ = dir_.File("run.log");
  app::MemoryControls controls_;
  test::FakeWindowSystem windows_;
};

TEST_F(CommandsTest, ShortenSendsTheWholeInputEncodedWithTheType) {
  Commands commands = MakeCommands();
  const std::pair<int, const char*> cases[] = {{1, "1"}, {3, "3"}, {8, "8"}};
  controls_.SetText("原网址内容", "http://x/y");
  commands.OnGenerateClick();  // the type untouched: 1
  EXPECT_EQ(Body(), "url=http%3A%2F%2Fx%2Fy&type=1");
  for (const auto& [type, text] : cases) {
    controls_.SelectType(type);
    commands.OnGenerateClick();
    EXPECT_EQ(Body(), std::string("url=http%3A%2F%2Fx%2Fy&type=") + text);
    EXPECT_EQ(g_TypeText, text);
  }
  EXPECT_EQ(g_EncodedUrl, "http%3A%2F%2Fx%2Fy");
  EXPECT_EQ(server_.Requests().back().substr(0, 22), "POST /api/url HTTP/1.1");
  controls_.SetText("原网址内容", G("看 ftp://a 这里"));  // any scheme, words around it
  commands.OnGenerateClick();
  EXPECT_EQ(Body(), "url=%BF%B4%20ftp%3A%2F%2Fa%20%D5%E2%C0%EF&type=8");
}

TEST_F(CommandsTest, InputErrorsShowATimedBoxAndSendNothing) {
  Commands commands = MakeCommands();
  controls_.SetText("短网址内容", "before");
  const std::pair<Text, Text> cases[] = {
      {"", G("请输入原网址")},
      {"   ", G("网址错误，网址需要加上 http:// 或者 https://")},
      {"http:/x", G("网址错误，网址需要加上 http:// 或者 https://")},
      {"123://x", G("网址错误，网址需要加上 http:// 或者 https://")},
  };
  for (const auto& [input, message] : cases) {
    controls_.SetText("原网址内容", input);
    commands.OnGenerateClick();
    ASSERT_FALSE(windows_.boxes.empty());
    const auto& box = windows_.boxes.back();
    EXPECT_EQ(box.text, message) << input;
    EXPECT_EQ(box.title, G("青蓝鹭提示"));
    EXPECT_EQ(box.owner, 7u);  // the program's window owns it
    EXPECT_EQ(box.timeoutMs, 5000);
  }
  EXPECT_EQ(server_.Connections(), 0);
  EXPECT_EQ(Out(), "before");
  EXPECT_TRUE(windows_.clipboard.empty());
}

TEST_F(CommandsTest, ShortenAnswers) {
  Commands commands = MakeCommands();
  const Text failed = G("生成失败");
  const std::pair<std::string, Text> cases[] = {
      {R"({"code":200,"data":{"short_url":"http://t.cn/a"}})", "http://t.cn/a"},
      {R"({"code":"200","data":{"short_url":"http://t.cn/b"}})", "http://t.cn/b"},
      {R"({"code":200.5,"data":{"short_url":"http:\/\/t.cn\/c"}})", "http://t.cn/c"},
      {R"({"code":200,"data":{"short_url":"NULL"}})", "NULL"},
      {R"({"code":404,"data":{"short_url":"http://t.cn/d"}})", failed},
      {R"({"data":{"short_url":"http://t.cn/e"}})", failed},
      {R"({"code":200,"data":{"short_url":null}})", failed},
      {R"({"code":200,"data":{}})", failed},  // no link is no result
      {R"({"code":200,"data":null})", failed},
      {"<html>busy</html>", failed},
      {"", failed},
  };
  controls_.SetText("原网址内容", "http://x/y");
  for (const auto& [answer, shown] : cases) {
    server_.Enqueue(HttpReply(answer));
    windows_.clipboard.clear();
    const std::string logBefore = Log();
    commands.OnGenerateClick();
    EXPECT_EQ(Out(), shown) << answer;
    if (shown == failed) {
      EXPECT_TRUE(windows_.clipboard.empty()) << answer;
      EXPECT_EQ(Log(), logBefore) << answer;
    } else {
      EXPECT_EQ(windows_.clipboard, std::vector<Text>{shown});
      EXPECT_EQ(Log().substr(Log().find("   ") + 3, Log().find("\r\n") - Log().find("   ") - 3),
                G("网址缩短》原网址：http://x/y----短网址：") + shown);
    }
  }
}

TEST_F(CommandsTest, LogThenBoxThenClipboard) {
  Commands commands = MakeCommands();
  server_.Enqueue(HttpReply(R"({"code":200,"data":{"short_url":"http://t.cn/z"}})"));
  controls_.SetText("原网址内容", "http://x/y");
  bool logged = false;
  Text boxAtCopy;
  windows_.onClipboard = [&] {
    logged = Log().find("http://t.cn/z") != std::string::npos;
    boxAtCopy = Out();
  };
  commands.OnGenerateClick();
  EXPECT_TRUE(logged);
  EXPECT_EQ(boxAtCopy, "http://t.cn/z");
}

TEST_F(CommandsTest, AFailedRequestKeepsTheGlobals) {
  Commands commands = MakeCommands();
  controls_.SetText("原网址内容", "http://kept/");
  controls_.SelectType(5);
  server_.Enqueue(HttpReply("not json"));
  commands.OnGenerateClick();
  EXPECT_EQ(Out(), G("生成失败"));
  EXPECT_EQ(g_EncodedUrl, "http%3A%2F%2Fkept%2F");
  EXPECT_EQ(g_TypeText, "5");
  OnExit();
  EXPECT_EQ(g_EncodedUrl, "");
  EXPECT_EQ(g_TypeText, "");
}

TEST_F(CommandsTest, RestoreEncodesTheLinkAndChecksTheAnswer) {
  Commands commands = MakeCommands();
  const Text failed = G("还原失败");
  struct Case {
    Text input;
    std::string body, answer;
    Text shown;
  };
  const Case cases[] = {
      {"http://t.cn/a&b=c+d", "url=http%3A%2F%2Ft%2Ecn%2Fa%26b%3Dc%2Bd",
       R"({"code":200,"data":{"long_url":"http://long/?a=1&b=2"}})", "http://long/?a=1&b=2"},
      {" http://t.cn/s ", "url=%20http%3A%2F%2Ft%2Ecn%2Fs%20",
       R"({"code":"200","data":{"long_url":"http://spaced/"}})", "http://spaced/"},
      {"", "url=", R"({"code":404,"msg":"missing"})", failed},
      {"http://t.cn/n", "url=http%3A%2F%2Ft%2Ecn%2Fn", R"({"code":200,"data":{"long_url":null}})",
       failed},
      {"http://t.cn/m", "url=http%3A%2F%2Ft%2Ecn%2Fm", R"({"code":200})", failed},
      {"http://t.cn/x", "url=http%3A%2F%2Ft%2Ecn%2Fx", "", failed},
  };
  controls_.SetText("短网址还原2", "previous");
  for (const auto& c : cases) {
    server_.Enqueue(HttpReply(c.answer));
    windows_.clipboard.clear();
    const std::string logBefore = Log();
    controls_.SetText("短网址还原1", c.input);
    commands.OnRestoreClick();
    EXPECT_EQ(Body(), c.body);
    EXPECT_EQ(server_.Requests().back().substr(0, 28), "POST /api/url/query HTTP/1.1");
    EXPECT_EQ(controls_.GetText("短网址还原2"), c.shown) << c.input;
    if (c.shown == failed) {
      EXPECT_TRUE(windows_.clipboard.empty());
      EXPECT_EQ(Log(), logBefore);
    } else {
      EXPECT_EQ(windows_.clipboard, std::vector<Text>{c.shown});
      EXPECT_NE(
          Log().find(G("网址还原》短网址：") + c.input + G("----原网址：") + c.shown + "\r\n"),
          std::string::npos);
    }
  }
}

TEST_F(CommandsTest, AClickWhileAnAnswerIsReadRunsInsideAndTheOuterWritesLast) {
  Commands commands = MakeCommands();
  server_.Enqueue(HttpReply(R"({"code":200,"data":{"short_url":"http://t.cn/first"}})"));
  server_.Enqueue(HttpReply(R"({"code":200,"data":{"short_url":"http://t.cn/second"}})"));
  controls_.SetText("原网址内容", "http://x/y");
  bool clicked = false;
  rt::ProcessEventsHook hook([&] {
    if (!std::exchange(clicked, true)) commands.OnGenerateClick();
  });
  commands.OnGenerateClick();
  // The inner run finished first; the outer one wrote its result over it and
  // put its line on top of the log.
  ASSERT_EQ(windows_.clipboard.size(), 2u);
  EXPECT_NE(windows_.clipboard[0], windows_.clipboard[1]);
  EXPECT_EQ(Out(), windows_.clipboard[1]);
  const std::string log = Log();
  EXPECT_LT(log.find(windows_.clipboard[1]), log.find(windows_.clipboard[0]));
}

TEST_F(CommandsTest, CopyHelpAndTypeChoice) {
  Commands commands = MakeCommands();
  controls_.SetText("短网址内容", "edited by hand");
  commands.OnCopyShortClick();
  commands.OnCopyRestoredClick();  // an empty box copies an empty text
  EXPECT_EQ(windows_.clipboard, (std::vector<Text>{"edited by hand", ""}));

  commands.OnGenerateHelpClick();
  commands.OnRestoreHelpClick();
  ASSERT_EQ(windows_.boxes.size(), 2u);
  EXPECT_EQ(windows_.boxes[0].title, G("温馨提示"));
  EXPECT_FALSE(windows_.boxes[0].timed);
  EXPECT_EQ(windows_.boxes[0].style, platform::kMbTaskModal);
  EXPECT_NE(windows_.boxes[0].text, windows_.boxes[1].text);

  EXPECT_EQ(commands.GetSelectedType(), 1);
  for (int t = 1; t <= 8; ++t) controls_.SetChecked(app::kTypeButtons[t - 1], false);
  EXPECT_EQ(commands.GetSelectedType(), 1);  // none checked
  controls_.SetChecked("单选框6", true);
  controls_.SetChecked("单选框4", true);
  EXPECT_EQ(commands.GetSelectedType(), 4);  // several: the lowest
}

}  // namespace
}  // namespace suozhi
