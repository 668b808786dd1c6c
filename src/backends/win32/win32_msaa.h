// MSAA's view of the main window: one IAccessible per part (the client area, the table, its
// rows and cells, the editor, a button), each reading the core's description through the
// window whenever it is asked, so that an object a screen reader keeps never goes stale: once
// the window is gone it answers that it is disconnected.
#pragma once

#include <windows.h>
#include <oleacc.h>

namespace tasklane::win32 {

// The client area's object, with one reference for the caller.
IAccessible* NewClientAccessible(HWND window);

// The child ids that WinEvents on OBJID_CLIENT name the parts by; the client area's object
// gives the part for each. 0 (CHILDID_SELF) when a cell has no id of its own.
LONG CellEventId(HWND window, int col, int row);
LONG EditorEventId();

}  // namespace tasklane::win32
