// Keys by their virtual-key codes, the codes the program's key handling speaks, and the
// modifier and mouse-button state that comes with input.
#pragma once

#include <cstdint>

namespace tasklane::platform {

namespace keys {
inline constexpr int Back = 8;
inline constexpr int Tab = 9;
inline constexpr int Return = 13;
inline constexpr int Shift = 16;
inline constexpr int Control = 17;
inline constexpr int Menu = 18;  // Alt
inline constexpr int Escape = 27;
inline constexpr int Space = 32;
inline constexpr int Prior = 33;  // Page Up
inline constexpr int Next = 34;   // Page Down
inline constexpr int End = 35;
inline constexpr int Home = 36;
inline constexpr int Left = 37;
inline constexpr int Up = 38;
inline constexpr int Right = 39;
inline constexpr int Down = 40;
inline constexpr int Insert = 45;
inline constexpr int Delete = 46;
inline constexpr int F1 = 112;  // F1 to F24 follow one another
inline constexpr int F2 = 113;
// Punctuation keys, by their places on a US keyboard.
inline constexpr int Oem1 = 186;  // ; :
inline constexpr int OemPlus = 187;
inline constexpr int OemComma = 188;
inline constexpr int OemMinus = 189;
inline constexpr int OemPeriod = 190;
inline constexpr int Oem2 = 191;  // / ?
inline constexpr int Oem3 = 192;  // ` ~
inline constexpr int Oem4 = 219;  // [ {
inline constexpr int Oem5 = 220;  // \ |
inline constexpr int Oem6 = 221;  // ] }
inline constexpr int Oem7 = 222;  // ' "
inline constexpr int OtherCharacter = 223;  // a key that types a character and has no other code
inline constexpr int Oem102 = 226;  // the key beside the left Shift on European keyboards
// Letters and digits are their upper-case ASCII codes: 'A' is 65, 'C' 67, 'V' 86, 'X' 88.
}  // namespace keys

enum class MouseButton { Left, Right, Middle };

struct ShiftState {
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
  bool left = false;  // mouse buttons held
  bool right = false;
  bool middle = false;
  friend bool operator==(const ShiftState&, const ShiftState&) = default;
};

}  // namespace tasklane::platform
