// The screens side by side, each at its own scale. The core works in logical pixels, 96 to the
// inch; Windows gives a per-monitor aware program the screens' own pixels. Each screen keeps
// its top-left corner in both and is scaled about it, so a point or a window on a screen of
// 150 % is converted by that screen's scale alone, whichever screen the main window is on:
// a stored place comes back where it was, and the primary screen's size is its own.
//
// Screens of 96 dpi or more keep their logical rectangles inside their device ones, so they
// never overlap; the gaps between them belong to the nearest screen.
#pragma once

#include <windows.h>

#include <vector>

#include "platform/Geometry.h"

namespace tasklane::win32 {

struct Screen {
  RECT device{};  // in the virtual screen's pixels
  RECT work{};    // the work area inside it, the same
  int dpi = 96;
};

class ScreenLayout {
 public:
  // The first screen is the primary one; an empty list stands for one 96-dpi screen of 0 x 0.
  explicit ScreenLayout(std::vector<Screen> screens = {});

  platform::Point Logical(POINT point) const;
  POINT Device(platform::Point point) const;
  // A rectangle goes by the screen it covers most, as Windows gives a window that screen's
  // resolution.
  platform::Rect Logical(const RECT& rect) const;
  RECT Device(const platform::Rect& rect) const;

  platform::Size PrimarySize() const;
  int PrimaryDpi() const { return screens_.front().dpi; }
  platform::Rect VirtualDesktop() const;
  // The work area of the screen a logical rectangle covers most, or the nearest one.
  platform::Rect WorkAreaNearest(const platform::Rect& rect) const;

 private:
  const Screen& ForLogical(const platform::Rect& rect) const;
  const Screen& ForDevice(const RECT& rect) const;
  std::vector<Screen> screens_;
};

// The screens as the system has them now; the primary one first.
ScreenLayout CurrentScreens();

}  // namespace tasklane::win32
