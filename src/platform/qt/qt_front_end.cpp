#include "platform/qt/qt_front_end.h"

#include <unistd.h>

#include <QApplication>
#include <QClipboard>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <climits>
#include <cstdlib>

#include "platform/components.h"
#include "platform/desktop_app.h"
#include "runtime/codepage.h"
#include "runtime/files.h"
#include "runtime/system.h"

namespace suozhi::platform::qt {
namespace {

QString Q(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}
QString FromText(const Text& gbk) {
  return QString::fromStdString(cp::ToUtf8(gbk));
}
Text ToText(const QString& s) {
  return cp::FromUtf8(s.toStdString());
}

// The classic look: a group box's caption sits on its frame line, and edit
// boxes have a thin, flat one-pixel frame on white.
constexpr const char* kWindowStyle =
    "QGroupBox { border: 1px solid #b8b8b8; border-radius: 0px; margin-top: 7px; }"
    "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left;"
    "  left: 8px; padding: 0px 2px; }"
    "QLineEdit { border: 1px solid #7f9db9; background: white; padding: 0px 2px; }";

QWidget* MakeControl(const app::ControlSpec& spec, QWidget* parent) {
  const QString caption = Q(spec.caption);
  switch (spec.kind) {
    case app::ControlKind::kGroupBox:
      return new QGroupBox(caption, parent);
    case app::ControlKind::kRadioButton: {
      auto* radio = new QRadioButton(caption, parent);
      radio->setChecked(spec.checked);
      return radio;
    }
    case app::ControlKind::kLabel: {
      auto* label = new QLabel(caption, parent);
      // Drawn with its own background, so that a label on a group box's
      // frame line covers the line behind its text.
      label->setAutoFillBackground(true);
      label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
      return label;
    }
    case app::ControlKind::kEdit: {
      auto* edit = new QLineEdit(caption, parent);
      edit->setMaxLength(INT_MAX);
      edit->setFrame(true);
      return edit;
    }
    case app::ControlKind::kButton:
      return new QPushButton(caption, parent);
  }
  return nullptr;
}

}  // namespace

std::unique_ptr<QWidget> BuildMainWindow() {
  auto window = std::make_unique<QWidget>(
      nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
  window->setObjectName("MainWindow");
  window->setWindowTitle(Q(app::kWindowCaption));
  window->setFixedSize(app::kClientWidth, app::kClientHeight);
  window->setStyleSheet(kWindowStyle);
  for (const auto& spec : app::kMainWindowControls) {
    QWidget* parent =
        spec.parent.empty() ? window.get() : window->findChild<QWidget*>(Q(spec.parent));
    QWidget* control = MakeControl(spec, parent ? parent : window.get());
    control->setObjectName(Q(spec.name));
    control->setGeometry(spec.left, spec.top, spec.width, spec.height);
  }
  // The help button of the restore group belongs to the window and lies over
  // that group's corner: keep it above the group box.
  if (auto* help = window->findChild<QWidget*>(Q("按钮4"))) help->raise();
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->geometry();
    window->move((area.width() - app::kOuterWidth) / 2, (area.height() - app::kOuterHeight) / 2);
  }
  return window;
}

QWidget* QtControls::Find(std::string_view name) const {
  return root_ ? root_->findChild<QWidget*>(Q(name)) : nullptr;
}

Text QtControls::GetText(std::string_view name) {
  QWidget* w = Find(name);
  if (auto* edit = qobject_cast<QLineEdit*>(w)) return ToText(edit->text());
  if (auto* button = qobject_cast<QAbstractButton*>(w)) return ToText(button->text());
  if (auto* label = qobject_cast<QLabel*>(w)) return ToText(label->text());
  if (auto* group = qobject_cast<QGroupBox*>(w)) return ToText(group->title());
  return {};
}

void QtControls::SetText(std::string_view name, const Text& text) {
  QWidget* w = Find(name);
  if (auto* edit = qobject_cast<QLineEdit*>(w)) {
    edit->setText(FromText(text));
    edit->setCursorPosition(0);
  } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
    button->setText(FromText(text));
  } else if (auto* label = qobject_cast<QLabel*>(w)) {
    label->setText(FromText(text));
  } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
    group->setTitle(FromText(text));
  }
}

int QtControls::GetChecked(std::string_view name) {
  auto* radio = qobject_cast<QRadioButton*>(Find(name));
  return radio && radio->isChecked() ? 1 : 0;
}

void QtControls::SetChecked(std::string_view name, bool checked) {
  if (auto* radio = qobject_cast<QRadioButton*>(Find(name))) {
    // Without the automatic exclusivity, so a program can clear them all.
    radio->setAutoExclusive(false);
    radio->setChecked(checked);
    radio->setAutoExclusive(true);
  }
}

QtWindowSystem::QtWindowSystem() {
  QObject::connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    if (now) Activated(now->window());
  });
}

WindowHandle QtWindowSystem::HandleOf(QWidget* widget) {
  if (!widget) return 0;
  for (const auto& [handle, w] : widgets_) {
    if (w == widget) return handle;
  }
  const WindowHandle handle = next_++;
  widgets_[handle] = widget;
  return handle;
}

QWidget* QtWindowSystem::WidgetOf(WindowHandle window) const {
  const auto it = widgets_.find(window);
  return it == widgets_.end() ? nullptr : it->second.data();
}

void QtWindowSystem::Activated(QWidget* widget) {
  const WindowHandle handle = HandleOf(widget);
  recent_.erase(std::remove(recent_.begin(), recent_.end(), handle), recent_.end());
  recent_.insert(recent_.begin(), handle);
}

// Active windows, most recent first; then visible ones never active; then
// the hidden ones.
std::vector<QWidget*> QtWindowSystem::Ordered() {
  if (QWidget* active = QApplication::activeWindow()) Activated(active);
  std::vector<QWidget*> order;
  for (const WindowHandle h : recent_) {
    if (QWidget* w = WidgetOf(h); w && w->isWindow()) order.push_back(w);
  }
  const QWidgetList all = QApplication::topLevelWidgets();
  for (const bool visible : {true, false}) {
    for (QWidget* w : all) {
      if (w->isVisible() == visible && std::find(order.begin(), order.end(), w) == order.end()) {
        order.push_back(w);
      }
    }
  }
  return order;
}

WindowHandle QtWindowSystem::NextTopLevelWindow(WindowHandle after) {
  const std::vector<QWidget*> order = Ordered();
  if (after == 0) return order.empty() ? 0 : HandleOf(order.front());
  const auto it = std::find(order.begin(), order.end(), WidgetOf(after));
  if (it == order.end() || it + 1 == order.end()) return 0;
  return HandleOf(*(it + 1));
}

bool QtWindowSystem::IsWindow(WindowHandle window) {
  return WidgetOf(window) != nullptr;
}

bool QtWindowSystem::IsWindowVisible(WindowHandle window) {
  QWidget* w = WidgetOf(window);
  return w && w->isVisible();
}

std::uint32_t QtWindowSystem::WindowProcessId(WindowHandle window) {
  return WidgetOf(window) ? CurrentProcessId() : 0;
}

WindowHandle QtWindowSystem::RootOwner(WindowHandle window) {
  QWidget* w = WidgetOf(window);
  if (!w) return 0;
  w = w->window();
  while (w->parentWidget()) w = w->parentWidget()->window();
  return HandleOf(w);
}

Text QtWindowSystem::WindowTitle(WindowHandle window) {
  QWidget* w = WidgetOf(window);
  return w ? ToText(w->windowTitle()) : Text();
}

Text QtWindowSystem::WindowClassName(WindowHandle window) {
  QWidget* w = WidgetOf(window);
  return w ? Text(w->metaObject()->className()) : Text();
}

std::uint32_t QtWindowSystem::CurrentProcessId() {
  return static_cast<std::uint32_t>(::getpid());
}

void QtWindowSystem::SetClipboardText(const Text& text) {
  // New data replaces every format the clipboard held.
  auto* data = new QMimeData;
  data->setText(FromText(text));
  QGuiApplication::clipboard()->setMimeData(data, QClipboard::Clipboard);
}

int QtWindowSystem::MessageBox(const Text& text, const Text& title, int /*style: OK, modal*/) {
  QMessageBox box(QMessageBox::NoIcon, FromText(title), FromText(text), QMessageBox::Ok);
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
  return kIdOk;
}

int QtWindowSystem::MessageBoxTimeout(WindowHandle owner, const Text& text, const Text& title,
                                      int /*style: OK*/, int timeoutMs) {
  QMessageBox box(QMessageBox::NoIcon, FromText(title), FromText(text), QMessageBox::Ok,
                  WidgetOf(owner));
  box.setWindowModality(WidgetOf(owner) ? Qt::WindowModal : Qt::ApplicationModal);
  bool timedOut = false;
  QTimer timer;
  timer.setSingleShot(true);
  QObject::connect(&timer, &QTimer::timeout, &box, [&] {
    timedOut = true;
    box.done(QMessageBox::Ok);
  });
  timer.start(std::max(0, timeoutMs));
  box.exec();
  return timedOut ? kIdTimeout : kIdOk;
}

FrontEnd::FrontEnd(CommandOptions options)
    : window_(BuildMainWindow()),
      controls_(*window_),
      commands_(controls_, windows_, std::move(options)) {
  for (const auto& spec : app::kMainWindowControls) {
    if (spec.handler == app::Handler::kNone) continue;
    auto* button = window_->findChild<QPushButton*>(Q(spec.name));
    QObject::connect(button, &QPushButton::clicked, window_.get(),
                     [this, handler = spec.handler] { commands_.Dispatch(handler); });
  }
}

FrontEnd::~FrontEnd() = default;

}  // namespace suozhi::platform::qt

namespace suozhi::platform {

bool DisplayAvailable() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* value = std::getenv(name);
    if (value && *value) return true;
  }
  return false;
}

int RunDesktopWindow(int& argc, char** argv, const CommandOptions& options) {
  QApplication application(argc, argv);
  QApplication::setStyle("Fusion");
  QFont font("WenQuanYi Micro Hei");
  font.setPointSize(9);
  QApplication::setFont(font);
  // While an answer is read, the window keeps processing its messages.
  rt::ProcessEventsHook pump([] { QCoreApplication::processEvents(); });
  qt::FrontEnd frontEnd(options);
  frontEnd.window().show();
  frontEnd.window().activateWindow();
  return application.exec();
}

}  // namespace suozhi::platform
