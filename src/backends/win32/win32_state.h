// Everything the Win32 front end keeps, in one struct, for the files that implement
// Win32Platform. The window procedure reaches it through GWLP_USERDATA.
#pragma once

#include <windows.h>

#include <memory>
#include <set>
#include <string>

#include "backends/win32/win32_canvas.h"
#include "backends/win32/win32_icons.h"
#include "backends/win32/win32_guard.h"
#include "backends/win32/win32_screens.h"
#include "platform/Clipboard.h"
#include "platform/Files.h"
#include "platform/Platform.h"

namespace tasklane::mainwindow {
class TToDoForm;
}

namespace tasklane::win32 {

class Win32Clipboard final : public platform::Clipboard {
 public:
  std::u16string Text() override;
  void SetText(std::u16string_view text) override;
  HWND owner = nullptr;
};

// The core's timer ids start at 0; Win32 keeps 0 for "no timer".
constexpr UINT_PTR timerIdBase = 100;
// The notification-area icon reports its clicks with this message.
constexpr UINT trayMessage = WM_APP + 1;
// Asks the notification area again, while the icon could not be added.
constexpr UINT_PTR trayRetryTimerId = 1;
constexpr UINT trayRetryMs = 2000;     // the first retry; each later one waits twice as long
constexpr UINT trayRetryMaxMs = 60000;

struct MenuSession;

struct Win32State {
  HINSTANCE instance = nullptr;
  HWND window = nullptr;
  DpiScale scale;  // of the screen the window is on: client coordinates and drawing
  ScreenLayout screens;  // points and rectangles on the screen
  int startShow = SW_SHOWDEFAULT;  // how Windows asked the program to start
  bool shownOnce = false;
  FailureReports reports;
  std::set<UINT_PTR> ticking;  // timers whose tick runs now
  platform::WindowEvents* events = nullptr;
  mainwindow::TToDoForm* form = nullptr;
  Win32Clipboard clipboard;
  std::unique_ptr<platform::Files> files = platform::MakeSystemFiles();
  HANDLE mutex = nullptr;
  std::unique_ptr<GdiCache> gdi = std::make_unique<GdiCache>();         // the main window's and the hint's
  std::unique_ptr<GdiCache> measureGdi = std::make_unique<GdiCache>();  // for measuring between paints
  HWND hint = nullptr;
  std::wstring hintText;
  COLORREF hintBackground = RGB(255, 255, 225);
  bool trayWanted = false;  // the core asked for the icon
  bool trayShown = false;   // and the notification area has it
  UINT trayRetryDelay = trayRetryMs;
  bool trayVersion4 = false;  // clicks come as NIN_SELECT, NIN_KEYSELECT and WM_CONTEXTMENU
  HICON trayIcon = nullptr;
  std::wstring trayTip;
  UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
  MenuSession* menu = nullptr;  // while a popup menu is open
  bool closeQueryRunning = false;
  bool closed = false;
  SIZE reportedSize{-1, -1};
  int wheelRemainder = 0;  // wheel delta short of a whole notch
  bool trackingLeave = false;
  bool userMoving = false;  // inside the system's move or size loop
  bool userSizing = false;  // and that loop sizes the window
  bool repaintRequested = false;  // the window is invalid until its next WM_PAINT
  bool editorTold = false;  // screen readers were told that the editor is open
  int caretHeight = 0;      // of the hidden system caret; 0 while there is none
  bool uiaAsked = false;    // a UI Automation client asked for the window's root
};

// The window procedure's half of the main window (win32_window.cpp).
// The window is on a screen of `dpi` from now on: its scale and its fonts follow.
void UseDpi(Win32State& state, int dpi);
bool RegisterMainWindowClass(HINSTANCE instance);
// Registers a window class of the program's once, with its icon and the arrow cursor; false
// when Windows refuses.
bool RegisterWindowClass(const wchar_t* name, WNDPROC procedure, HINSTANCE instance, UINT style);
HWND CreateMainWindow(Win32State& state);
// The core's form and events are left alone from now on: the window is going or gone.
void DetachWindow(Win32State& state);
// Runs the close query once; true when the window may go.
bool RunCloseQuery(Win32State& state);
// The mouse and key messages (win32_input.cpp).
LRESULT MouseOrKey(Win32State& state, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The modifier keys held now, and the mouse buttons a mouse message's flags name.
platform::ShiftState ShiftStateOf(WPARAM mouseFlags);
// The system's code pages for the XML reader and writer (win32_codepages.cpp).
void UseSystemCodePages();
int MeasureText(Win32State& state, std::u16string_view text, const platform::Font& font);

}  // namespace tasklane::win32

namespace tasklane::win32 {
// The notification-area icon (win32_tray.cpp).
void HideTrayIcon(Win32State& state);
// A new notification area (TaskbarCreated) or the retry timer: the icon goes in if wanted.
void RestoreTrayIcon(Win32State& state);
void OnTrayMessage(Win32State& state, WPARAM wParam, LPARAM lParam);
// A submenu about to open, and the menu pictures the window draws (win32_menu.cpp); the
// latter say whether the item was one of them.
void OnInitMenuPopup(Win32State& state, HMENU menu);
bool OnMeasureMenuPicture(Win32State& state, MEASUREITEMSTRUCT& measure);
bool OnDrawMenuPicture(Win32State& state, const DRAWITEMSTRUCT& draw);
}  // namespace tasklane::win32
