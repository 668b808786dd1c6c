// The grid's scroll bars: arrows step one row or column, the track pages, the thumb drags.
// They move the view only; the current cell stays where it is.
#include <algorithm>

#include "ui/StringGrid.h"

namespace tasklane::ui {

using platform::Point;
using platform::Rect;

namespace {
constexpr platform::Color trackColor{240, 240, 240};
constexpr platform::Color thumbColor{205, 205, 205};
constexpr platform::Color arrowColor{96, 96, 96};
constexpr int minimumThumb = 8;
}  // namespace

bool StringGrid::HasVerticalBar() const {
  bool vertical = false;
  bool horizontal = false;
  BarsShown(vertical, horizontal);
  return vertical;
}

bool StringGrid::HasHorizontalBar() const {
  bool vertical = false;
  bool horizontal = false;
  BarsShown(vertical, horizontal);
  return horizontal;
}

StringGrid::BarGeometry StringGrid::Bar(bool vertical) const {
  const platform::Size client = ClientSize();
  BarGeometry bar;
  const int length = vertical ? client.height : client.width;
  bar.area = vertical ? Rect::FromBounds(client.width, 0, scrollBarSize, client.height)
                      : Rect::FromBounds(0, client.height, client.width, scrollBarSize);
  bar.first = vertical ? fixedRows_ : 0;
  bar.last = vertical ? std::max(rowCount_ - VisibleRowCount(), fixedRows_) : std::max(colCount_ - VisibleColCount(), 0);
  bar.position = vertical ? topRow_ : leftCol_;
  const int track = std::max(length - 2 * scrollBarSize, 0);
  const int total = vertical ? rowCount_ - fixedRows_ : colCount_;
  const int shown = vertical ? VisibleRowCount() : VisibleColCount();
  bar.thumbLength = total > 0 ? std::clamp(track * shown / std::max(total, 1), std::min(minimumThumb, track), track) : track;
  const int range = bar.last - bar.first;
  bar.trackStart = scrollBarSize;
  bar.trackLength = track;
  bar.thumbStart = scrollBarSize + (range > 0 ? (track - bar.thumbLength) * (bar.position - bar.first) / range : 0);
  return bar;
}

void StringGrid::ScrollTo(bool vertical, int position) {
  const BarGeometry bar = Bar(vertical);
  const int clamped = std::clamp(position, bar.first, bar.last);
  int& target = vertical ? topRow_ : leftCol_;
  if (clamped == target) return;
  target = clamped;
  CloseEditor();
  Repaint();
}

bool StringGrid::ScrollBarPress(Point point) {
  for (const bool vertical : {true, false}) {
    if (vertical ? !HasVerticalBar() : !HasHorizontalBar()) continue;
    const BarGeometry bar = Bar(vertical);
    if (!bar.area.Contains(point)) continue;
    const int along = vertical ? point.y - bar.area.top : point.x - bar.area.left;
    const int page = vertical ? VisibleRowCount() : VisibleColCount();
    if (along < scrollBarSize) ScrollTo(vertical, bar.position - 1);
    else if (along >= bar.trackStart + bar.trackLength) ScrollTo(vertical, bar.position + 1);
    else if (along < bar.thumbStart) ScrollTo(vertical, bar.position - page);
    else if (along >= bar.thumbStart + bar.thumbLength) ScrollTo(vertical, bar.position + page);
    else {
      thumbDrag_ = vertical ? 1 : 2;
      thumbGrab_ = along - bar.thumbStart;
    }
    return true;
  }
  return false;
}

void StringGrid::ThumbDrag(Point point) {
  const bool vertical = thumbDrag_ == 1;
  const BarGeometry bar = Bar(vertical);
  const int along = (vertical ? point.y - bar.area.top : point.x - bar.area.left) - thumbGrab_;
  const int free = bar.trackLength - bar.thumbLength;
  if (free <= 0) return;
  const int offset = std::clamp(along - bar.trackStart, 0, free);
  ScrollTo(vertical, bar.first + (offset * (bar.last - bar.first) + free / 2) / free);
}

void StringGrid::PaintScrollBars(platform::Canvas& canvas) {
  for (const bool vertical : {true, false}) {
    if (vertical ? !HasVerticalBar() : !HasHorizontalBar()) continue;
    const BarGeometry bar = Bar(vertical);
    canvas.FillRect(bar.area, trackColor);
    const Rect thumb = vertical ? Rect::FromBounds(bar.area.left + 2, bar.thumbStart, scrollBarSize - 4, bar.thumbLength)
                                : Rect::FromBounds(bar.thumbStart, bar.area.top + 2, bar.thumbLength, scrollBarSize - 4);
    if (bar.last > bar.first) canvas.FillRect(thumb, thumbColor);
    // Two small arrow heads, drawn as stacked lines.
    for (int i = 0; i < 4; ++i) {
      const int middle = scrollBarSize / 2;
      if (vertical) {
        const int x = bar.area.left + middle;
        canvas.Line(Point{x - i, bar.area.top + 6 + i}, Point{x + i + 1, bar.area.top + 6 + i}, arrowColor);
        canvas.Line(Point{x - i, bar.area.bottom - 7 - i}, Point{x + i + 1, bar.area.bottom - 7 - i}, arrowColor);
      } else {
        const int y = bar.area.top + middle;
        canvas.Line(Point{bar.area.left + 6 + i, y - i}, Point{bar.area.left + 6 + i, y + i + 1}, arrowColor);
        canvas.Line(Point{bar.area.right - 7 - i, y - i}, Point{bar.area.right - 7 - i, y + i + 1}, arrowColor);
      }
    }
  }
}

}  // namespace tasklane::ui
