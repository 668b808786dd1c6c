// Win32Platform: the main window's requests, the screen and the message loop.
//
//  [x] create the window when the core attaches to it; attach the form
//  [x] points, sizes and rectangles in the core's logical pixels, scaled to the screen's
//  [x] bounds (kept within the size limits), top-most, show, visible, close, repaint, activate
//  [x] the system's own move and size loops from the press being handled
//  [x] primary screen size, virtual desktop, cursor position, the work area nearest a window,
//      each point by the scale of the screen it lies on (win32_screens.h)
//  [x] the message loop: entering it shows the window as Windows asked the program to start;
//      once it ends nothing reaches the core's form again
#include "backends/win32/win32_platform.h"

#include <algorithm>
#include <stdexcept>

#include "backends/win32/win32_accessible.h"
#include "backends/win32/win32_canvas.h"
#include "backends/win32/win32_state.h"
#include "mainwindow/ToDoUnit.h"

namespace tasklane::win32 {

Win32Platform::Win32Platform(void* instance, int showCommand) : state_(std::make_unique<Win32State>()) {
  state_->instance = static_cast<HINSTANCE>(instance);
  state_->startShow = showCommand;
  UseSystemCodePages();
  if (!RegisterMainWindowClass(state_->instance)) throw std::runtime_error("The main window's class was refused.");
}

Win32Platform::~Win32Platform() { EndWindows(); }

// The form is still there but ends next: the windows go first and forget it, so that no
// message of their teardown (focus, a click on the icon) reaches a form that is gone.
void Win32Platform::EndWindows() {
  HideTrayIcon(*state_);
  DetachWindow(*state_);
  if (state_->hint) DestroyWindow(state_->hint);
  state_->hint = nullptr;
  if (state_->window) DestroyWindow(state_->window);
  state_->window = nullptr;
}

void Win32Platform::AttachWindow(platform::WindowEvents& events) {
  state_->events = &events;
  if (!state_->window) {
    if (!CreateMainWindow(*state_)) throw std::runtime_error("The main window could not be created.");
    UseDpi(*state_, ScaleOf(state_->window).dpi);
    state_->screens = CurrentScreens();
  }
  state_->clipboard.owner = state_->window;
}

// The grid's editor measures its text for the mouse between paints too, in the font the
// canvas draws it with.
void Win32Platform::AttachForm(mainwindow::TToDoForm& form) {
  state_->form = &form;
  ui::StringGrid& grid = form.ToDoGrid;
  grid.Editor().SetMeasure(
      [&grid, state = state_.get()](std::u16string_view text) { return MeasureText(*state, text, grid.Font); });
  InvalidateRect(state_->window, nullptr, FALSE);
}

void Win32Platform::RunMessageLoop() {
  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  EndWindows();
}

// A minimised window stands for the system as a small icon far off the screen; its own place
// and size are those it comes back to.
platform::Rect Win32Platform::WindowBounds() {
  if (IsIconic(state_->window)) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    GetWindowPlacement(state_->window, &placement);
    return state_->screens.Logical(placement.rcNormalPosition);  // screen coordinates for a tool window
  }
  RECT rect{};
  GetWindowRect(state_->window, &rect);
  return state_->screens.Logical(rect);
}

// The size limits hold for the program's own requests as they do for the user's sizing.
void Win32Platform::SetWindowBounds(const platform::Rect& bounds) {
  platform::Size minimum{0, 0};
  platform::Size maximum = state_->scale.Logical(SIZE{GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)});
  if (state_->events) state_->events->SizeLimits(minimum, maximum);
  const int width = std::max(std::min(bounds.Width(), maximum.width), std::max(minimum.width, 0));
  const int height = std::max(std::min(bounds.Height(), maximum.height), std::max(minimum.height, 0));
  // The place by the screen it lies on; the size in the window's own resolution, which
  // Windows scales (WM_DPICHANGED) when the window lands on a screen of another.
  const RECT device = state_->screens.Device(platform::Rect::FromBounds(bounds.left, bounds.top, width, height));
  SetWindowPos(state_->window, nullptr, device.left, device.top, state_->scale.Device(width),
               state_->scale.Device(height), SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Platform::SetTopMost(bool topMost) {
  SetWindowPos(state_->window, topMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

namespace {

// The first show follows the way the program was started: a shortcut set to run minimised or
// maximised starts it so. Any other start shows the window as it is.
int FirstShow(int startShow) {
  switch (startShow) {
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
    case SW_FORCEMINIMIZE: return SW_SHOWMINNOACTIVE;
    case SW_SHOWMAXIMIZED: return SW_SHOWMAXIMIZED;
    default: return SW_SHOW;
  }
}

}  // namespace

void Win32Platform::ShowWindow(platform::WindowShow how) {
  if (!state_->window) return;
  switch (how) {
    case platform::WindowShow::Hide: ::ShowWindow(state_->window, SW_HIDE); break;
    case platform::WindowShow::Show:
      ::ShowWindow(state_->window, state_->shownOnce ? SW_SHOW : FirstShow(state_->startShow));
      state_->shownOnce = true;
      break;
    case platform::WindowShow::ShowNormal: ::ShowWindow(state_->window, SW_SHOWNORMAL); break;
    case platform::WindowShow::Minimize: ::ShowWindow(state_->window, SW_MINIMIZE); break;
  }
}

bool Win32Platform::WindowVisible() { return IsWindowVisible(state_->window) != FALSE; }

// A message box disables the window it belongs to, and an ownerless one every window.
bool Win32Platform::WindowTakesInput() { return state_->window && IsWindowEnabled(state_->window) != FALSE; }

// Posted: the request comes from inside a click or a menu, whose handler still runs on the
// window; the close and its query follow once that handler is through.
void Win32Platform::RequestClose() {
  if (state_->window) PostMessageW(state_->window, WM_CLOSE, 0, 0);
}

// NOTE: under Wine each InvalidateRect is a round trip to the wineserver, and on Windows a
// system call; a large list asks for a repaint once for each row it loads. One request stands
// until the paint that answers it.
void Win32Platform::Repaint() {
  if (state_->repaintRequested || !state_->window) return;  // a null window would be the whole screen
  state_->repaintRequested = true;
  InvalidateRect(state_->window, nullptr, FALSE);
}

void Win32Platform::NotifyAccessibility(const platform::AccessibleEvent& event) {
  TellAccessibility(*state_, event);
}

void Win32Platform::ActivateWindow() {
  SetForegroundWindow(state_->window);
  SetFocus(state_->window);
}

void Win32Platform::StartSystemMove() {
  ReleaseCapture();
  SendMessageW(state_->window, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

// The hit-test zones carry the Windows codes, so an edge is its own HT code.
void Win32Platform::StartSystemResize(platform::HitZone edge) {
  ReleaseCapture();
  SendMessageW(state_->window, WM_NCLBUTTONDOWN, static_cast<WPARAM>(edge), 0);
}

platform::Size Win32Platform::PrimaryScreenSize() { return state_->screens.PrimarySize(); }

platform::Point Win32Platform::CursorPosition() {
  POINT point{};
  GetCursorPos(&point);
  return state_->screens.Logical(point);
}

platform::Rect Win32Platform::VirtualDesktop() { return state_->screens.VirtualDesktop(); }

platform::Rect Win32Platform::WorkAreaNearest(const platform::Rect& window) {
  return state_->screens.WorkAreaNearest(window);
}

platform::Color Win32Platform::ButtonFaceColor() {
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  return {GetRValue(face), GetGValue(face), GetBValue(face)};
}

}  // namespace tasklane::win32
