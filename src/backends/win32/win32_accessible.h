// Screen readers on Windows: the main window as the core describes it, answered to
// WM_GETOBJECT with MSAA's IAccessible for the client area and with UI Automation's
// providers, and the core's changes as WinEvents and UI Automation's events. The editor's
// caret is also the system's caret, hidden, which is where screen readers and magnifiers
// look for it.
#pragma once

#include <windows.h>

#include "platform/Accessible.h"

namespace tasklane::win32 {

struct Win32State;

// A press on a button that a screen reader asked for, carried out once its call has returned:
// a press may close the window.
constexpr UINT accessiblePressMessage = WM_APP + 2;

LRESULT AnswerGetObject(Win32State& state, HWND window, WPARAM wParam, LPARAM lParam);
void TellAccessibility(Win32State& state, const platform::AccessibleEvent& event);
void PressAccessibleButton(Win32State& state, int id);
// The window lost the keyboard: the system caret goes until the editor has it again.
void HideSystemCaret(Win32State& state);
// The window is going: the system caret goes with it, and UI Automation lets go of it.
void EndAccessibility(Win32State& state);

}  // namespace tasklane::win32
