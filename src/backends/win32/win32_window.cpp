// The main window: its class, its creation and its window procedure, which hands each message
// family to one small handler that turns it into a call on the core.
//
//  [x] class "TToDoForm", caption "Tasklane", WS_POPUP (client = outer), WS_EX_TOOLWINDOW
//      without WS_EX_APPWINDOW (no task-bar button), double clicks
//  [x] size and move: Resized on every change of size; the user's move snaps to the work
//      area as it goes (WM_WINDOWPOSCHANGING), and Moved when it ends
//  [x] the core's hit test after the default one, the least size (the system's largest stays)
//  [x] paint through the GDI canvas into a back buffer
//  [x] mouse and keys (win32_input.cpp), focus in and out, activation
//  [x] timers, one tick of a timer at a time; the notification-area icon's clicks
//  [x] close and the end of the session: the close query runs once, and the session may end
//  [x] a move to a screen of another resolution scales the window and its fonts with it
//  [x] every message inside a guard; nothing of the core is reached once the window goes
#include <windows.h>
#include <windowsx.h>

#include "backends/win32/win32_accessible.h"
#include "backends/win32/win32_canvas.h"
#include "backends/win32/win32_resources.h"
#include "backends/win32/win32_state.h"
#include "backends/win32/win32_text.h"
#include "mainwindow/ToDoUnit.h"

namespace tasklane::win32 {

namespace {

constexpr wchar_t className[] = L"TToDoForm";

Win32State* StateOf(HWND window) { return reinterpret_cast<Win32State*>(GetWindowLongPtrW(window, GWLP_USERDATA)); }

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
  const POINT screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  return static_cast<LRESULT>(state.events->HitTest(state.screens.Logical(screen)));
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
  const RECT proposed{position->x, position->y, position->x + now.right - now.left, position->y + now.bottom - now.top};
  const platform::Rect wanted = state.screens.Logical(proposed);
  const platform::Rect snapped = state.form->SnappedToWorkArea(wanted);
  // Where nothing snaps the system's own place stays, not its logical place rounded.
  const RECT device = state.screens.Device(snapped);
  if (snapped.left != wanted.left) position->x = device.left;
  if (snapped.top != wanted.top) position->y = device.top;
}

// Only the least size is the core's; the largest stays as the system filled it, since a
// round trip through logical pixels would change it.
void OnSizeLimits(Win32State& state, LPARAM lParam) {
  if (!state.events) return;
  auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
  platform::Size minimum = state.scale.Logical(SIZE{info->ptMinTrackSize.x, info->ptMinTrackSize.y});
  platform::Size maximum = state.scale.Logical(SIZE{info->ptMaxTrackSize.x, info->ptMaxTrackSize.y});
  const platform::Size asked = minimum;
  state.events->SizeLimits(minimum, maximum);
  if (minimum == asked) return;
  const SIZE least = state.scale.Device(minimum);
  info->ptMinTrackSize = {least.cx, least.cy};
}

// EndPaint on every way out, so that a failing paint leaves no window invalid for ever.
class PaintScope {
 public:
  explicit PaintScope(HWND window) : window_(window), target_(BeginPaint(window, &paint_)) {}
  ~PaintScope() { EndPaint(window_, &paint_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  HDC Target() const { return target_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC target_;
};

void OnPaint(Win32State& state, HWND window) {
  state.repaintRequested = false;  // a request made while painting needs a paint of its own
  PaintScope paint(window);
  RECT client{};
  GetClientRect(window, &client);
  if (!state.form) return;
  Win32Canvas canvas(paint.Target(), {client.right, client.bottom}, *state.gdi);
  state.form->Paint(canvas, GetActiveWindow() == window);
  canvas.CopyTo(paint.Target());
}

void OnFocus(Win32State& state, HWND window, bool gained) {
  if (state.form) {
    ui::StringGrid& grid = state.form->ToDoGrid;
    grid.SetFocused(gained && state.form->ActiveControl == &grid);
    if (!gained) HideSystemCaret(state);
    state.form->Accessible.TellChanges();
  }
  InvalidateRect(window, nullptr, FALSE);
}

// A tick that shows a box runs the box's own message loop; the same timer's next ticks wait
// until it is through, so a tick failing again does not stack a second report.
void OnTimer(Win32State& state, WPARAM id) {
  if (id == trayRetryTimerId) {
    RestoreTrayIcon(state);
    return;
  }
  if (!state.events || !state.ticking.insert(id).second) return;
  struct Done {
    Win32State& state;
    WPARAM id;
    ~Done() { state.ticking.erase(id); }
  } done{state, id};
  state.events->TimerTick(static_cast<int>(id - timerIdBase));
}

// Windows proposes the place and size the window has on its new screen.
void OnDpiChanged(Win32State& state, HWND window, WPARAM wParam, LPARAM lParam) {
  UseDpi(state, LOWORD(wParam));
  state.screens = CurrentScreens();
  const RECT& proposed = *reinterpret_cast<const RECT*>(lParam);
  SetWindowPos(window, nullptr, proposed.left, proposed.top, proposed.right - proposed.left,
               proposed.bottom - proposed.top, SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(window, nullptr, FALSE);
}

void OnClose(Win32State& state, HWND window) {
  if (RunCloseQuery(state)) DestroyWindow(window);
}

// The answer is always that the session may end. A close query whose box is open has the
// list in hand already; it is not asked a second time.
LRESULT OnQueryEndSession(Win32State& state) {
  if (!state.closeQueryRunning) RunCloseQuery(state);
  return TRUE;
}

// The icon and the timers go before the window, so that no click reaches a window going away.
void OnDestroy(Win32State& state, HWND window) {
  HideTrayIcon(state);
  KillTimer(window, trayRetryTimerId);
  EndAccessibility(state);
  DetachWindow(state);
  state.window = nullptr;  // the core's later requests go nowhere
  PostQuitMessage(0);
}

LRESULT SizeMoveOrFrame(Win32State& state, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE: OnSize(state, window, wParam); return 0;
    case WM_MOVE:
      if (state.events && !state.userMoving) state.events->Displaced();
      return 0;
    case WM_ENTERSIZEMOVE: state.userMoving = true; state.userSizing = false; return 0;
    case WM_SIZING: state.userSizing = true; return DefWindowProcW(window, message, wParam, lParam);
    case WM_EXITSIZEMOVE:
      // The same loop sizes the window; only a move snaps once it ends.
      if (state.events && !state.userSizing) state.events->Moved();
      state.userMoving = state.userSizing = false;
      return 0;
    case WM_WINDOWPOSCHANGING:
      OnPositionChanging(state, window, lParam);
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_NCHITTEST: return OnHitTest(state, window, wParam, lParam);
    case WM_GETMINMAXINFO: OnSizeLimits(state, lParam); return 0;
    case WM_DPICHANGED: OnDpiChanged(state, window, wParam, lParam); return 0;
    case WM_DISPLAYCHANGE:  // screens came or went: the icon follows the primary one's scale
      state.screens = CurrentScreens();
      RestoreTrayIcon(state);
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_SETTINGCHANGE:  // a work area may have changed
      state.screens = CurrentScreens();
      return DefWindowProcW(window, message, wParam, lParam);
    default: return MouseOrKey(state, window, message, wParam, lParam);
  }
}

LRESULT Dispatch(Win32State& state, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == state.taskbarCreated) {
    state.trayShown = false;  // a new notification area starts empty
    state.trayRetryDelay = trayRetryMs;
    RestoreTrayIcon(state);
    return 0;
  }
  switch (message) {
    case WM_ERASEBKGND: return 1;  // the core paints every pixel
    case WM_PAINT: OnPaint(state, window); return 0;
    case WM_SETFOCUS: OnFocus(state, window, true); return 0;
    case WM_KILLFOCUS: OnFocus(state, window, false); return 0;
    case WM_ACTIVATE:  // the default gives the window the keyboard focus
      InvalidateRect(window, nullptr, FALSE);
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_TIMER: OnTimer(state, wParam); return 0;
    case trayMessage: OnTrayMessage(state, wParam, lParam); return 0;
    case WM_INITMENUPOPUP: OnInitMenuPopup(state, reinterpret_cast<HMENU>(wParam)); return 0;
    case WM_MEASUREITEM: return OnMeasureMenuPicture(state, *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
    case WM_DRAWITEM: return OnDrawMenuPicture(state, *reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
    case WM_CLOSE: OnClose(state, window); return 0;
    case WM_QUERYENDSESSION: return OnQueryEndSession(state);
    case WM_GETOBJECT: return AnswerGetObject(state, window, wParam, lParam);
    case accessiblePressMessage: PressAccessibleButton(state, static_cast<int>(wParam)); return 0;
    case WM_DESTROY: OnDestroy(state, window); return 0;
    default: return SizeMoveOrFrame(state, window, message, wParam, lParam);
  }
}

// What a message whose handling failed answers: the session may still end.
LRESULT AnswerOnFailure(UINT message) { return message == WM_QUERYENDSESSION ? TRUE : 0; }

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Win32State* state = StateOf(window);
  if (!state) return DefWindowProcW(window, message, wParam, lParam);
  return Guarded(state->reports, window, AnswerOnFailure(message),
                 [&] { return Dispatch(*state, window, message, wParam, lParam); });
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

// The class keeps its icons for the whole run.
bool RegisterWindowClass(const wchar_t* name, WNDPROC procedure, HINSTANCE instance, UINT style) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExW(instance, name, &existing)) return true;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = style;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  windowClass.hIcon = ProgramIcon(instance, GetSystemMetrics(SM_CXICON));
  windowClass.hIconSm = ProgramIcon(instance, GetSystemMetrics(SM_CXSMICON));
  windowClass.lpszClassName = name;
  return RegisterClassExW(&windowClass) != 0;
}

bool RegisterMainWindowClass(HINSTANCE instance) {
  return RegisterWindowClass(className, MainWindowProc, instance, CS_DBLCLKS);
}

namespace {

// NOTE: a program started elevated hears no message that a program of lower rights sends
// unless it lets it through; Explorer's TaskbarCreated is one. The call came with Windows 7.
void AllowTaskbarCreated(const Win32State& state) {
  using FilterFunction = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
  static const auto changeFilter = reinterpret_cast<FilterFunction>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "ChangeWindowMessageFilterEx")));
  if (changeFilter && state.taskbarCreated != 0) changeFilter(state.window, state.taskbarCreated, 1 /* MSGFLT_ALLOW */, nullptr);
}

}  // namespace

HWND CreateMainWindow(Win32State& state) {
  const std::wstring caption = Wide(mainwindow::TToDoForm::caption);
  HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, className, caption.c_str(), WS_POPUP | WS_CLIPCHILDREN, 0, 0, 0,
                                0, nullptr, nullptr, state.instance, nullptr);
  if (!window) return nullptr;
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));
  state.window = window;
  AllowTaskbarCreated(state);
  return window;
}

void DetachWindow(Win32State& state) {
  if (state.window && IsWindow(state.window)) SetWindowLongPtrW(state.window, GWLP_USERDATA, 0);
  state.form = nullptr;
  state.events = nullptr;
  state.menu = nullptr;
}

// A second close request while the first still asks is dropped; once the query has let the
// window go, every later one closes without asking again.
bool RunCloseQuery(Win32State& state) {
  if (state.closed || !state.events) return true;
  if (state.closeQueryRunning) return false;
  state.closeQueryRunning = true;
  struct Done {
    bool& running;
    ~Done() { running = false; }
  } done{state.closeQueryRunning};
  const bool mayClose = state.events->CloseQuery();
  state.closed = mayClose;
  return mayClose;
}

}  // namespace tasklane::win32
