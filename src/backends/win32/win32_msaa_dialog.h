// MSAA's view of a dialog window's client area: the texts, links and buttons the core lists
// for it, as simple elements. The title bar and its close box are the system's own.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include "backends/win32/win32_dpi.h"
#include "platform/Platform.h"

namespace tasklane::win32 {

// A screen reader's activation of a part, carried out once its call has returned.
constexpr UINT dialogActivateMessage = WM_APP + 3;

// What the object reads through its window, looked up on every call: false once the window
// has no dialog behind it.
struct DialogReading {
  platform::DialogEvents* events = nullptr;
  DpiScale scale;
};
using DialogLookup = bool (*)(HWND window, DialogReading& reading);

// The client area's object, with one reference for the caller.
IAccessible* NewDialogAccessible(HWND window, DialogLookup lookup);

}  // namespace tasklane::win32
