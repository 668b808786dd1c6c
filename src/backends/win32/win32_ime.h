// The input method's windows: its composition stands at the caret, its candidates below it,
// in the editor's font at the screen's scale.
#pragma once

#include <windows.h>

#include "backends/win32/win32_dpi.h"
#include "platform/Canvas.h"

namespace tasklane::win32 {

// `caret` in the window's logical client coordinates. Only the window's own thread may do this:
// an input context belongs to its thread.
void PlaceInputMethod(HWND window, const platform::Rect& caret, const platform::Font& font, const DpiScale& scale);

}  // namespace tasklane::win32
