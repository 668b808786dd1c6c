// Qt's keys as the virtual-key codes the core's key handling expects.
#include <gtest/gtest.h>

#include "backends/qt/qt_keys.h"

namespace tasklane::qt {
namespace {

namespace k = platform::keys;

struct KeyRow {
  Qt::Key qtKey;
  int virtualKey;
};

const KeyRow keyRows[] = {
    {Qt::Key_Left, k::Left},         {Qt::Key_Right, k::Right},     {Qt::Key_Up, k::Up},
    {Qt::Key_Down, k::Down},         {Qt::Key_Home, k::Home},       {Qt::Key_End, k::End},
    {Qt::Key_PageUp, k::Prior},      {Qt::Key_PageDown, k::Next},   {Qt::Key_Insert, k::Insert},
    {Qt::Key_Delete, k::Delete},     {Qt::Key_Backspace, k::Back},  {Qt::Key_Return, k::Return},
    {Qt::Key_Enter, k::Return},      {Qt::Key_Escape, k::Escape},   {Qt::Key_Tab, k::Tab},
    {Qt::Key_Backtab, k::Tab},       {Qt::Key_F2, k::F2},           {Qt::Key_Shift, k::Shift},
    {Qt::Key_Control, k::Control},   {Qt::Key_Alt, k::Menu},        {Qt::Key_A, 65},
    {Qt::Key_C, 67},                 {Qt::Key_V, 86},               {Qt::Key_X, 88},
    {Qt::Key_Z, 90},                 {Qt::Key_0, 48},               {Qt::Key_9, 57},
    {Qt::Key_F1, 112},               {Qt::Key_F12, 123},            {Qt::Key_Space, 32},
    {Qt::Key_Semicolon, 186},        {Qt::Key_Question, 191},       {Qt::Key_BraceRight, 221},
    {Qt::Key_Adiaeresis, 0},         {Qt::Key_Menu, 0},
};

TEST(QtKeys, TranslateToVirtualKeys) {
  for (const KeyRow& row : keyRows) {
    EXPECT_EQ(VirtualKeyOf(row.qtKey), row.virtualKey) << "Qt key 0x" << std::hex << row.qtKey;
  }
}

TEST(QtKeys, EveryLetterAndDigitIsItsUpperCaseCode) {
  for (int i = 0; i < 26; ++i) EXPECT_EQ(VirtualKeyOf(Qt::Key_A + i), 'A' + i);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(VirtualKeyOf(Qt::Key_0 + i), '0' + i);
}

// A key typing no Latin letter keeps the code of its place, as on Windows: Ctrl+C copies
// on a Russian or Greek keyboard, and Shift+1 is the key 1.
TEST(QtKeys, KeysByTheirPlaceWhereTheLayoutTypesNoLatinLetter) {
  constexpr unsigned keycodeC = 54, keycodeV = 55, keycodeX = 53, keycode1 = 10, keycodeSemicolon = 47;
  EXPECT_EQ(VirtualKeyOf(0x0421 /* С */, keycodeC, true), 'C');
  EXPECT_EQ(VirtualKeyOf(0x041C /* М */, keycodeV, true), 'V');
  EXPECT_EQ(VirtualKeyOf(0x03A7 /* Χ */, keycodeX, true), 'X');
  EXPECT_EQ(VirtualKeyOf(Qt::Key_Exclam, keycode1, true), '1');
  EXPECT_EQ(VirtualKeyOf(0x0416 /* Ж */, keycodeSemicolon, true), 186);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_Q, 38, true), 'Q');  // a French A key types q: the layout's letter wins
  EXPECT_EQ(VirtualKeyOf(Qt::Key_Adiaeresis, 0, true), platform::keys::OtherCharacter);
}

TEST(QtKeys, ModifiersAndHeldButtons) {
  EXPECT_EQ(ShiftStateOf(Qt::NoModifier, Qt::NoButton), platform::ShiftState{});
  const platform::ShiftState all =
      ShiftStateOf(Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier,
                   Qt::LeftButton | Qt::RightButton | Qt::MiddleButton);
  EXPECT_EQ(all, (platform::ShiftState{true, true, true, true, true, true}));
  EXPECT_EQ(ShiftStateOf(Qt::ControlModifier, Qt::RightButton),
            (platform::ShiftState{false, true, false, false, true, false}));
  // The keypad and the Meta key are no modifiers the program knows.
  EXPECT_EQ(ShiftStateOf(Qt::KeypadModifier | Qt::MetaModifier, Qt::NoButton), platform::ShiftState{});
}

}  // namespace
}  // namespace tasklane::qt
