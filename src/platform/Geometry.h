// Plain geometry values in pixels.
#pragma once

namespace tasklane::platform {

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  int width = 0;
  int height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

// Right and bottom are one past the last pixel, as on Windows.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  static Rect FromBounds(int left, int top, int width, int height) {
    return {left, top, left + width, top + height};
  }
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool IsEmpty() const { return right <= left || bottom <= top; }
  bool Contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

// Where a window of `windowExtent` starts to stand centred on `screenExtent`: half the
// screen less half the window, a half rounded to the even neighbour.
constexpr int CentredStart(int screenExtent, int windowExtent) {
  const long long twice = static_cast<long long>(screenExtent) - windowExtent;  // twice the result
  long long half = twice >= 0 ? twice / 2 : -((-twice + 1) / 2);                 // rounded down
  if (twice % 2 != 0 && half % 2 != 0) ++half;                                   // .5 goes to even
  return static_cast<int>(half);
}

}  // namespace tasklane::platform
