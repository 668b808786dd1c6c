// The main window's mouse and keys, handed to the core's form in its logical pixels.
//
//  [x] press, release, double click, move, leave, wheel, capture while a button is held
//  [x] keys by virtual-key code (WM_KEYDOWN, WM_SYSKEYDOWN), typed text by WM_CHAR
//  [x] the input method's windows at the caret (WM_IME_STARTCOMPOSITION); its result as WM_CHAR
#include <windows.h>
#include <windowsx.h>

#include "backends/win32/win32_ime.h"
#include "backends/win32/win32_state.h"
#include "mainwindow/ToDoUnit.h"

namespace tasklane::win32 {

namespace {

platform::ShiftState HeldButtons() {
  WPARAM flags = 0;
  if (GetKeyState(VK_LBUTTON) < 0) flags |= MK_LBUTTON;
  if (GetKeyState(VK_RBUTTON) < 0) flags |= MK_RBUTTON;
  if (GetKeyState(VK_MBUTTON) < 0) flags |= MK_MBUTTON;
  return ShiftStateOf(flags);
}

platform::Point ClientPointOf(const Win32State& state, LPARAM lParam) {
  return state.scale.Logical(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
}

// A mouse message: which button, pressed or released, and whether it is the second press of
// a double click.
struct MouseAction {
  platform::MouseButton button;
  bool press;
  bool doubleClick;
};

bool MouseActionOf(UINT message, MouseAction& action) {
  using platform::MouseButton;
  switch (message) {
    case WM_LBUTTONDOWN: action = {MouseButton::Left, true, false}; return true;
    case WM_LBUTTONUP: action = {MouseButton::Left, false, false}; return true;
    case WM_LBUTTONDBLCLK: action = {MouseButton::Left, true, true}; return true;
    case WM_RBUTTONDOWN: action = {MouseButton::Right, true, false}; return true;
    case WM_RBUTTONUP: action = {MouseButton::Right, false, false}; return true;
    case WM_RBUTTONDBLCLK: action = {MouseButton::Right, true, true}; return true;
    case WM_MBUTTONDOWN: action = {MouseButton::Middle, true, false}; return true;
    case WM_MBUTTONUP: action = {MouseButton::Middle, false, false}; return true;
    case WM_MBUTTONDBLCLK: action = {MouseButton::Middle, true, true}; return true;
    default: return false;
  }
}

// The button that took the press keeps the mouse until every button is up again, as a
// dragged column border or scroll-bar thumb needs.
void OnMouseButton(Win32State& state, HWND window, const MouseAction& action, WPARAM wParam, LPARAM lParam) {
  if (!state.form) return;
  const platform::ShiftState shift = ShiftStateOf(wParam);
  if (action.press) {
    SetCapture(window);
    state.form->FormMouseDown(action.button, ClientPointOf(state, lParam), shift, action.doubleClick);
  } else {
    if (!shift.left && !shift.right && !shift.middle) ReleaseCapture();
    state.form->FormMouseUp(action.button, ClientPointOf(state, lParam), shift);
  }
}

void OnMouseMove(Win32State& state, HWND window, WPARAM wParam, LPARAM lParam) {
  if (!state.trackingLeave) {
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, window, 0};
    state.trackingLeave = TrackMouseEvent(&track) != FALSE;
  }
  if (state.form) state.form->FormMouseMove(ClientPointOf(state, lParam), ShiftStateOf(wParam));
}

// Far outside every control: the buttons show their normal faces again.
void OnMouseLeave(Win32State& state) {
  state.trackingLeave = false;
  if (state.form) state.form->FormMouseMove({-10000, -10000}, {});
}

void OnWheel(Win32State& state, HWND window, WPARAM wParam, LPARAM lParam) {
  if (!state.form) return;
  POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};  // on the screen
  ScreenToClient(window, &point);
  // NOTE: touch pads send many small steps; they add up to whole notches here.
  state.wheelRemainder += GET_WHEEL_DELTA_WPARAM(wParam);
  const platform::ShiftState shift = ShiftStateOf(GET_KEYSTATE_WPARAM(wParam));
  while (state.wheelRemainder >= WHEEL_DELTA || state.wheelRemainder <= -WHEEL_DELTA) {
    const bool down = state.wheelRemainder < 0;
    state.wheelRemainder += down ? WHEEL_DELTA : -WHEEL_DELTA;
    state.form->FormMouseWheel(down, state.scale.Logical(point), shift);
  }
}

void OnKeyDown(Win32State& state, WPARAM wParam) {
  if (state.form) state.form->FormKeyDown(static_cast<int>(wParam), HeldButtons());
}

// One UTF-16 code unit a message; a character beyond the first plane comes as its two
// halves in a row, which the editor keeps together.
void OnChar(Win32State& state, WPARAM wParam) {
  const auto unit = static_cast<char16_t>(wParam);
  if (unit < 0x20 || unit == 0x7F) return;  // control characters are keys, not text
  if (state.form) state.form->FormChar(unit);
}

// The input method composes in windows of its own; its result comes as WM_CHAR.
void PlaceComposition(Win32State& state, HWND window) {
  if (!state.form) return;
  const mainwindow::TToDoForm::TextInput input = state.form->FormTextInput();
  if (input.enabled) PlaceInputMethod(window, input.caret, input.font, state.scale);
}

}  // namespace

LRESULT MouseOrKey(Win32State& state, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  MouseAction action{};
  if (MouseActionOf(message, action)) {
    OnMouseButton(state, window, action, wParam, lParam);
    return 0;
  }
  switch (message) {
    case WM_MOUSEMOVE: OnMouseMove(state, window, wParam, lParam); return 0;
    case WM_MOUSELEAVE: OnMouseLeave(state); return 0;
    case WM_MOUSEWHEEL: OnWheel(state, window, wParam, lParam); return 0;
    case WM_KEYDOWN: OnKeyDown(state, wParam); return 0;
    // Alt+F4 and the other system keys keep their meaning after the core has seen them.
    case WM_SYSKEYDOWN: OnKeyDown(state, wParam); return DefWindowProcW(window, message, wParam, lParam);
    case WM_CHAR: OnChar(state, wParam); return 0;
    case WM_IME_STARTCOMPOSITION:
      PlaceComposition(state, window);
      return DefWindowProcW(window, message, wParam, lParam);
    default: return DefWindowProcW(window, message, wParam, lParam);
  }
}

platform::ShiftState ShiftStateOf(WPARAM mouseFlags) {
  platform::ShiftState shift;
  shift.shift = GetKeyState(VK_SHIFT) < 0;
  shift.ctrl = GetKeyState(VK_CONTROL) < 0;
  shift.alt = GetKeyState(VK_MENU) < 0;
  shift.left = (mouseFlags & MK_LBUTTON) != 0;
  shift.right = (mouseFlags & MK_RBUTTON) != 0;
  shift.middle = (mouseFlags & MK_MBUTTON) != 0;
  return shift;
}

}  // namespace tasklane::win32
