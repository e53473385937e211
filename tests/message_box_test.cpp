#include "desktop/message_box.h"

#include <gtest/gtest.h>

#include "support/fake_window_system.h"
#include "support/gbk.h"

namespace suozhi {
namespace {

using test::FakeWindowSystem;

FakeWindowSystem Desktop() {
  FakeWindowSystem ws;
  // z-order: another process's window, our owned dialog, our main window,
  // a later window of ours titled abc.
  ws.windows = {{10, 1, 0, "other", "Other"},
                {11, 4242, 12, "dialog", "QMessageBox"},
                {12, 4242, 0, "xabcx", "QWidget"},
                {13, 4242, 0, "abc", "QWidget", false}};
  return ws;
}

TEST(FindProcessWindow, FirstUnownedWindowOfTheProcessDecides) {
  struct Case {
    std::optional<Text> title, cls;
    std::optional<bool> visibleOnly;
    platform::WindowHandle expected;
  };
  const Case cases[] = {
      {{}, {}, {}, 12},
      {Text("abc"), {}, {}, 12},
      {Text("ABC"), {}, {}, 0},  // case-sensitive, and the later "abc" is never looked at
      {{}, Text("QWid"), {}, 12},
      {Text("abc"), Text("Nope"), {}, 0},
      {Text(""), {}, {}, 12},  // an empty filter is in every non-empty title
      {Text(""), Text(""), {}, 12},
  };
  for (const auto& c : cases) {
    FakeWindowSystem ws = Desktop();
    EXPECT_EQ(FindProcessWindow(ws, 4242, c.title, c.cls, 1000, c.visibleOnly), c.expected);
  }
  FakeWindowSystem ws = Desktop();
  ws.windows[2].title = "";
  EXPECT_EQ(FindProcessWindow(ws, 4242, Text(""), {}, 1000), 0u);  // not in an empty title
  ws.windows[2].visible = false;
  EXPECT_EQ(FindProcessWindow(ws, 4242, {}, {}, 200, true), 0u);  // every window of ours hidden
  EXPECT_EQ(FindProcessWindow(ws, 4242, {}, {}, 0), 0u);          // no time at all
  EXPECT_EQ(FindProcessWindow(ws, 999, {}, {}, 100), 0u);         // no window of that process
}

TEST(TimedMessageBox, DefaultsAndGivenValues) {
  FakeWindowSystem ws = Desktop();
  EXPECT_EQ(TimedMessageBox(ws, "hi"), 0);  // OK pressed: 1 - 1
  ASSERT_EQ(ws.boxes.size(), 1u);
  EXPECT_EQ(ws.boxes[0].owner, 12u);
  EXPECT_EQ(ws.boxes[0].title, test::G("友情提醒"));
  EXPECT_EQ(ws.boxes[0].style, 0);
  EXPECT_EQ(ws.boxes[0].timeoutMs, 5000);

  ws.boxResult = platform::kIdTimeout;
  EXPECT_EQ(TimedMessageBox(ws, "x", 0x40, Text(""), platform::WindowHandle{0}, 0),
            platform::kIdTimeout - 1);
  EXPECT_EQ(ws.boxes[1].owner, 0u);  // given as 0: no owner and no search
  EXPECT_EQ(ws.boxes[1].title, "");
  EXPECT_EQ(ws.boxes[1].style, 0x40);
  EXPECT_EQ(ws.boxes[1].timeoutMs, 0);

  ws.windows.clear();  // nothing of ours to own the box: it has no owner
  TimedMessageBox(ws, "y");
  EXPECT_EQ(ws.boxes[2].owner, 0u);
}

TEST(WindowFacts, ClassNamesAreCutAt49Characters) {
  FakeWindowSystem ws;
  ws.windows = {{1, 1, 0, Text("t\0rest", 6), std::string(80, 'c')}};
  EXPECT_EQ(GetWindowClass(ws, 1).size(), 49u);
  EXPECT_EQ(GetWindowTitle(ws, 1), "t");
  EXPECT_EQ(GetWindowProcess(ws, 1), 1u);
  EXPECT_EQ(GetRootOwner(ws, 1), 1u);
}

}  // namespace
}  // namespace suozhi
