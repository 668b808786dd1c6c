// Qt's keys and modifiers in the terms of platform/Keys.h.
#pragma once

#include <Qt>

#include "platform/Keys.h"

namespace tasklane::qt {

// The virtual-key code of a Qt key. `keycode` is the key's XKB keycode where the window
// system tells it (0 where not); `typesText` that the key typed a character. 0 for a key
// the program has no code for.
int VirtualKeyOf(int qtKey, unsigned keycode = 0, bool typesText = false);

platform::ShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons);

// False for a button the core has no name for.
bool MouseButtonOf(Qt::MouseButton qtButton, platform::MouseButton& button);

}  // namespace tasklane::qt
