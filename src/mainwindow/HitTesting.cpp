// The borderless window's own frame: the edges and corners it is sized by, how small it may
// get, the snapping to the work area's edges, and the presses on the frame pictures that
// move the window or open the menu.
#include "mainwindow/ToDoUnit.h"

namespace tasklane::mainwindow {

using platform::HitZone;
using platform::Point;
using platform::Rect;

namespace {

constexpr int edge = 4;
constexpr int lowerCorner = 30;
constexpr int smallestUnfolded = 30;
constexpr int snapDistance = 10;

struct Zone {
  int left, top, right, bottom;
  HitZone answer;
};

HitZone ZoneAt(int x, int y, int width, int height) {
  const Zone zones[] = {
      {0, 0, edge, edge, HitZone::TopLeft},
      {width - edge, 0, width, edge, HitZone::TopRight},
      {0, 0, width, edge, HitZone::Top},
      {0, 0, edge, height, HitZone::Left},
      {0, height - edge, width, height, HitZone::Bottom},
      {width - edge, 0, width, height, HitZone::Right},
      {0, height - lowerCorner, lowerCorner, height, HitZone::BottomLeft},
      {width - lowerCorner, height - lowerCorner, width, height, HitZone::BottomRight},
  };
  for (const Zone& zone : zones) {
    if (x >= zone.left && x < zone.right && y >= zone.top && y < zone.bottom) return zone.answer;
  }
  return HitZone::Client;
}

}  // namespace

HitZone TToDoForm::HitTest(Point screen) {
  if (Values.FoldState != Unfolded) return HitZone::Client;
  const Rect window = platform_.WindowBounds();
  const HitZone answer = ZoneAt(screen.x - window.left, screen.y - window.top, window.Width(), window.Height());
  // Dragging an edge may leave the window smaller than its frame needs; it grows back at
  // the next look at the mouse rather than fighting the drag.
  if (ClientWidth() < smallestUnfolded) SetClientSize(smallestUnfolded, ClientHeight());
  if (ClientHeight() < smallestUnfolded) SetClientSize(ClientWidth(), smallestUnfolded);
  return answer;
}

void TToDoForm::SizeLimits(platform::Size& minimum, platform::Size& /*maximum*/) {
  Guarded(u"GetMinMaxInfo", Team::Development, [&] { minimum = {10, 10}; });
}

// Each edge that comes within 10 pixels of the work area's matching edge lands on it. The
// top-left corner of the screen is left alone: that is where a window goes to be reset.
Rect TToDoForm::SnappedToWorkArea(const Rect& bounds) {
  if (bounds.left == 0 && bounds.top == 0) return bounds;
  const Rect area = platform_.WorkAreaNearest(bounds);
  const int width = bounds.Width();
  const int height = bounds.Height();
  int left = bounds.left;
  int top = bounds.top;
  if (std::abs(left - area.left) < snapDistance) left = area.left;
  if (std::abs(top - area.top) < snapDistance) top = area.top;
  if (std::abs(left + width - area.right) < snapDistance) left = area.right - width;
  if (std::abs(top + height - area.bottom) < snapDistance) top = area.bottom - height;
  return Rect::FromBounds(left, top, width, height);
}

void TToDoForm::Moved() {
  const Rect bounds = platform_.WindowBounds();
  const Rect snapped = SnappedToWorkArea(bounds);
  if (snapped.left != bounds.left || snapped.top != bounds.top) platform_.SetWindowBounds(snapped);
  RecordChange(-1);
}

// The frame pictures: the left button drags the window, the right one opens the menu.
void TToDoForm::FakeClient(platform::ShiftState shift) {
  if (shift.left) {
    captured_ = nullptr;  // the window system's move loop takes the release
    platform_.StartSystemMove();
  } else if (shift.right) {
    OpenPopupMenuAt(platform_.CursorPosition());
  }
}

// The red bar and the grid: only the right button does something here.
void TToDoForm::PopupFake(platform::ShiftState shift) {
  if (shift.right) OpenPopupMenuAt(platform_.CursorPosition());
}

}  // namespace tasklane::mainwindow
