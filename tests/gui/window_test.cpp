// The real window under a display (Xvfb in the test run): every control
// where the layout table puts it, and the commands driven by clicks, against
// the local stand-in API on loopback.
#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "platform/components.h"
#include "platform/qt/qt_front_end.h"
#include "runtime/codepage.h"
#include "runtime/files.h"
#include "runtime/system.h"
#include "support/stand_in.h"
#include "support/temp_dir.h"

namespace suozhi {
namespace {

QString Q(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), utf8.size());
}

std::string ReadLog(const Text& name) {
  const auto bytes = rt::ReadFile(name);
  return bytes ? cp::ToUtf8(Text(bytes->begin(), bytes->end())) : std::string();
}

// What another program pasting from the X clipboard receives, read with
// xclip while this process keeps serving the selection.
QString XClipboard() {
  QProcess xclip;
  xclip.start("xclip", {"-o", "-selection", "clipboard"});
  if (!QTest::qWaitFor([&] { return xclip.state() == QProcess::NotRunning; }, 5000)) {
    xclip.kill();
    return "<xclip did not answer>";
  }
  return QString::fromUtf8(xclip.readAllStandardOutput());
}

// Types `text` into a widget key by key, Chinese characters too.
void Type(QWidget* widget, const QString& text) {
  for (const QChar ch : text) {
    QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
  }
}

class Window : public ::testing::Test {
 protected:
  void SetUp() override {
    log_ = dir_.File("运行日志.txt");
    frontEnd_ = std::make_unique<platform::qt::FrontEnd>(CommandOptions{api_.host(), log_});
    frontEnd_->window().show();
    frontEnd_->window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frontEnd_->window()));
  }
  void TearDown() override { frontEnd_.reset(); }

  template <typename T = QWidget>
  T* Find(std::string_view name) {
    return frontEnd_->window().findChild<T*>(Q(name));
  }
  void Click(std::string_view name) { QTest::mouseClick(Find<QPushButton>(name), Qt::LeftButton); }

  test::TempDir dir_;
  test::StandIn api_;
  Text log_;
  std::unique_ptr<platform::qt::FrontEnd> frontEnd_;
  rt::ProcessEventsHook pump_{[] { QCoreApplication::processEvents(); }};
};

TEST_F(Window, EveryControlSitsWhereTheTableSaysWithItsCaption) {
  QWidget& window = frontEnd_->window();
  EXPECT_EQ(window.windowTitle(), Q("缩址精灵"));
  EXPECT_EQ(window.size(), QSize(365, 400));
  EXPECT_EQ(window.minimumSize(), window.maximumSize());  // a fixed border
  EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(window.windowFlags() & Qt::WindowMinimizeButtonHint);
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  EXPECT_EQ(window.pos(), QPoint((screen.width() - 371) / 2, (screen.height() - 428) / 2));

  for (const auto& spec : app::kMainWindowControls) {
    SCOPED_TRACE(std::string(spec.name));
    QWidget* w = Find(spec.name);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->geometry(), QRect(spec.left, spec.top, spec.width, spec.height));
    EXPECT_EQ(w->parentWidget()->objectName(),
              spec.parent.empty() ? QString("MainWindow") : Q(spec.parent));
    EXPECT_TRUE(w->isVisible());
    QString caption;
    switch (spec.kind) {
      case app::ControlKind::kGroupBox:
        caption = qobject_cast<QGroupBox*>(w)->title();
        break;
      case app::ControlKind::kLabel:
        caption = qobject_cast<QLabel*>(w)->text();
        break;
      case app::ControlKind::kEdit:
        caption = qobject_cast<QLineEdit*>(w)->text();
        break;
      case app::ControlKind::kRadioButton:
        caption = qobject_cast<QRadioButton*>(w)->text();
        EXPECT_EQ(qobject_cast<QRadioButton*>(w)->isChecked(), spec.name == "单选框1");
        break;
      case app::ControlKind::kButton:
        caption = qobject_cast<QPushButton*>(w)->text();
        break;
    }
    EXPECT_EQ(caption, Q(spec.caption));
  }
  for (const char* edit : {"原网址内容", "短网址内容", "短网址还原1", "短网址还原2"}) {
    EXPECT_FALSE(Find<QLineEdit>(edit)->isReadOnly());
    EXPECT_GT(Find<QLineEdit>(edit)->maxLength(), 1 << 20);
  }
}

TEST_F(Window, ShortenThenRestoreWithClipboardAndLog) {
  QTest::mouseClick(Find<QRadioButton>("单选框3"), Qt::LeftButton);
  EXPECT_FALSE(Find<QRadioButton>("单选框1")->isChecked());
  Type(Find<QLineEdit>("原网址内容"), Q("http://example.com/长地址?q=1&x=2"));
  Click("生成");
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return Find<QLineEdit>("短网址内容")->text().startsWith("http://dwz.cn/"); }, 5000));
  const QString shortLink = Find<QLineEdit>("短网址内容")->text();
  EXPECT_EQ(XClipboard(), shortLink);
  EXPECT_EQ(ReadLog(log_).find("网址缩短》原网址：http://example.com/长地址?q=1&x=2----短网址：" +
                               shortLink.toStdString() + "\r\n"),
            ReadLog(log_).find("   ") + 3);

  Type(Find<QLineEdit>("短网址还原1"), shortLink);
  Click("按钮1");
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        return Find<QLineEdit>("短网址还原2")->text() == Q("http://example.com/长地址?q=1&x=2");
      },
      5000));
  EXPECT_EQ(XClipboard(), Q("http://example.com/长地址?q=1&x=2"));
  EXPECT_EQ(ReadLog(log_).find("网址还原》短网址："), ReadLog(log_).find("   ") + 3);

  // An unknown link fails in the output box and leaves clipboard and log alone.
  const std::string logBefore = ReadLog(log_);
  Find<QLineEdit>("短网址还原1")->setText("http://t.cn/unknown1");
  Click("按钮1");
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return Find<QLineEdit>("短网址还原2")->text() == Q("还原失败"); }, 5000));
  EXPECT_EQ(ReadLog(log_), logBefore);
  EXPECT_EQ(XClipboard(), Q("http://example.com/长地址?q=1&x=2"));
}

TEST_F(Window, CopyButtonsCopyWhatTheBoxHolds) {
  Find<QLineEdit>("短网址内容")->setText(Q("edited 文本"));
  Click("复制");
  EXPECT_EQ(XClipboard(), Q("edited 文本"));
  Find<QLineEdit>("短网址还原2")->clear();
  Click("按钮2");
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QString());
  EXPECT_EQ(XClipboard(), QString());
}

TEST_F(Window, AnInputErrorBoxIsOwnedByTheWindowAndClosesItself) {
  struct Seen {
    bool box = false, owned = false;
    QString text, title;
  } seen;
  QTimer::singleShot(300, [&] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
        seen = {true, box->parentWidget() == &frontEnd_->window(), box->text(), box->windowTitle()};
      }
    }
  });
  Click("生成");  // empty input: returns when the box has closed itself
  EXPECT_TRUE(seen.box);
  EXPECT_TRUE(seen.owned);
  EXPECT_EQ(seen.text, Q("请输入原网址"));
  EXPECT_EQ(seen.title, Q("青蓝鹭提示"));
  for (QWidget* w : QApplication::topLevelWidgets()) {
    EXPECT_FALSE(qobject_cast<QMessageBox*>(w) && w->isVisible());
  }
  EXPECT_TRUE(Find<QLineEdit>("短网址内容")->text().isEmpty());

  seen = {};
  QTimer::singleShot(300, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      seen = {true, true, box->text(), box->windowTitle()};
      box->accept();  // the user clicks OK
    }
  });
  Find<QLineEdit>("原网址内容")->setText("no address here");
  Click("生成");
  EXPECT_EQ(seen.text, Q("网址错误，网址需要加上 http:// 或者 https://"));
}

TEST_F(Window, AHelpBoxBlocksTheWindowUntilClosed) {
  for (const auto& [button, text] :
       {std::pair{
            "按钮3",
            "请输入带http://或https://的网址，然后点击生成即可，软件更新请加官方群：731840296"},
        std::pair{"按钮4",
                  "请输入带http://或https://"
                  "的短链网址，然后点击还原即可，软件更新请加官方群：731840296"}}) {
    bool blocking = false;
    QString seenText, seenTitle;
    QTimer::singleShot(300, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return;
      blocking = box->windowModality() == Qt::ApplicationModal && box->parentWidget() == nullptr;
      seenText = box->text();
      seenTitle = box->windowTitle();
      QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    });
    Click(button);  // returns once the box is closed
    EXPECT_TRUE(blocking) << button;
    EXPECT_EQ(seenText, Q(text));
    EXPECT_EQ(seenTitle, Q("温馨提示"));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  }
}

TEST_F(Window, TheProgramsOwnWindowIsFoundFirst) {
  auto& windows = frontEnd_->windows();
  const auto first = windows.NextTopLevelWindow(0);
  EXPECT_EQ(windows.WidgetOf(first), &frontEnd_->window());
  EXPECT_EQ(windows.RootOwner(first), first);
  EXPECT_EQ(cp::ToUtf8(windows.WindowTitle(first)), "缩址精灵");
}

}  // namespace
}  // namespace suozhi

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setStyle("Fusion");
  ::testing::InitGoogleTest(&argc, argv);
  suozhi::platform::RegisterRegExpComponent();
  suozhi::platform::RegisterScriptComponent();
  return RUN_ALL_TESTS();
}
