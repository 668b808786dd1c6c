// QtPlatform: the program's dialog windows (the info dialog).
//
//  [x] an ordinary window: a title bar with only the close box, a fixed size
//  [x] outer bounds with the window manager's frame, the client area the rest of them
//  [x] the core paints the client area; mouse, leaving and keys go to it in client terms
//  [x] the close box hides the window (a widget's close does); the core's object decides
//      when it goes, and a quit of the program is never refused
//  [x] one timer; the window system's move, or the window following the mouse without one
#include "backends/qt/qt_dialog_window.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>
#include <algorithm>

#include "backends/qt/qt_canvas.h"
#include "backends/qt/qt_keys.h"
#include "backends/qt/qt_platform.h"
#include "backends/qt/qt_text.h"

namespace tasklane::qt {

namespace {

platform::Point ClientPointOf(const QMouseEvent* event) {
  const QPoint point = event->position().toPoint();
  return {point.x(), point.y()};
}

}  // namespace

QtDialogWindow::QtDialogWindow(platform::DialogEvents& events) : events_(events) {
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                 Qt::MSWindowsFixedSizeDialogHint);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  QObject::connect(&timer_, &QTimer::timeout, this, [this] { events_.TimerTick(); });
}

void QtDialogWindow::SetTitle(std::u16string_view title) { setWindowTitle(QtString(title)); }

platform::Rect QtDialogWindow::OuterBounds() {
  const QRect frame = frameGeometry();
  return platform::Rect::FromBounds(frame.x(), frame.y(), frame.width(), frame.height());
}

void QtDialogWindow::SetOuterBounds(const platform::Rect& bounds) {
  outer_ = QRect(bounds.left, bounds.top, bounds.Width(), bounds.Height());
  ApplyOuterBounds();
}

// NOTE: the window manager's frame is known only once the window is shown in it; until then
// the client area is the whole, and it shrinks to fit when the frame arrives.
void QtDialogWindow::ApplyOuterBounds() {
  if (outer_.isNull()) return;
  const QRect frame = frameGeometry();
  const QRect client = geometry();
  appliedFrame_ = QMargins(client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
                           frame.bottom() - client.bottom());
  const QSize size = outer_.size().shrunkBy(appliedFrame_).expandedTo(QSize(1, 1));
  setFixedSize(size);
  move(outer_.topLeft());  // a window's position is that of its frame
}

void QtDialogWindow::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  const QRect frame = frameGeometry();
  const QRect client = geometry();
  const QMargins now(client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
                     frame.bottom() - client.bottom());
  if (now != appliedFrame_ && !following_) ApplyOuterBounds();
  else if (!outer_.isNull()) outer_.moveTopLeft(frame.topLeft());  // where the user put it
}

platform::Size QtDialogWindow::ClientSize() { return {width(), height()}; }

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
  QtCanvas canvas(painter);
  events_.Paint(canvas);
}

void QtDialogWindow::mousePressEvent(QMouseEvent* event) {
  pressGlobal_ = event->globalPosition().toPoint();
  platform::MouseButton button{};
  if (following_ || !MouseButtonOf(event->button(), button)) return;
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
  platform::MouseButton button{};
  if (!MouseButtonOf(event->button(), button)) return;
  events_.MouseUp(button, ClientPointOf(event), ShiftStateOf(event->modifiers(), event->buttons()));
}

void QtDialogWindow::mouseMoveEvent(QMouseEvent* event) {
  if (following_) {
    move(followStartPosition_ + event->globalPosition().toPoint() - followStart_);
    return;
  }
  events_.MouseMove(ClientPointOf(event), ShiftStateOf(event->modifiers(), event->buttons()));
}

void QtDialogWindow::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  events_.MouseLeave();
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
