#include "backends/win32/win32_icons.h"

#include "backends/win32/win32_dpi.h"
#include "backends/win32/win32_resources.h"

namespace tasklane::win32 {

HICON ProgramIcon(HINSTANCE instance, int size) {
  return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_PROGRAM), IMAGE_ICON, size, size, 0));
}

SIZE IconSize(HICON icon) {
  ICONINFO info{};
  if (!icon || !GetIconInfo(icon, &info)) return {0, 0};
  BITMAP picture{};
  SIZE size{0, 0};
  if (info.hbmColor && GetObjectW(info.hbmColor, sizeof(picture), &picture)) {
    size = {picture.bmWidth, picture.bmHeight};
  } else if (info.hbmMask && GetObjectW(info.hbmMask, sizeof(picture), &picture)) {
    size = {picture.bmWidth, picture.bmHeight / 2};  // a monochrome icon: mask over picture
  }
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  return size;
}

// NOTE: GetSystemMetricsForDpi came with Windows 10 1607; before it the system's own metric,
// scaled from the system's resolution.
int SmallIconSize(int dpi) {
  using MetricsForDpiFunction = int(WINAPI*)(int, UINT);
  static const auto metricsForDpi = reinterpret_cast<MetricsForDpiFunction>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetSystemMetricsForDpi")));
  if (metricsForDpi) {
    const int size = metricsForDpi(SM_CXSMICON, static_cast<UINT>(dpi));
    if (size > 0) return size;
  }
  return MulDiv(GetSystemMetrics(SM_CXSMICON), dpi, SystemDpi());
}

}  // namespace tasklane::win32
