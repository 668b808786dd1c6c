#include "backends/win32/win32_screens.h"

#include <algorithm>
#include <limits>

#include "backends/win32/win32_dpi.h"

namespace tasklane::win32 {

namespace {

int ToLogical(int device, int origin, int dpi) { return origin + MulDiv(device - origin, kLogicalDpi, dpi); }
int ToDevice(int logical, int origin, int dpi) { return origin + MulDiv(logical - origin, dpi, kLogicalDpi); }

platform::Rect LogicalOf(const Screen& screen, const RECT& r) {
  const int x = screen.device.left;
  const int y = screen.device.top;
  return {ToLogical(r.left, x, screen.dpi), ToLogical(r.top, y, screen.dpi), ToLogical(r.right, x, screen.dpi),
          ToLogical(r.bottom, y, screen.dpi)};
}

RECT DeviceOf(const Screen& screen, const platform::Rect& r) {
  const int x = screen.device.left;
  const int y = screen.device.top;
  return {ToDevice(r.left, x, screen.dpi), ToDevice(r.top, y, screen.dpi), ToDevice(r.right, x, screen.dpi),
          ToDevice(r.bottom, y, screen.dpi)};
}

long long Overlap(const platform::Rect& a, const platform::Rect& b) {
  const long long width = std::min(a.right, b.right) - std::max(a.left, b.left);
  const long long height = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
  return width > 0 && height > 0 ? width * height : 0;
}

// How far a rectangle's centre lies outside another, squared.
long long Distance(const platform::Rect& area, const platform::Rect& r) {
  const long long x = (static_cast<long long>(r.left) + r.right) / 2;
  const long long y = (static_cast<long long>(r.top) + r.bottom) / 2;
  const long long dx = x < area.left ? area.left - x : (x >= area.right ? x - area.right + 1 : 0);
  const long long dy = y < area.top ? area.top - y : (y >= area.bottom ? y - area.bottom + 1 : 0);
  return dx * dx + dy * dy;
}

// The screen `r` overlaps most, else the one its centre is nearest to; `areaOf` gives each
// screen's rectangle in r's pixels.
template <typename AreaOf>
std::size_t Choose(const std::vector<Screen>& screens, const platform::Rect& r, AreaOf areaOf) {
  std::size_t best = 0;
  long long bestOverlap = 0;
  long long bestDistance = std::numeric_limits<long long>::max();
  for (std::size_t i = 0; i < screens.size(); ++i) {
    const platform::Rect area = areaOf(screens[i]);
    const long long overlap = Overlap(area, r);
    const long long distance = overlap > 0 ? 0 : Distance(area, r);
    if (overlap > bestOverlap || (bestOverlap == 0 && overlap == 0 && distance < bestDistance)) {
      best = i;
      bestOverlap = overlap;
      bestDistance = distance;
    }
  }
  return best;
}

platform::Rect Plain(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace

ScreenLayout::ScreenLayout(std::vector<Screen> screens) : screens_(std::move(screens)) {
  if (screens_.empty()) screens_.push_back({});
  for (Screen& screen : screens_) {
    if (screen.dpi <= 0) screen.dpi = kLogicalDpi;
  }
}

const Screen& ScreenLayout::ForLogical(const platform::Rect& rect) const {
  return screens_[Choose(screens_, rect, [](const Screen& s) { return LogicalOf(s, s.device); })];
}

const Screen& ScreenLayout::ForDevice(const RECT& rect) const {
  return screens_[Choose(screens_, Plain(rect), [](const Screen& s) { return Plain(s.device); })];
}

platform::Point ScreenLayout::Logical(POINT point) const {
  const platform::Rect r = Logical(RECT{point.x, point.y, point.x + 1, point.y + 1});
  return {r.left, r.top};
}

POINT ScreenLayout::Device(platform::Point point) const {
  const RECT r = Device(platform::Rect{point.x, point.y, point.x + 1, point.y + 1});
  return {r.left, r.top};
}

platform::Rect ScreenLayout::Logical(const RECT& rect) const { return LogicalOf(ForDevice(rect), rect); }

RECT ScreenLayout::Device(const platform::Rect& rect) const { return DeviceOf(ForLogical(rect), rect); }

platform::Size ScreenLayout::PrimarySize() const {
  const platform::Rect primary = LogicalOf(screens_.front(), screens_.front().device);
  return {primary.Width(), primary.Height()};
}

platform::Rect ScreenLayout::VirtualDesktop() const {
  platform::Rect all = LogicalOf(screens_.front(), screens_.front().device);
  for (const Screen& screen : screens_) {
    const platform::Rect r = LogicalOf(screen, screen.device);
    all = {std::min(all.left, r.left), std::min(all.top, r.top), std::max(all.right, r.right),
           std::max(all.bottom, r.bottom)};
  }
  return all;
}

platform::Rect ScreenLayout::WorkAreaNearest(const platform::Rect& rect) const {
  const Screen& screen = ForLogical(rect);
  return LogicalOf(screen, screen.work);
}

namespace {

// NOTE: GetDpiForMonitor came with Windows 8.1 in shcore.dll; without it every screen has
// the system's resolution.
int DpiOf(HMONITOR monitor) {
  using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
  static const auto getDpiForMonitor = [] {
    HMODULE shcore = LoadLibraryW(L"shcore.dll");
    return shcore ? reinterpret_cast<GetDpiForMonitorFunction>(
                        reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")))
                  : nullptr;
  }();
  UINT x = 0;
  UINT y = 0;
  if (getDpiForMonitor && SUCCEEDED(getDpiForMonitor(monitor, 0 /* MDT_EFFECTIVE_DPI */, &x, &y)) && y > 0) {
    return static_cast<int>(y);
  }
  return SystemDpi();
}

BOOL CALLBACK AddScreen(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (!GetMonitorInfoW(monitor, &info)) return TRUE;
  auto& screens = *reinterpret_cast<std::vector<Screen>*>(list);
  const Screen screen{info.rcMonitor, info.rcWork, DpiOf(monitor)};
  if ((info.dwFlags & MONITORINFOF_PRIMARY) != 0) screens.insert(screens.begin(), screen);
  else screens.push_back(screen);
  return TRUE;
}

}  // namespace

ScreenLayout CurrentScreens() {
  std::vector<Screen> screens;
  EnumDisplayMonitors(nullptr, nullptr, AddScreen, reinterpret_cast<LPARAM>(&screens));
  if (screens.empty()) {
    const RECT all{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    screens.push_back({all, all, SystemDpi()});
  }
  return ScreenLayout(std::move(screens));
}

}  // namespace tasklane::win32
