// Qt key codes to the Windows virtual-key codes the core's key handling speaks.
//
//  [x] arrows, Home, End, Page Up and Down, Insert, Delete, Backspace
//  [x] Return and the keypad's Enter (both 13), Escape, Tab and Backtab, Space, F1-F24
//  [x] letters A-Z (65-90) and digits 0-9 (48-57), the modifier keys themselves
//  [x] keys by their place on the keyboard where the layout types no Latin letter on them
//      (Cyrillic, Greek, the shifted digit row), as Windows gives them their codes
//  [x] punctuation keys as Windows' OEM codes, any other typing key as one code of its own
//  [x] the left, right and middle mouse buttons
#include "backends/qt/qt_keys.h"

namespace tasklane::qt {

namespace k = platform::keys;

namespace {

// The code of the key at an XKB keycode (the evdev scan code + 8), by the US layout's places:
// what Windows gives a Russian or Greek keyboard's keys, which carry the same codes as the
// Latin keys at their place.
int CodeAtPlace(unsigned keycode) {
  static constexpr char digitRow[] = "1234567890";  // keycodes 10-19
  static constexpr char upperRow[] = "QWERTYUIOP";  // 24-33
  static constexpr char homeRow[] = "ASDFGHJKL";    // 38-46
  static constexpr char lowerRow[] = "ZXCVBNM";     // 52-58
  if (keycode >= 10 && keycode <= 19) return digitRow[keycode - 10];
  if (keycode >= 24 && keycode <= 33) return upperRow[keycode - 24];
  if (keycode >= 38 && keycode <= 46) return homeRow[keycode - 38];
  if (keycode >= 52 && keycode <= 58) return lowerRow[keycode - 52];
  switch (keycode) {
    case 20: return k::OemMinus;
    case 21: return k::OemPlus;
    case 34: return k::Oem4;
    case 35: return k::Oem6;
    case 47: return k::Oem1;
    case 48: return k::Oem7;
    case 49: return k::Oem3;
    case 51: return k::Oem5;
    case 59: return k::OemComma;
    case 60: return k::OemPeriod;
    case 61: return k::Oem2;
    case 94: return k::Oem102;
    default: return 0;
  }
}

// US punctuation, shifted or not, where the keyboard's place is not known.
int PunctuationCode(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Semicolon: case Qt::Key_Colon: return k::Oem1;
    case Qt::Key_Equal: case Qt::Key_Plus: return k::OemPlus;
    case Qt::Key_Comma: case Qt::Key_Less: return k::OemComma;
    case Qt::Key_Minus: case Qt::Key_Underscore: return k::OemMinus;
    case Qt::Key_Period: case Qt::Key_Greater: return k::OemPeriod;
    case Qt::Key_Slash: case Qt::Key_Question: return k::Oem2;
    case Qt::Key_QuoteLeft: case Qt::Key_AsciiTilde: return k::Oem3;
    case Qt::Key_BracketLeft: case Qt::Key_BraceLeft: return k::Oem4;
    case Qt::Key_Backslash: case Qt::Key_Bar: return k::Oem5;
    case Qt::Key_BracketRight: case Qt::Key_BraceRight: return k::Oem6;
    case Qt::Key_Apostrophe: case Qt::Key_QuoteDbl: return k::Oem7;
    default: return 0;
  }
}

int NamedKeyCode(int qtKey) {
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return 'A' + (qtKey - Qt::Key_A);
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return '0' + (qtKey - Qt::Key_0);
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return k::F1 + (qtKey - Qt::Key_F1);
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
    case Qt::Key_Space: return k::Space;
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
    default: return 0;
  }
}

}  // namespace

int VirtualKeyOf(int qtKey, unsigned keycode, bool typesText) {
  const int named = NamedKeyCode(qtKey);
  if (named != 0) return named;
  // NOTE: Qt names a key by the character it types; a key typing no Latin letter or digit
  // keeps its Windows code by its place, so Ctrl+C copies on a Russian keyboard too.
  const int placed = CodeAtPlace(keycode);
  if (placed != 0) return placed;
  if (const int punctuation = PunctuationCode(qtKey); punctuation != 0) return punctuation;
  return typesText ? k::OtherCharacter : 0;
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
