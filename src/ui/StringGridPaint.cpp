// Painting: each cell prepared and handed to the owner, then the lines, the empty area and
// the editor.
#include <algorithm>

#include "ui/StringGrid.h"

namespace tasklane::ui {

using platform::Canvas;
using platform::Point;
using platform::Rect;

void StringGrid::Paint(Canvas& canvas, bool active) {
  const platform::Size client = ClientSize();
  canvas.PushClip(Rect::FromBounds(0, 0, client.width, client.height));
  canvas.FillRect(Rect::FromBounds(0, 0, client.width, client.height), Color);
  // The fixed rows, then the task rows from the first one in view: only what shows is drawn.
  auto paintRow = [&](int row) {
    for (int col = leftCol_; col < colCount_; ++col) {
      if (CellRect(col, row) == Rect{}) return false;
      PaintCell(canvas, col, row, active);
    }
    return true;
  };
  for (int row = 0; row < fixedRows_; ++row) paintRow(row);
  for (int row = topRow_; row < rowCount_ && paintRow(row); ++row) {
  }
  PaintLines(canvas);
  if (editor_.IsOpen()) {
    editor_.Paint(canvas, Font, Colors.windowText, platform::Color{255, 255, 255}, Colors.highlight,
                  Colors.highlightText);
  }
  canvas.PopClip();
  PaintScrollBars(canvas);
}

void StringGrid::PaintCell(Canvas& canvas, int col, int row, bool active) {
  const Rect rect = CellRect(col, row);
  CellPreparation prep;
  prep.font = Font;
  prep.fixed = row < fixedRows_;
  prep.selected = col == Col() && row == Row();
  prep.focused = prep.selected && active;
  if (prep.selected && editor_.IsOpen()) return;  // the editor covers it
  if (prep.selected && !prep.focused) {
    prep.brush = Colors.highlight;
    prep.fontColor = Colors.highlightText;
  } else {
    prep.brush = prep.fixed ? FixedColor : Color;
    prep.fontColor = Colors.windowText;
  }
  canvas.FillRect(rect, prep.brush);
  canvas.PushClip(rect);
  platform::TextFormat format;
  format.verticalCenter = false;
  canvas.Text(Rect{rect.left + 2, rect.top + 2, rect.right, rect.bottom}, Cell(col, row), prep.font, prep.fontColor,
              format);
  canvas.PopClip();
  if (OnDrawCell) OnDrawCell(canvas, col, row, rect, prep);
  if (prep.focused) canvas.FocusRect(rect);
}

// A black line under the header and no separators in it; silver lines between all task
// rows and columns.
void StringGrid::PaintLines(Canvas& canvas) {
  if (gridLineWidth_ <= 0) return;
  const platform::Size client = ClientSize();
  const int pitch = defaultRowHeight + gridLineWidth_;
  int right = 0;
  for (int col = leftCol_; col < colCount_; ++col) right += colWidths_[static_cast<std::size_t>(col)] + gridLineWidth_;
  right = std::min(right, client.width);
  const int visibleRows = fixedRows_ + std::max(rowCount_ - topRow_, 0);
  const int bottom = std::min(visibleRows * pitch, client.height);
  for (int line = 0; line < gridLineWidth_; ++line) {
    for (int visible = 0; visible < visibleRows && visible * pitch < client.height; ++visible) {
      const int y = visible * pitch + defaultRowHeight + line;
      const platform::Color color = visible < fixedRows_ ? platform::Color{0, 0, 0} : silver;
      canvas.Line(Point{0, y}, Point{right, y}, color);
    }
    int x = 0;
    for (int col = leftCol_; col < colCount_ && x < client.width; ++col) {
      x += colWidths_[static_cast<std::size_t>(col)];
      canvas.Line(Point{x + line, fixedRows_ * pitch}, Point{x + line, bottom}, silver);
      if (fixedRows_ > 0) canvas.FillRect(Rect{x + line, 0, x + line + 1, defaultRowHeight}, FixedColor);
      x += gridLineWidth_;
    }
  }
}

}  // namespace tasklane::ui
