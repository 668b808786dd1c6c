// A small Windows console program that the Windows program's tests run beside it under Wine,
// to look at its window from the Win32 side and to do what another program would do to it.
//
//   win32_probe window                 the "TToDoForm" window titled "Tasklane": its bounds, and
//                                      whether it is visible, top-most, a tool window, in the task bar
//   win32_probe wait visible|hidden S  waits up to S seconds until the window is so
//   win32_probe hide                   hides the window, as a minimise to the notification area does
//   win32_probe lock FILE S            holds FILE open, shared with nobody, for S seconds
//   win32_probe box TITLE S            waits up to S seconds for a message box of that title,
//                                      prints its text and closes it with its default button
//   win32_probe hittest X Y            what the window answers WM_NCHITTEST for a screen point
//   win32_probe dialog S               waits up to S seconds for the info dialog and prints
//                                      which boxes its title bar has and whether it sizes
//   win32_probe endsession             ends the session for the window as Windows does:
//                                      WM_QUERYENDSESSION, then WM_ENDSESSION
//
// Exit code 0 when the thing asked for was found or done, 1 when not, 2 on a wrong call.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

HWND MainWindow() { return FindWindowW(L"TToDoForm", L"Tasklane"); }

int PrintWindow() {
  HWND window = MainWindow();
  if (!window) return 1;
  RECT rect{};
  GetWindowRect(window, &rect);
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_EXSTYLE);
  std::printf("bounds %ld %ld %ld %ld visible %d topmost %d toolwindow %d appwindow %d\n", rect.left, rect.top,
              rect.right - rect.left, rect.bottom - rect.top, IsWindowVisible(window) ? 1 : 0,
              (style & WS_EX_TOPMOST) ? 1 : 0, (style & WS_EX_TOOLWINDOW) ? 1 : 0, (style & WS_EX_APPWINDOW) ? 1 : 0);
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

int Box(const wchar_t* title, int seconds) {
  for (int tenth = 0; tenth < seconds * 10; ++tenth) {
    if (HWND box = FindWindowW(L"#32770", title)) {
      EnumChildWindows(box, PrintStatic, 0);
      std::fflush(stdout);
      PostMessageW(box, WM_COMMAND, IDOK, 0);
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
      std::printf("close %d minimize %d maximize %d sizing %d\n", (style & WS_SYSMENU) ? 1 : 0,
                  (style & WS_MINIMIZEBOX) ? 1 : 0, (style & WS_MAXIMIZEBOX) ? 1 : 0, (style & WS_THICKFRAME) ? 1 : 0);
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

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring command = argc > 1 ? argv[1] : L"";
  if (command == L"window" && argc == 2) return PrintWindow();
  if (command == L"wait" && argc == 4) return Wait(argv[2], _wtoi(argv[3]));
  if (command == L"hide" && argc == 2) return MainWindow() && ShowWindow(MainWindow(), SW_HIDE) ? 0 : 1;
  if (command == L"lock" && argc == 4) return Lock(argv[2], _wtoi(argv[3]));
  if (command == L"box" && argc == 4) return Box(argv[2], _wtoi(argv[3]));
  if (command == L"hittest" && argc == 4) return HitTest(_wtoi(argv[2]), _wtoi(argv[3]));
  if (command == L"dialog" && argc == 3) return Dialog(_wtoi(argv[2]));
  if (command == L"endsession" && argc == 2) return EndSession();
  std::fprintf(stderr, "usage: win32_probe window | wait visible|hidden S | hide | lock FILE S | box TITLE S | "
                       "hittest X Y | dialog S | endsession\n");
  return 2;
}
