// Screen readers on Windows: the main window as the core describes it, answered to
// WM_GETOBJECT with MSAA's IAccessible for the client area (UI Automation reads it through
// its MSAA proxy), and the core's changes as WinEvents. The editor's caret is also the
// system's caret, hidden, which is where screen readers and magnifiers look for it.
#pragma once

#include <windows.h>

#include "platform/Accessible.h"

namespace tasklane::win32 {

struct Win32State;

// A press on a button that a screen reader asked for, carried out once its call has returned:
// a press may close the window.
constexpr UINT accessiblePressMessage = WM_APP + 2;

LRESULT AnswerGetObject(HWND window, WPARAM wParam, LPARAM lParam);
void TellAccessibility(Win32State& state, const platform::AccessibleEvent& event);
void PressAccessibleButton(Win32State& state, int id);
// The window is going: the system caret goes with it.
void EndAccessibility(Win32State& state);

}  // namespace tasklane::win32
