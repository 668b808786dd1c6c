// Win32Platform: one instance per logon session.
//
//  [x] the named mutex "ToDoMutex", created owned; ERROR_ALREADY_EXISTS tells of another instance
//  [x] the top-level windows in z-order, topmost first, hidden ones included (EnumWindows, which
//      cannot loop on a window destroyed during the walk); titles and class names read into
//      261-character buffers, 255 at most
//  [x] CompareStringW by the user's locale, ignoring case
//  [x] the other instance's window shown normal and brought to the foreground
#include "backends/win32/win32_platform.h"
#include "backends/win32/win32_state.h"
#include "backends/win32/win32_text.h"

namespace tasklane::win32 {

namespace {

constexpr int bufferLength = 261;
constexpr int readLimit = 255;

}  // namespace

platform::InstanceLock Win32Platform::CreateInstanceLock(std::u16string_view name) {
  const std::wstring wideName = Wide(name);
  HANDLE mutex = CreateMutexW(nullptr, TRUE, wideName.c_str());
  if (!mutex) return platform::InstanceLock::Failed;
  state_->mutex = mutex;
  // Kept open and owned for the whole run: the system lets go of it when the process ends.
  return GetLastError() == ERROR_ALREADY_EXISTS ? platform::InstanceLock::AlreadyExists
                                                : platform::InstanceLock::Created;
}

void Win32Platform::CloseInstanceLock() {
  if (state_->mutex) CloseHandle(state_->mutex);
  state_->mutex = nullptr;
}

namespace {

BOOL CALLBACK AddWindow(HWND window, LPARAM list) {
  wchar_t title[bufferLength] = {};
  wchar_t className[bufferLength] = {};
  GetWindowTextW(window, title, readLimit);
  GetClassNameW(window, className, readLimit);
  auto& windows = *reinterpret_cast<std::vector<platform::TopLevelWindow>*>(list);
  windows.push_back({reinterpret_cast<std::uintptr_t>(window), CoreText(title), CoreText(className)});
  return TRUE;
}

}  // namespace

std::vector<platform::TopLevelWindow> Win32Platform::TopLevelWindows() {
  std::vector<platform::TopLevelWindow> windows;
  EnumWindows(AddWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

void Win32Platform::ShowNormalAndForeground(std::uintptr_t windowId) {
  HWND window = reinterpret_cast<HWND>(windowId);
  ::ShowWindow(window, SW_SHOWNORMAL);
  SetForegroundWindow(window);
}

bool Win32Platform::SameTextIgnoringCase(std::u16string_view a, std::u16string_view b) {
  const std::wstring wideA = Wide(a);
  const std::wstring wideB = Wide(b);
  return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, wideA.c_str(), static_cast<int>(wideA.size()),
                        wideB.c_str(), static_cast<int>(wideB.size())) == CSTR_EQUAL;
}

}  // namespace tasklane::win32
