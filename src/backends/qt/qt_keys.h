// Qt's keys and modifiers in the terms of platform/Keys.h.
#pragma once

#include <Qt>

#include "platform/Keys.h"

namespace tasklane::qt {

// The virtual-key code of a Qt key, 0 for a key the program has no code for.
int VirtualKeyOf(int qtKey);

platform::ShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons);

// False for a button the core has no name for.
bool MouseButtonOf(Qt::MouseButton qtButton, platform::MouseButton& button);

}  // namespace tasklane::qt
