// QtPlatform: the program's dialog windows (the info dialog).
//
//  [x] an ordinary window: a single-line border and a title bar with only the close box, drawn
//      here, so that no window manager adds a minimise or maximise box; a fixed size
//  [x] outer bounds are the window's, the client area what border and title bar leave
//  [x] the core paints the client area; mouse, leaving and keys go to it in client terms
//  [x] the close box hides the window (a widget's close does); the core's object decides
//      when it goes, and a quit of the program is never refused
//  [x] a press on the title bar moves the window, as on any other
//  [x] one timer; the window system's move, or the window following the mouse without one
#include "backends/qt/qt_dialog_window.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QWindow>
#include <algorithm>

#include "backends/qt/qt_canvas.h"
#include "backends/qt/qt_keys.h"
#include "backends/qt/qt_platform.h"
#include "backends/qt/qt_text.h"

namespace tasklane::qt {

namespace {

constexpr int border = 1;

}  // namespace

// NOTE: window managers differ in what they make of the hints for a close box alone (Openbox
// keeps its minimise box whatever the hints say); a frame of the window's own looks the same
// under all of them, and without one.
QtDialogWindow::QtDialogWindow(platform::DialogEvents& events) : events_(events) {
  setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  QObject::connect(&timer_, &QTimer::timeout, this, [this] { events_.TimerTick(); });
}

void QtDialogWindow::SetTitle(std::u16string_view title) {
  setWindowTitle(QtString(title));
  update();
}

platform::Rect QtDialogWindow::OuterBounds() {
  const QRect outer = geometry();
  return platform::Rect::FromBounds(outer.x(), outer.y(), outer.width(), outer.height());
}

void QtDialogWindow::SetOuterBounds(const platform::Rect& bounds) {
  setFixedSize(std::max(bounds.Width(), 1), std::max(bounds.Height(), 1));
  move(bounds.left, bounds.top);
}

QStyleOptionTitleBar QtDialogWindow::TitleBar() const {
  QStyleOptionTitleBar bar;
  bar.initFrom(this);
  bar.rect = QRect(border, border, width() - 2 * border, style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this));
  bar.text = windowTitle();
  bar.icon = windowIcon();
  // The system menu's flag is the one that brings the close box; no other box is asked for.
  bar.titleBarFlags = Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint;
  bar.subControls = QStyle::SC_TitleBarLabel | QStyle::SC_TitleBarSysMenu | QStyle::SC_TitleBarCloseButton;
  bar.titleBarState = isActiveWindow() ? Qt::WindowActive : Qt::WindowNoState;
  if (isActiveWindow()) bar.state |= QStyle::State_Active;
  if (closeBoxPressed_) {
    bar.activeSubControls = QStyle::SC_TitleBarCloseButton;
    bar.state |= QStyle::State_Sunken;
  }
  return bar;
}

QRect QtDialogWindow::ClientRect() const {
  const QRect bar = TitleBar().rect;
  return QRect(border, bar.bottom() + 1, width() - 2 * border, height() - bar.bottom() - 1 - border);
}

QRect QtDialogWindow::CloseBoxRect() const {
  const QStyleOptionTitleBar bar = TitleBar();
  return style()->subControlRect(QStyle::CC_TitleBar, &bar, QStyle::SC_TitleBarCloseButton, this);
}

bool QtDialogWindow::OnCloseBox(QPoint point) const { return CloseBoxRect().contains(point); }

platform::Point QtDialogWindow::ClientPointOf(const QMouseEvent* event) const {
  const QPoint point = event->position().toPoint() - ClientRect().topLeft();
  return {point.x(), point.y()};
}

platform::Size QtDialogWindow::ClientSize() {
  const QRect client = ClientRect();
  return {std::max(client.width(), 0), std::max(client.height(), 0)};
}

void QtDialogWindow::Show() {
  show();
  raise();
  activateWindow();
}

void QtDialogWindow::SetTimer(int intervalMs, bool enabled) {
  timer_.setInterval(std::max(intervalMs, 0));
  if (enabled) timer_.start();
  else timer_.stop();
}

void QtDialogWindow::StartSystemMove() {
  if (following_) return;
  if (QWindow* handle = windowHandle(); handle && handle->startSystemMove()) return;
  following_ = true;
  followStart_ = pressGlobal_;
  followStartPosition_ = pos();
  grabMouse();
}

void QtDialogWindow::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().color(QPalette::Dark));
  const QStyleOptionTitleBar bar = TitleBar();
  style()->drawComplexControl(QStyle::CC_TitleBar, &bar, &painter, this);
  const QRect client = ClientRect();
  painter.setClipRect(client);
  painter.translate(client.topLeft());
  QtCanvas canvas(painter);
  events_.Paint(canvas);
}

void QtDialogWindow::mousePressEvent(QMouseEvent* event) {
  pressGlobal_ = event->globalPosition().toPoint();
  const QPoint point = event->position().toPoint();
  if (following_) return;
  if (!ClientRect().contains(point)) {
    if (event->button() != Qt::LeftButton) return;
    closeBoxPressed_ = OnCloseBox(point);
    if (closeBoxPressed_) update();
    else if (TitleBar().rect.contains(point)) StartSystemMove();
    return;
  }
  platform::MouseButton button{};
  if (!MouseButtonOf(event->button(), button)) return;
  events_.MouseDown(button, ClientPointOf(event), ShiftStateOf(event->modifiers(), event->buttons()));
}

void QtDialogWindow::mouseDoubleClickEvent(QMouseEvent* event) { mousePressEvent(event); }

void QtDialogWindow::mouseReleaseEvent(QMouseEvent* event) {
  if (following_) {
    if (event->buttons().testFlag(Qt::LeftButton)) return;
    following_ = false;
    releaseMouse();
    return;
  }
  if (closeBoxPressed_) {
    closeBoxPressed_ = false;
    update();
    if (event->button() == Qt::LeftButton && OnCloseBox(event->position().toPoint())) close();
    return;
  }
  platform::MouseButton button{};
  if (!MouseButtonOf(event->button(), button)) return;
  events_.MouseUp(button, ClientPointOf(event), ShiftStateOf(event->modifiers(), event->buttons()));
}

void QtDialogWindow::mouseMoveEvent(QMouseEvent* event) {
  if (following_) {
    move(followStartPosition_ + event->globalPosition().toPoint() - followStart_);
    return;
  }
  if (closeBoxPressed_) return;
  const bool inClient = ClientRect().contains(event->position().toPoint());
  // The title bar and the border are outside the area the core knows.
  if (pointerInClient_ && !inClient) events_.MouseLeave();
  pointerInClient_ = inClient;
  if (!inClient) return;
  events_.MouseMove(ClientPointOf(event), ShiftStateOf(event->modifiers(), event->buttons()));
}

void QtDialogWindow::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  pointerInClient_ = false;
  events_.MouseLeave();
}

void QtDialogWindow::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  // The title bar looks different in an active window.
  if (event->type() == QEvent::ActivationChange) update();
}

void QtDialogWindow::keyPressEvent(QKeyEvent* event) {
  platform::ShiftState shift = ShiftStateOf(event->modifiers(), Qt::NoButton);
  if (event->key() == Qt::Key_Backtab) shift.shift = true;
  if (const int key = VirtualKeyOf(event->key()); key != 0) events_.KeyDown(key, shift);
}

std::unique_ptr<platform::DialogWindow> QtPlatform::CreateDialogWindow(platform::DialogEvents& events) {
  return std::make_unique<QtDialogWindow>(events);
}

}  // namespace tasklane::qt
