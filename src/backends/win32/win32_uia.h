// UI Automation's view of the main window: the same parts as MSAA's (win32_parts.h), as
// fragments with the patterns a table, its cells, an edit box and push buttons have, and the
// core's changes as UI Automation's events. Windows without UI Automation get MSAA alone.
#pragma once

#include <windows.h>

#include <string>

#include "backends/win32/win32_parts.h"

namespace tasklane::win32 {

// WM_GETOBJECT asks for this object id when a UI Automation client wants the window's root.
constexpr LONG uiaRootObjectId = -25;

LRESULT AnswerUiaRoot(HWND window, WPARAM wParam, LPARAM lParam);
// Events, for the clients listening. The window's state keeps whether a client asked for its
// root: until one has, none holds an element of it, and the library need not be loaded.
void RaiseUiaFocus(HWND window, const PartId& part);
void RaiseUiaValue(HWND window, const PartId& part, const std::u16string& value);
void RaiseUiaStructure(HWND window);
// The window is going: UI Automation lets go of its providers.
void EndUia(HWND window);

}  // namespace tasklane::win32
