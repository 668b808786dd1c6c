// The main window: its class, its creation and its window procedure, which hands each message
// family to one small handler that turns it into a call on the core.
//
//  [x] class "TToDoForm", caption "Tasklane", WS_POPUP (client = outer), WS_EX_TOOLWINDOW
//      without WS_EX_APPWINDOW (no task-bar button), double clicks
//  [x] size and move: Resized on every change of size; the user's move snaps to the work
//      area as it goes (WM_WINDOWPOSCHANGING), and Moved when it ends
//  [x] the core's hit test after the default one, the size limits
//  [x] paint through the GDI canvas into a back buffer
//  [x] mouse: press, release, double click, move, leave, wheel, capture while a button is held
//  [x] keys by virtual-key code (WM_KEYDOWN, WM_SYSKEYDOWN), typed text by WM_CHAR
//  [x] focus in and out, activation
//  [x] timers, the notification-area icon's clicks
//  [x] close and the end of the session: the close query runs once
//  [x] a move to a screen of another resolution scales the window and its fonts with it
#include <windows.h>
#include <windowsx.h>

#include "backends/win32/win32_canvas.h"
#include "backends/win32/win32_resources.h"
#include "backends/win32/win32_state.h"
#include "backends/win32/win32_text.h"
#include "mainwindow/ToDoUnit.h"

namespace tasklane::win32 {

namespace {

constexpr wchar_t className[] = L"TToDoForm";

Win32State* StateOf(HWND window) { return reinterpret_cast<Win32State*>(GetWindowLongPtrW(window, GWLP_USERDATA)); }

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

void OnSize(Win32State& state, HWND window, WPARAM how) {
  if (how == SIZE_MINIMIZED) return;  // the window keeps its size; only its icon is small
  RECT client{};
  GetClientRect(window, &client);
  if (client.right == state.reportedSize.cx && client.bottom == state.reportedSize.cy) return;
  state.reportedSize = {client.right, client.bottom};
  if (state.events) state.events->Resized();
}

LRESULT OnHitTest(Win32State& state, HWND window, WPARAM wParam, LPARAM lParam) {
  const LRESULT standard = DefWindowProcW(window, WM_NCHITTEST, wParam, lParam);
  if (standard != HTCLIENT || !state.events) return standard;
  return static_cast<LRESULT>(state.events->HitTest(ClientPointOf(state, lParam)));  // a point on the screen
}

// While the user moves the window it snaps to the work area's edges as it goes, as the core
// says; sizing is left alone.
void OnPositionChanging(Win32State& state, HWND window, LPARAM lParam) {
  auto* position = reinterpret_cast<WINDOWPOS*>(lParam);
  if (!state.form || !state.userMoving || state.userSizing || (position->flags & SWP_NOMOVE) != 0) return;
  RECT now{};
  GetWindowRect(window, &now);
  const bool sized = (position->flags & SWP_NOSIZE) == 0 &&
                     (position->cx != now.right - now.left || position->cy != now.bottom - now.top);
  if (sized) return;
  const platform::Rect wanted = state.scale.Logical(
      RECT{position->x, position->y, position->x + now.right - now.left, position->y + now.bottom - now.top});
  const platform::Rect snapped = state.form->SnappedToWorkArea(wanted);
  // Where nothing snaps the system's own place stays, not its logical place rounded.
  if (snapped.left != wanted.left) position->x = state.scale.Device(snapped.left);
  if (snapped.top != wanted.top) position->y = state.scale.Device(snapped.top);
}

void OnSizeLimits(Win32State& state, LPARAM lParam) {
  if (!state.events) return;
  auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
  platform::Size minimum = state.scale.Logical(SIZE{info->ptMinTrackSize.x, info->ptMinTrackSize.y});
  platform::Size maximum = state.scale.Logical(SIZE{info->ptMaxTrackSize.x, info->ptMaxTrackSize.y});
  state.events->SizeLimits(minimum, maximum);
  const SIZE least = state.scale.Device(minimum);
  const SIZE most = state.scale.Device(maximum);
  info->ptMinTrackSize = {least.cx, least.cy};
  info->ptMaxTrackSize = {most.cx, most.cy};
}

void OnPaint(Win32State& state, HWND window) {
  state.repaintRequested = false;  // a request made while painting needs a paint of its own
  PAINTSTRUCT paint{};
  HDC target = BeginPaint(window, &paint);
  RECT client{};
  GetClientRect(window, &client);
  if (state.form) {
    Win32Canvas canvas(target, {client.right, client.bottom}, *state.gdi);
    state.form->Paint(canvas, GetActiveWindow() == window);
    canvas.CopyTo(target);
  }
  EndPaint(window, &paint);
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

void OnFocus(Win32State& state, HWND window, bool gained) {
  if (state.form) {
    ui::StringGrid& grid = state.form->ToDoGrid;
    grid.SetFocused(gained && state.form->ActiveControl == &grid);
  }
  InvalidateRect(window, nullptr, FALSE);
}

void OnTrayMessage(Win32State& state, LPARAM lParam) {
  if (!state.events) return;
  switch (LOWORD(lParam)) {
    case WM_LBUTTONUP: state.events->TrayClicked(); break;
    case WM_RBUTTONUP:
    case WM_CONTEXTMENU: state.events->TrayMenuRequested(); break;
    default: break;
  }
}

// Windows proposes the place and size the window has on its new screen.
void OnDpiChanged(Win32State& state, HWND window, WPARAM wParam, LPARAM lParam) {
  UseDpi(state, LOWORD(wParam));
  const RECT& proposed = *reinterpret_cast<const RECT*>(lParam);
  SetWindowPos(window, nullptr, proposed.left, proposed.top, proposed.right - proposed.left,
               proposed.bottom - proposed.top, SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(window, nullptr, FALSE);
}

void OnClose(Win32State& state, HWND window) {
  if (RunCloseQuery(state)) DestroyWindow(window);
}

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
    default: return DefWindowProcW(window, message, wParam, lParam);
  }
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Win32State* state = StateOf(window);
  if (!state) return DefWindowProcW(window, message, wParam, lParam);
  if (message == state->taskbarCreated) {
    RestoreTrayIcon(*state);
    return 0;
  }
  switch (message) {
    case WM_SIZE: OnSize(*state, window, wParam); return 0;
    case WM_ENTERSIZEMOVE: state->userMoving = true; state->userSizing = false; return 0;
    case WM_SIZING: state->userSizing = true; return DefWindowProcW(window, message, wParam, lParam);
    case WM_EXITSIZEMOVE:
      // The same loop sizes the window; only a move snaps once it ends.
      if (state->events && !state->userSizing) state->events->Moved();
      state->userMoving = state->userSizing = false;
      return 0;
    case WM_WINDOWPOSCHANGING:
      OnPositionChanging(*state, window, lParam);
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_NCHITTEST: return OnHitTest(*state, window, wParam, lParam);
    case WM_GETMINMAXINFO: OnSizeLimits(*state, lParam); return 0;
    case WM_ERASEBKGND: return 1;  // the core paints every pixel
    case WM_PAINT: OnPaint(*state, window); return 0;
    case WM_SETFOCUS: OnFocus(*state, window, true); return 0;
    case WM_KILLFOCUS: OnFocus(*state, window, false); return 0;
    case WM_ACTIVATE:  // the default gives the window the keyboard focus
      InvalidateRect(window, nullptr, FALSE);
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_TIMER: if (state->events) state->events->TimerTick(static_cast<int>(wParam - timerIdBase)); return 0;
    case trayMessage: OnTrayMessage(*state, lParam); return 0;
    case WM_INITMENUPOPUP: OnInitMenuPopup(*state, reinterpret_cast<HMENU>(wParam)); return 0;
    case WM_MEASUREITEM: return OnMeasureMenuPicture(*state, *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
    case WM_DRAWITEM: return OnDrawMenuPicture(*state, *reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
    case WM_DPICHANGED: OnDpiChanged(*state, window, wParam, lParam); return 0;
    case WM_CLOSE: OnClose(*state, window); return 0;
    case WM_QUERYENDSESSION: return RunCloseQuery(*state) ? TRUE : FALSE;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return MouseOrKey(*state, window, message, wParam, lParam);
  }
}

}  // namespace

void UseDpi(Win32State& state, int dpi) {
  state.scale.dpi = dpi;
  state.gdi->SetDpi(dpi);
  state.measureGdi->SetDpi(dpi);
}

// A canvas of its own, since the editor measures while the window paints.
int MeasureText(Win32State& state, std::u16string_view text, const platform::Font& font) {
  HDC screen = GetDC(nullptr);
  int width = 0;
  {
    Win32Canvas canvas(screen, {1, 1}, *state.measureGdi);
    width = canvas.TextWidth(text, font);
  }
  ReleaseDC(nullptr, screen);
  return width;
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

HICON ProgramIcon(HINSTANCE instance, int size) {
  return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_PROGRAM), IMAGE_ICON, size, size, LR_SHARED));
}

void RegisterWindowClass(const wchar_t* name, WNDPROC procedure, HINSTANCE instance, UINT style) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExW(instance, name, &existing)) return;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = style;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  windowClass.hIcon = ProgramIcon(instance, GetSystemMetrics(SM_CXICON));
  windowClass.hIconSm = ProgramIcon(instance, GetSystemMetrics(SM_CXSMICON));
  windowClass.lpszClassName = name;
  RegisterClassExW(&windowClass);
}

void RegisterMainWindowClass(HINSTANCE instance) { RegisterWindowClass(className, MainWindowProc, instance, CS_DBLCLKS); }

HWND CreateMainWindow(Win32State& state) {
  const std::wstring caption = Wide(mainwindow::TToDoForm::caption);
  HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, className, caption.c_str(), WS_POPUP | WS_CLIPCHILDREN, 0, 0, 0,
                                0, nullptr, nullptr, state.instance, nullptr);
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));
  return window;
}

// A second close request while the first still asks is dropped; once the query has let the
// window go, every later one closes without asking again.
bool RunCloseQuery(Win32State& state) {
  if (state.closed || !state.events) return true;
  if (state.closeQueryRunning) return false;
  state.closeQueryRunning = true;
  const bool mayClose = state.events->CloseQuery();
  state.closeQueryRunning = false;
  state.closed = mayClose;
  return mayClose;
}

}  // namespace tasklane::win32
