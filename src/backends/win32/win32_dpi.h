// The core works in logical pixels, 96 to the inch, as the window was laid out; Windows works in
// the screen's own pixels. A DpiScale turns one into the other for one window: every point,
// size and rectangle that crosses the boundary goes through it, so on a screen of 144 or 192
// dpi the window is as large to the eye as on one of 96 and drawn sharply at the screen's pixels.
//
// A rectangle's edges are scaled one by one, so that rectangles which touch in logical pixels
// touch in device pixels too.
#pragma once

#include <windows.h>

#include "platform/Geometry.h"

namespace tasklane::win32 {

inline constexpr int kLogicalDpi = 96;

struct DpiScale {
  int dpi = kLogicalDpi;

  int Device(int logical) const { return MulDiv(logical, dpi, kLogicalDpi); }
  int Logical(int device) const { return MulDiv(device, kLogicalDpi, dpi); }

  POINT Device(platform::Point p) const { return {Device(p.x), Device(p.y)}; }
  platform::Point Logical(POINT p) const { return {Logical(p.x), Logical(p.y)}; }
  RECT Device(const platform::Rect& r) const { return {Device(r.left), Device(r.top), Device(r.right), Device(r.bottom)}; }
  platform::Rect Logical(const RECT& r) const {
    return {Logical(r.left), Logical(r.top), Logical(r.right), Logical(r.bottom)};
  }
  platform::Size Logical(SIZE s) const { return {Logical(static_cast<int>(s.cx)), Logical(static_cast<int>(s.cy))}; }
  SIZE Device(platform::Size s) const { return {Device(s.width), Device(s.height)}; }
};

// The screen's resolution for the whole program (LOGPIXELSY), as Windows tells a program that
// declares itself aware of it; 96 when it cannot be read.
int SystemDpi();

// The resolution of the screen `window` is on: per monitor where Windows keeps one per monitor
// (Windows 10 1607 and later), the system's otherwise.
DpiScale ScaleOf(HWND window);

}  // namespace tasklane::win32
