// The main window's input: mouse, wheel, keys, typed text and focus, each turned into one call
// on the grid in its own client coordinates.
//
//  [x] press, release, move, double click of the left, right and middle buttons
//  [x] a press on the grid makes it the active control; its drag stays with it
//  [x] the wheel, one call per notch
//  [x] keys as virtual-key codes, then the typed text character by character
//  [x] text from input methods (dead keys, compose, input methods)
//  [x] focus in and out of the window
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include "backends/qt/qt_keys.h"
#include "backends/qt/qt_window.h"
#include "mainwindow/ToDoUnit.h"

namespace tasklane::qt {

namespace {

constexpr int wheelNotch = 120;  // eighths of a degree

bool ButtonOf(Qt::MouseButton qtButton, platform::MouseButton& button) {
  switch (qtButton) {
    case Qt::LeftButton: button = platform::MouseButton::Left; return true;
    case Qt::RightButton: button = platform::MouseButton::Right; return true;
    case Qt::MiddleButton: button = platform::MouseButton::Middle; return true;
    default: return false;
  }
}

}  // namespace

bool QtWindow::GridPoint(QPoint window, bool grabbed, platform::Point& client) const {
  if (!form_ || !form_->ToDoGrid.Visible()) return false;
  const platform::Rect bounds = form_->ToDoGrid.Bounds();
  if (!grabbed && !bounds.Contains({window.x(), window.y()})) return false;
  client = {window.x() - bounds.left - 1, window.y() - bounds.top - 1};
  return true;
}

void QtWindow::MouseButtonEvent(QMouseEvent* event, bool press, bool doubleClick) {
  platform::MouseButton button{};
  if (!ButtonOf(event->button(), button)) return;
  const platform::ShiftState shift = ShiftStateOf(event->modifiers(), event->buttons());
  platform::Point point;
  if (press) {
    if (!GridPoint(event->position().toPoint(), false, point)) return;
    gridHasMouse_ = true;
    form_->SetActiveControl(&form_->ToDoGrid);
    form_->ToDoGrid.MouseDown(button, point, shift, doubleClick);
    return;
  }
  const bool grabbed = gridHasMouse_;
  if (event->buttons() == Qt::NoButton) gridHasMouse_ = false;
  if (GridPoint(event->position().toPoint(), grabbed, point)) form_->ToDoGrid.MouseUp(button, point, shift);
}

void QtWindow::mousePressEvent(QMouseEvent* event) { MouseButtonEvent(event, true, false); }
void QtWindow::mouseReleaseEvent(QMouseEvent* event) { MouseButtonEvent(event, false, false); }
void QtWindow::mouseDoubleClickEvent(QMouseEvent* event) { MouseButtonEvent(event, true, true); }

void QtWindow::mouseMoveEvent(QMouseEvent* event) {
  platform::Point point;
  if (!GridPoint(event->position().toPoint(), gridHasMouse_, point)) return;
  form_->ToDoGrid.MouseMove(point, ShiftStateOf(event->modifiers(), event->buttons()));
}

void QtWindow::wheelEvent(QWheelEvent* event) {
  platform::Point point;
  if (!GridPoint(event->position().toPoint(), false, point)) return;
  // NOTE: touch pads send many small steps; they add up to whole notches here.
  wheelRemainder_ += event->angleDelta().y();
  const platform::ShiftState shift = ShiftStateOf(event->modifiers(), event->buttons());
  while (wheelRemainder_ >= wheelNotch || wheelRemainder_ <= -wheelNotch) {
    const bool down = wheelRemainder_ < 0;
    wheelRemainder_ += down ? wheelNotch : -wheelNotch;
    form_->ToDoGrid.MouseWheel(down, point, shift);
  }
}

void QtWindow::keyPressEvent(QKeyEvent* event) {
  if (!GridIsActiveControl()) return;
  platform::ShiftState shift = ShiftStateOf(event->modifiers(), Qt::NoButton);
  if (event->key() == Qt::Key_Backtab) shift.shift = true;
  if (const int key = VirtualKeyOf(event->key()); key != 0) form_->ToDoGrid.KeyDown(key, shift);
  // NOTE: X11 gives Ctrl+key and Alt+key text of their own, where Windows sends a control
  // character or a system key that no control types; only Ctrl+Alt (AltGr there) types.
  if (shift.ctrl != shift.alt) return;
  // The key handler may have moved the focus away from the grid.
  if (GridIsActiveControl()) TypeText(event->text());
}

void QtWindow::inputMethodEvent(QInputMethodEvent* event) {
  if (GridIsActiveControl()) TypeText(event->commitString());
  event->accept();
}

void QtWindow::TypeText(const QString& text) {
  for (const QChar c : text) {
    const char16_t unit = c.unicode();
    // Control characters, C1 ones included, are keys, not text.
    if (unit < 0x20 || (unit >= 0x7F && unit < 0xA0)) continue;
    form_->ToDoGrid.Char(unit);
  }
}

void QtWindow::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  if (form_) form_->ToDoGrid.SetFocused(GridIsActiveControl());
  update();
}

void QtWindow::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  if (form_) form_->ToDoGrid.SetFocused(false);
  update();
}

// NOTE: QWidget spends Tab and Shift+Tab on moving the focus between its child widgets, and
// the core's controls are none of them: the keys go to keyPressEvent instead.
bool QtWindow::focusNextPrevChild(bool /*next*/) { return false; }

}  // namespace tasklane::qt
