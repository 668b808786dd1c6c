#include "backends/win32/win32_dpi.h"

namespace tasklane::win32 {

int SystemDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kLogicalDpi;
}

// NOTE: GetDpiForWindow came with Windows 10 1607; looked up by name, the program still starts
// on the systems before it and takes the system's resolution there.
DpiScale ScaleOf(HWND window) {
  using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFunction>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  const int dpi = getDpiForWindow != nullptr && window != nullptr ? static_cast<int>(getDpiForWindow(window)) : 0;
  return {dpi > 0 ? dpi : SystemDpi()};
}

}  // namespace tasklane::win32
