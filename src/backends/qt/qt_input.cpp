// The main window's input: mouse, wheel, keys, typed text and focus, each turned into one call
// on the main window in window coordinates; the core finds the control it belongs to.
//
//  [x] press, release, move, double click of the left, right and middle buttons, after the
//      frame has had its look at them (qt_drag.cpp)
//  [x] leaving the window, so that no button keeps its hover face
//  [x] the wheel, one call per notch
//  [x] keys as virtual-key codes (by their place where the layout types no Latin letter),
//      then the typed text character by character
//  [x] text from input methods (dead keys, compose, input methods), their composition shown
//      at the caret as they mark it, and what they ask: the caret's place, the font, the text around it
//  [x] focus in and out of the window
#include <QFocusEvent>
#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTextCharFormat>
#include <QWheelEvent>

#include "backends/qt/qt_fonts.h"
#include "backends/qt/qt_keys.h"
#include "backends/qt/qt_text.h"
#include "backends/qt/qt_window.h"
#include "mainwindow/ToDoUnit.h"

namespace tasklane::qt {

namespace {

constexpr int wheelNotch = 120;  // eighths of a degree

// NOTE: on X11 and Wayland the native scan code is the XKB keycode, the key's place on the
// keyboard; other window systems number their keys otherwise.
unsigned KeyPlaceOf(const QKeyEvent& event) {
  const QString system = QGuiApplication::platformName();
  return system == u"xcb" || system.startsWith(u"wayland") ? event.nativeScanCode() : 0;
}

platform::Point PointOf(const QPointF& position) {
  const QPoint point = position.toPoint();
  return {point.x(), point.y()};
}

}  // namespace

void QtWindow::MouseButtonEvent(QMouseEvent* event, bool press, bool doubleClick) {
  if (press) pressGlobal_ = event->globalPosition().toPoint();
  if (press ? FramePress(event) : FrameRelease(event)) return;
  platform::MouseButton button{};
  if (!form_ || !MouseButtonOf(event->button(), button)) return;
  const platform::ShiftState shift = ShiftStateOf(event->modifiers(), event->buttons());
  if (press) form_->FormMouseDown(button, PointOf(event->position()), shift, doubleClick);
  else form_->FormMouseUp(button, PointOf(event->position()), shift);
}

void QtWindow::mousePressEvent(QMouseEvent* event) { MouseButtonEvent(event, true, false); }
void QtWindow::mouseReleaseEvent(QMouseEvent* event) { MouseButtonEvent(event, false, false); }
void QtWindow::mouseDoubleClickEvent(QMouseEvent* event) { MouseButtonEvent(event, true, true); }

void QtWindow::mouseMoveEvent(QMouseEvent* event) {
  if (FrameMove(event)) return;
  if (form_) form_->FormMouseMove(PointOf(event->position()), ShiftStateOf(event->modifiers(), event->buttons()));
}

void QtWindow::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  // Far outside every control: the buttons show their normal faces again.
  if (form_) form_->FormMouseMove({-10000, -10000}, {});
}

void QtWindow::wheelEvent(QWheelEvent* event) {
  if (!form_) return;
  // NOTE: touch pads send many small steps; they add up to whole notches here.
  wheelRemainder_ += event->angleDelta().y();
  const platform::ShiftState shift = ShiftStateOf(event->modifiers(), event->buttons());
  while (wheelRemainder_ >= wheelNotch || wheelRemainder_ <= -wheelNotch) {
    const bool down = wheelRemainder_ < 0;
    wheelRemainder_ += down ? wheelNotch : -wheelNotch;
    form_->FormMouseWheel(down, PointOf(event->position()), shift);
  }
}

void QtWindow::keyPressEvent(QKeyEvent* event) {
  if (!form_) return;
  platform::ShiftState shift = ShiftStateOf(event->modifiers(), Qt::NoButton);
  if (event->key() == Qt::Key_Backtab) shift.shift = true;
  const int key = VirtualKeyOf(event->key(), KeyPlaceOf(*event), !event->text().isEmpty());
  if (key != 0) form_->FormKeyDown(key, shift);
  // The caret may have moved: the input method's candidates follow it.
  QGuiApplication::inputMethod()->update(Qt::ImQueryInput);
  // NOTE: X11 gives Ctrl+key and Alt+key text of their own, where Windows sends a control
  // character or a system key that no control types; only Ctrl+Alt (AltGr there) types.
  if (shift.ctrl != shift.alt) return;
  TypeText(event->text());
}

// The commit is typed text; the composition that follows it shows at the caret, with the
// input method's own caret in it.
void QtWindow::inputMethodEvent(QInputMethodEvent* event) {
  event->accept();
  if (!form_) return;
  if (event->replacementLength() > 0) {
    form_->FormReplaceAroundCaret(event->replacementStart(), event->replacementLength(), CoreString(event->commitString()));
  } else {
    TypeText(event->commitString());
  }
  const QString preedit = event->preeditString();
  int cursor = static_cast<int>(preedit.size());
  std::vector<ui::CompositionStyle> styles;
  for (const QInputMethodEvent::Attribute& attribute : event->attributes()) {
    if (attribute.type == QInputMethodEvent::Cursor) cursor = attribute.start;
    if (attribute.type != QInputMethodEvent::TextFormat) continue;
    const QTextCharFormat format = attribute.value.value<QTextFormat>().toCharFormat();
    styles.push_back({attribute.start, attribute.length,
                      format.fontUnderline() || format.underlineStyle() != QTextCharFormat::NoUnderline,
                      format.background().style() != Qt::NoBrush});
  }
  form_->FormCompose(CoreString(preedit), cursor, std::move(styles));
  QGuiApplication::inputMethod()->update(Qt::ImQueryInput);
}

QVariant QtWindow::inputMethodQuery(Qt::InputMethodQuery query) const {
  if (!form_) return QWidget::inputMethodQuery(query);
  const mainwindow::TToDoForm::TextInput input = form_->FormTextInput();
  switch (query) {
    case Qt::ImEnabled: return input.enabled;
    case Qt::ImCursorRectangle:
      return QRect(input.caret.left, input.caret.top, input.caret.Width(), input.caret.Height());
    case Qt::ImFont: return QtFontOf(input.font);
    case Qt::ImSurroundingText: return QtString(input.text);
    case Qt::ImCursorPosition: return input.cursor;
    case Qt::ImAnchorPosition: return input.anchor;
    default: return QWidget::inputMethodQuery(query);
  }
}

void QtWindow::TypeText(const QString& text) {
  for (const QChar c : text) {
    const char16_t unit = c.unicode();
    // Control characters, C1 ones included, are keys, not text.
    if (unit < 0x20 || (unit >= 0x7F && unit < 0xA0)) continue;
    form_->FormChar(unit);
  }
}

void QtWindow::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  if (form_) {
    form_->ToDoGrid.SetFocused(GridIsActiveControl());
    form_->Accessible.TellChanges();
  }
  update();
}

void QtWindow::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  if (form_) {
    form_->ToDoGrid.SetFocused(false);
    form_->Accessible.TellChanges();
  }
  update();
}

// NOTE: QWidget spends Tab and Shift+Tab on moving the focus between its child widgets, and
// the core's controls are none of them: the keys go to keyPressEvent instead.
bool QtWindow::focusNextPrevChild(bool /*next*/) { return false; }

}  // namespace tasklane::qt
