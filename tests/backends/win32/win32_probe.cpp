// A small Windows console program that the Windows program's tests run beside it under Wine,
// to look at its window from the Win32 side and to do what another program would do to it.
//
//   win32_probe window                 the "TToDoForm" window titled "Tasklane": its bounds, and
//                                      whether it is visible, top-most, a tool window, in the task
//                                      bar, minimised
//   win32_probe wait visible|hidden S  waits up to S seconds until the window is so
//   win32_probe hide                   hides the window, as a minimise to the notification area does
//   win32_probe lock FILE S            holds FILE open, shared with nobody, for S seconds
//   win32_probe box TITLE S            waits up to S seconds for a message box of that title,
//                                      prints its text and closes it with its default button
//   win32_probe waitbox TITLE S        the same, but leaves the box open
//   win32_probe hittest X Y            what the window answers WM_NCHITTEST for a screen point
//   win32_probe dialog S               waits up to S seconds for the info dialog and prints
//                                      which boxes its title bar has, whether it sizes, whether
//                                      the main window owns it, and where it is
//   win32_probe refusetray S           stands for S seconds as a notification area that refuses
//                                      every icon (a shell not ready, or past its time-out)
//   win32_probe tray S                 waits up to S seconds for the window's notification icon
//   win32_probe trayclick select|menu  a click on the icon, or its menu, as a shell of version 4
//                                      reports them
//   win32_probe minmax W H             the size limits the window answers to a largest size W x H
//   win32_probe endsession             ends the session for the window as Windows does:
//                                      WM_QUERYENDSESSION, then WM_ENDSESSION
//   win32_probe read [TITLE]           reads the window (or the program's window of that
//                                      title) as a screen reader does (MSAA): the client area,
//                                      the table's rows of cells, the other parts, and the
//                                      focus, one line each
//   win32_probe automation             reads the window's UI Automation tree
//   win32_probe hit X Y                the part a screen reader finds at a point, and its place
//   win32_probe events S               for S seconds, prints the window's focus and value
//                                      changes as a screen reader hears of them
//   win32_probe press NAME [TITLE]     presses the button or follows the link of that name
//                                      through MSAA
//
// Exit code 0 when the thing asked for was found or done, 1 when not, 2 on a wrong call.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "win32_probe_reader.h"

namespace {

HWND MainWindow() { return FindWindowW(L"TToDoForm", L"Tasklane"); }

int PrintWindow() {
  HWND window = MainWindow();
  if (!window) return 1;
  RECT rect{};
  GetWindowRect(window, &rect);
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_EXSTYLE);
  std::printf("bounds %ld %ld %ld %ld visible %d topmost %d toolwindow %d appwindow %d minimized %d\n", rect.left,
              rect.top, rect.right - rect.left, rect.bottom - rect.top, IsWindowVisible(window) ? 1 : 0,
              (style & WS_EX_TOPMOST) ? 1 : 0, (style & WS_EX_TOOLWINDOW) ? 1 : 0, (style & WS_EX_APPWINDOW) ? 1 : 0,
              IsIconic(window) ? 1 : 0);
  return 0;
}

int Wait(const wchar_t* state, int seconds) {
  const bool visible = std::wcscmp(state, L"visible") == 0;
  for (int tenth = 0; tenth < seconds * 10; ++tenth) {
    HWND window = MainWindow();
    if (window && (IsWindowVisible(window) != FALSE) == visible) return 0;
    Sleep(100);
  }
  return 1;
}

int Lock(const wchar_t* file, int seconds) {
  HANDLE handle = CreateFileW(file, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return 1;
  std::printf("locked\n");
  std::fflush(stdout);
  Sleep(static_cast<DWORD>(seconds) * 1000);
  CloseHandle(handle);
  return 0;
}

BOOL CALLBACK PrintStatic(HWND child, LPARAM) {
  wchar_t className[64] = {};
  GetClassNameW(child, className, 64);
  if (_wcsicmp(className, L"Static") != 0) return TRUE;
  wchar_t text[1024] = {};
  if (GetWindowTextW(child, text, 1024) > 0) std::wprintf(L"%ls\n", text);
  return TRUE;
}

int Box(const wchar_t* title, int seconds, bool close) {
  for (int tenth = 0; tenth < seconds * 10; ++tenth) {
    if (HWND box = FindWindowW(L"#32770", title)) {
      EnumChildWindows(box, PrintStatic, 0);
      std::fflush(stdout);
      if (close) PostMessageW(box, WM_COMMAND, IDOK, 0);
      return 0;
    }
    Sleep(100);
  }
  return 1;
}

int HitTest(int x, int y) {
  HWND window = MainWindow();
  if (!window) return 1;
  std::printf("%ld\n", static_cast<long>(SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y))));
  return 0;
}

int Dialog(int seconds) {
  for (int tenth = 0; tenth < seconds * 10; ++tenth) {
    HWND dialog = FindWindowW(L"TShowInfoDialog", nullptr);
    if (dialog && IsWindowVisible(dialog)) {
      const LONG_PTR style = GetWindowLongPtrW(dialog, GWL_STYLE);
      RECT rect{};
      GetWindowRect(dialog, &rect);
      std::printf("close %d minimize %d maximize %d sizing %d owner %d at %ld %ld\n", (style & WS_SYSMENU) ? 1 : 0,
                  (style & WS_MINIMIZEBOX) ? 1 : 0, (style & WS_MAXIMIZEBOX) ? 1 : 0, (style & WS_THICKFRAME) ? 1 : 0,
                  GetWindow(dialog, GW_OWNER) == MainWindow() ? 1 : 0, rect.left, rect.top);
      return 0;
    }
    Sleep(100);
  }
  return 1;
}

int EndSession() {
  HWND window = MainWindow();
  if (!window) return 1;
  const LRESULT mayEnd = SendMessageW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
  SendMessageTimeoutW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000, nullptr);
  std::printf("may end %d\n", mayEnd ? 1 : 0);
  return 0;
}

// The shell looks for its notification area by this class; a top-most one is found first.
// Answering 0 to the shell's WM_COPYDATA refuses the icon.
int RefuseTray(int seconds) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"Shell_TrayWnd";
  RegisterClassW(&windowClass);
  HWND tray = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"Shell_TrayWnd", L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                              nullptr, windowClass.hInstance, nullptr);
  if (!tray) return 1;
  std::printf("refusing\n");
  std::fflush(stdout);
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(seconds) * 1000;
  while (GetTickCount64() < end) {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
  }
  DestroyWindow(tray);
  return 0;
}

// Changing nothing of an icon succeeds only for an icon the notification area holds.
int Tray(int seconds) {
  for (int tenth = 0; tenth <= seconds * 10; ++tenth) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = MainWindow();
    data.uID = 1;
    if (data.hWnd && Shell_NotifyIconW(NIM_MODIFY, &data)) {
      std::printf("icon 1\n");
      return 0;
    }
    Sleep(100);
  }
  std::printf("icon 0\n");
  return 1;
}

// The program's icon reports to WM_APP + 1; version 4 puts the event in the low word and the
// icon's id in the high one.
int TrayClick(const wchar_t* what) {
  HWND window = MainWindow();
  if (!window) return 1;
  const UINT event = std::wcscmp(what, L"menu") == 0 ? WM_CONTEXTMENU : NIN_SELECT;
  return PostMessageW(window, WM_APP + 1, MAKEWPARAM(100, 100), MAKELPARAM(event, 1)) ? 0 : 1;
}

int MinMax(int width, int height) {
  HWND window = MainWindow();
  if (!window) return 1;
  MINMAXINFO info{};
  info.ptMaxTrackSize = {width, height};
  SendMessageW(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  std::printf("max %ld %ld\n", info.ptMaxTrackSize.x, info.ptMaxTrackSize.y);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring command = argc > 1 ? argv[1] : L"";
  if (command == L"window" && argc == 2) return PrintWindow();
  if (command == L"wait" && argc == 4) return Wait(argv[2], _wtoi(argv[3]));
  if (command == L"hide" && argc == 2) return MainWindow() && ShowWindow(MainWindow(), SW_HIDE) ? 0 : 1;
  if (command == L"lock" && argc == 4) return Lock(argv[2], _wtoi(argv[3]));
  if (command == L"box" && argc == 4) return Box(argv[2], _wtoi(argv[3]), true);
  if (command == L"waitbox" && argc == 4) return Box(argv[2], _wtoi(argv[3]), false);
  if (command == L"hittest" && argc == 4) return HitTest(_wtoi(argv[2]), _wtoi(argv[3]));
  if (command == L"dialog" && argc == 3) return Dialog(_wtoi(argv[2]));
  if (command == L"endsession" && argc == 2) return EndSession();
  if (command == L"refusetray" && argc == 3) return RefuseTray(_wtoi(argv[2]));
  if (command == L"tray" && argc == 3) return Tray(_wtoi(argv[2]));
  if (command == L"trayclick" && argc == 3) return TrayClick(argv[2]);
  if (command == L"minmax" && argc == 4) return MinMax(_wtoi(argv[2]), _wtoi(argv[3]));
  if (command == L"read" && argc == 2) return ReadAloud(MainWindow());
  if (command == L"read" && argc == 3) return ReadAloud(FindWindowW(nullptr, argv[2]));
  if (command == L"hit" && argc == 4) return HitTest(MainWindow(), _wtoi(argv[2]), _wtoi(argv[3]));
  if (command == L"automation" && argc == 2) return ReadAutomation(MainWindow());
  if (command == L"events" && argc == 3) return ListenToEvents(MainWindow(), _wtoi(argv[2]));
  if (command == L"press" && argc == 3) return PressButton(MainWindow(), argv[2]);
  if (command == L"press" && argc == 4) return PressButton(FindWindowW(nullptr, argv[3]), argv[2]);
  std::fprintf(stderr, "usage: win32_probe window | wait visible|hidden S | hide | lock FILE S | box TITLE S | "
                       "waitbox TITLE S | hittest X Y | dialog S | endsession | refusetray S | tray S | trayclick select|menu | "
                       "minmax W H | read [TITLE] | automation | hit X Y | events S | press NAME [TITLE]\n");
  return 2;
}
