// The program's icon at the sizes Windows asks for.
#pragma once

#include <windows.h>

namespace tasklane::win32 {

// The icon of `size` x `size` pixels, the caller's to destroy. Never a shared load: Windows
// keeps one shared icon per resource, the first size asked for, whatever size a later load
// wants.
HICON ProgramIcon(HINSTANCE instance, int size);

// The size of an icon's picture; 0 x 0 when it cannot be read.
SIZE IconSize(HICON icon);

// The small icon's size on a screen of `dpi`, as the notification area and the title bars draw it.
int SmallIconSize(int dpi);

}  // namespace tasklane::win32
