// Qt key codes to the Windows virtual-key codes the core's key handling speaks.
//
//  [x] arrows, Home, End, Page Up and Down, Insert, Delete, Backspace
//  [x] Return and the keypad's Enter (both 13), Escape, Tab and Backtab, F2
//  [x] letters A-Z (65-90) and digits 0-9 (48-57), the modifier keys themselves
//  [x] the left, right and middle mouse buttons
#include "backends/qt/qt_keys.h"

namespace tasklane::qt {

namespace k = platform::keys;

int VirtualKeyOf(int qtKey) {
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return 'A' + (qtKey - Qt::Key_A);
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return '0' + (qtKey - Qt::Key_0);
  switch (qtKey) {
    case Qt::Key_Backspace: return k::Back;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return k::Tab;  // Backtab is Shift+Tab; the caller adds the Shift
    case Qt::Key_Return:
    case Qt::Key_Enter: return k::Return;
    case Qt::Key_Shift: return k::Shift;
    case Qt::Key_Control: return k::Control;
    case Qt::Key_Alt: return k::Menu;
    case Qt::Key_Escape: return k::Escape;
    case Qt::Key_PageUp: return k::Prior;
    case Qt::Key_PageDown: return k::Next;
    case Qt::Key_End: return k::End;
    case Qt::Key_Home: return k::Home;
    case Qt::Key_Left: return k::Left;
    case Qt::Key_Up: return k::Up;
    case Qt::Key_Right: return k::Right;
    case Qt::Key_Down: return k::Down;
    case Qt::Key_Insert: return k::Insert;
    case Qt::Key_Delete: return k::Delete;
    case Qt::Key_F2: return k::F2;
    default: return 0;
  }
}

platform::ShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
  platform::ShiftState state;
  state.shift = modifiers.testFlag(Qt::ShiftModifier);
  state.ctrl = modifiers.testFlag(Qt::ControlModifier);
  state.alt = modifiers.testFlag(Qt::AltModifier);
  state.left = buttons.testFlag(Qt::LeftButton);
  state.right = buttons.testFlag(Qt::RightButton);
  state.middle = buttons.testFlag(Qt::MiddleButton);
  return state;
}

bool MouseButtonOf(Qt::MouseButton qtButton, platform::MouseButton& button) {
  switch (qtButton) {
    case Qt::LeftButton: button = platform::MouseButton::Left; return true;
    case Qt::RightButton: button = platform::MouseButton::Right; return true;
    case Qt::MiddleButton: button = platform::MouseButton::Middle; return true;
    default: return false;
  }
}

}  // namespace tasklane::qt
