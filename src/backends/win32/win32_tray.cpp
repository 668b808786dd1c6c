// Win32Platform: the notification-area icon and the shell.
//
//  [x] Shell_NotifyIconW with the program icon at the notification area's size and resolution,
//      its tip; clicks come back as trayMessage to the main window
//  [x] version 4 where the shell has it: a click, or Enter or Space on the icon, is NIN_SELECT
//      or NIN_KEYSELECT, the menu (right button, menu key) WM_CONTEXTMENU
//  [x] added whenever a notification area starts ("TaskbarCreated"); a failed add is tried
//      again by a timer that runs only until the icon is in; removed when the program ends
//  [x] the file browser with the file selected, web addresses (ShellExecuteW "open")
#include <windows.h>
#include <shellapi.h>

#include <algorithm>

#include "backends/win32/win32_platform.h"
#include "backends/win32/win32_state.h"
#include "backends/win32/win32_text.h"

namespace tasklane::win32 {

namespace {

NOTIFYICONDATAW IconData(const Win32State& state) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(data);
  data.hWnd = state.window;
  data.uID = 1;
  return data;
}

// The notification area lies on the primary screen's task bar: its small icons have that
// screen's resolution.
HICON TrayIconPicture(Win32State& state) {
  if (state.trayIcon) DestroyIcon(state.trayIcon);
  const int size = SmallIconSize(state.screens.PrimaryDpi());
  state.trayIcon = ProgramIcon(state.instance, size);
  return state.trayIcon;
}

bool AddTrayIcon(Win32State& state, DWORD how) {
  NOTIFYICONDATAW data = IconData(state);
  data.uFlags = NIF_ICON | NIF_TIP | NIF_MESSAGE;
  data.uCallbackMessage = trayMessage;
  data.hIcon = TrayIconPicture(state);
  std::copy(state.trayTip.begin(), state.trayTip.end(), data.szTip);
  if (!Shell_NotifyIconW(how, &data)) return false;
  if (how == NIM_ADD) {
    data.uVersion = NOTIFYICON_VERSION_4;
    state.trayVersion4 = Shell_NotifyIconW(NIM_SETVERSION, &data) != FALSE;
  }
  return true;
}

// A shell that is not there yet, or busy past its time-out, gets asked again, less and less
// often; the timer stops as soon as the icon is in. NOTE: an add that timed out may have
// added the icon all the same, and a second add of it then fails: a modify finds it.
void AddOrRetry(Win32State& state) {
  if (!state.window) return;
  state.trayShown = AddTrayIcon(state, state.trayShown ? NIM_MODIFY : NIM_ADD) ||
                    (!state.trayShown && AddTrayIcon(state, NIM_MODIFY));
  if (state.trayShown) {
    KillTimer(state.window, trayRetryTimerId);
    state.trayRetryDelay = trayRetryMs;
    return;
  }
  SetTimer(state.window, trayRetryTimerId, state.trayRetryDelay, nullptr);
  state.trayRetryDelay = std::min(state.trayRetryDelay * 2, trayRetryMaxMs);
}

}  // namespace

void Win32Platform::ShowTrayIcon(std::u16string_view tip) {
  state_->trayTip = Wide(tip.substr(0, std::size(NOTIFYICONDATAW{}.szTip) - 1));
  state_->trayWanted = true;
  AddOrRetry(*state_);
}

void RestoreTrayIcon(Win32State& state) {
  if (state.trayWanted) AddOrRetry(state);
}

void HideTrayIcon(Win32State& state) {
  if (state.window) KillTimer(state.window, trayRetryTimerId);
  if (state.trayShown) {
    NOTIFYICONDATAW data = IconData(state);
    Shell_NotifyIconW(NIM_DELETE, &data);
  }
  state.trayShown = false;
  state.trayWanted = false;
  if (state.trayIcon) DestroyIcon(state.trayIcon);
  state.trayIcon = nullptr;
}

// Version 4 names the event in the low word of lParam and also reports the plain button
// messages, which are left alone then, so that a click counts once.
void OnTrayMessage(Win32State& state, WPARAM /*anchor*/, LPARAM lParam) {
  if (!state.events) return;
  const UINT event = LOWORD(lParam);
  const bool click = state.trayVersion4 ? event == NIN_SELECT || event == NIN_KEYSELECT : event == WM_LBUTTONUP;
  const bool menu = state.trayVersion4 ? event == WM_CONTEXTMENU : event == WM_RBUTTONUP || event == WM_CONTEXTMENU;
  if (click) state.events->TrayClicked();
  else if (menu) state.events->TrayMenuRequested();
}

// Explorer from the Windows folder, else from the system folder, opens the folder with the
// file selected; without either nothing happens.
void Win32Platform::ShowFileInBrowser(const std::filesystem::path& file) {
  wchar_t folder[MAX_PATH] = {};
  std::filesystem::path explorer;
  if (GetWindowsDirectoryW(folder, MAX_PATH) > 0) explorer = std::filesystem::path(folder) / L"Explorer.exe";
  if (explorer.empty() || GetFileAttributesW(explorer.c_str()) == INVALID_FILE_ATTRIBUTES) {
    explorer.clear();
    if (GetSystemDirectoryW(folder, MAX_PATH) > 0) explorer = std::filesystem::path(folder) / L"Explorer.exe";
  }
  if (explorer.empty() || GetFileAttributesW(explorer.c_str()) == INVALID_FILE_ATTRIBUTES) return;
  const std::wstring parameters = ExplorerSelectArguments(file.wstring());
  ShellExecuteW(state_->window, L"open", explorer.c_str(), parameters.c_str(), nullptr, SW_SHOWNORMAL);
}

// Owned by the main window, so that whatever the shell shows (a browser's question, an
// error) stands in front of it and not behind the top-most window.
void Win32Platform::OpenAddress(std::u16string_view address) {
  std::wstring wideAddress = Wide(address);
  // A bare "www." address is no URL the shell knows how to open.
  if (wideAddress.find(L"://") == std::wstring::npos) wideAddress = L"http://" + wideAddress;
  ShellExecuteW(state_->window, L"open", wideAddress.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace tasklane::win32
