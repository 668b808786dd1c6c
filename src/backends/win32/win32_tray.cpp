// Win32Platform: the notification-area icon and the shell.
//
//  [x] Shell_NotifyIconW with the program icon at the small-icon size and its tip; clicks come
//      back as trayMessage to the main window
//  [x] added again when Explorer restarts ("TaskbarCreated"); removed when the program ends
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

bool AddTrayIcon(const Win32State& state, DWORD how) {
  NOTIFYICONDATAW data = IconData(state);
  data.uFlags = NIF_ICON | NIF_TIP | NIF_MESSAGE;
  data.uCallbackMessage = trayMessage;
  data.hIcon = ProgramIcon(state.instance, GetSystemMetrics(SM_CXSMICON));
  std::copy(state.trayTip.begin(), state.trayTip.end(), data.szTip);
  return Shell_NotifyIconW(how, &data) != FALSE;
}

}  // namespace

void Win32Platform::ShowTrayIcon(std::u16string_view tip) {
  state_->trayTip = Wide(tip.substr(0, std::size(NOTIFYICONDATAW{}.szTip) - 1));
  state_->trayShown = AddTrayIcon(*state_, state_->trayShown ? NIM_MODIFY : NIM_ADD) || state_->trayShown;
}

// A new task bar has no icons: ours goes back in.
void RestoreTrayIcon(Win32State& state) {
  if (state.trayShown) AddTrayIcon(state, NIM_ADD);
}

void HideTrayIcon(Win32State& state) {
  if (!state.trayShown) return;
  NOTIFYICONDATAW data = IconData(state);
  Shell_NotifyIconW(NIM_DELETE, &data);
  state.trayShown = false;
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
  const std::wstring parameters = L"/n, /e, /select, " + file.wstring();
  ShellExecuteW(state_->window, L"open", explorer.c_str(), parameters.c_str(), nullptr, SW_SHOWNORMAL);
}

void Win32Platform::OpenAddress(std::u16string_view address) {
  std::wstring wideAddress = Wide(address);
  // A bare "www." address is no URL the shell knows how to open.
  if (wideAddress.find(L"://") == std::wstring::npos) wideAddress = L"http://" + wideAddress;
  ShellExecuteW(nullptr, L"open", wideAddress.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace tasklane::win32
