// The grid's data, its geometry, and moving the current cell.
#include "ui/StringGrid.h"

#include <algorithm>

namespace tasklane::ui {

StringGrid::StringGrid(std::u16string_view name, Control* owner, int colCount, int rowCount,
                       platform::Clipboard& clipboard)
    : Control(name, owner), colCount_(std::max(colCount, 1)), rowCount_(std::max(rowCount, 1)), editor_(clipboard) {
  colWidths_.assign(static_cast<std::size_t>(colCount_), defaultColWidth);
  if (fixedRows_ >= rowCount_) fixedRows_ = rowCount_ - 1;
  editor_.OnChange([this](const std::u16string& text) {
    if (Col() >= 0 && Row() >= 0) SetCell(Col(), Row(), text);
  });
}

// A column that is added comes with the default width.
void StringGrid::SetColCount(int count) {
  colCount_ = std::max(count, 1);
  colWidths_.resize(static_cast<std::size_t>(colCount_), defaultColWidth);
  leftCol_ = std::min(leftCol_, colCount_ - 1);
  DataChanged(-1);
  KeepCurrentCellInside();
  ViewChanged();
}

void StringGrid::SetRowCount(int count) {
  rowCount_ = std::max(count, 1);
  if (fixedRows_ >= rowCount_) SetFixedRows(rowCount_ - 1);
  topRow_ = std::clamp(topRow_, fixedRows_, rowCount_ - 1);
  DataChanged(-1);
  KeepCurrentCellInside();
  ViewChanged();
}

// A current cell that the table no longer holds moves onto the nearest one it does, as any
// move does: asked first, and the editor closes, since what it typed would land outside
// the table.
void StringGrid::KeepCurrentCellInside() {
  if (selection_.left < 0 || (Col() < colCount_ && Row() < rowCount_)) return;
  MoveTo(std::min(Col(), colCount_ - 1), std::min(Row(), rowCount_ - 1), false);
}

void StringGrid::SetFixedRows(int count) {
  if (count == fixedRows_) return;
  // The editor belongs to the cell it was opened on, which is no longer current.
  CloseEditor();
  fixedRows_ = count;
  selection_ = {0, fixedRows_, 0, fixedRows_};
  topRow_ = fixedRows_;
  leftCol_ = 0;
  Repaint();
}

std::u16string_view StringGrid::Cell(int col, int row) const { return cells_.At(col, row); }

void StringGrid::SetCell(int col, int row, std::u16string_view text) {
  if (row < 0 || col < 0) throw std::out_of_range("grid cell outside the table");
  if (cells_.At(col, row) == text) return;
  cells_.Set(col, row, text);
  DataChanged(row);
  Repaint();
}

void StringGrid::SetRowCells(int row, std::span<const std::u16string_view> cells) {
  if (row < 0) throw std::out_of_range("grid cell outside the table");
  cells_.SetRow(row, cells);
  DataChanged(row);
  Repaint();
}

void StringGrid::CheckColumn(int col) const {
  if (col < 0 || col >= colCount_) throw std::out_of_range("Grid index out of range");
}

int StringGrid::ColWidth(int col) const {
  CheckColumn(col);
  return colWidths_[static_cast<std::size_t>(col)];
}

void StringGrid::SetColWidth(int col, int width) {
  CheckColumn(col);
  colWidths_[static_cast<std::size_t>(col)] = width;
  DataChanged(-1);
  ViewChanged();
}

void StringGrid::SetGridLineWidth(int width) {
  gridLineWidth_ = width;
  ViewChanged();
}

void StringGrid::SetScrollBars(ScrollBars bars) {
  scrollBars_ = bars;
  ViewChanged();
}

// The cells end to end, the lines between them included.
int StringGrid::ExtentWidth() const {
  int width = gridLineWidth_ * (colCount_ - 1);
  for (int w : colWidths_) width += w;
  return width;
}

int StringGrid::ExtentHeight() const { return defaultRowHeight * rowCount_ + gridLineWidth_ * (rowCount_ - 1); }

// A scroll bar the setting allows shows only while the cells do not fit; one bar can make
// room for the other scarce.
void StringGrid::BarsShown(bool& vertical, bool& horizontal) const {
  const int width = Bounds().Width() - 2;
  const int height = Bounds().Height() - 2;
  const bool allowV = scrollBars_ == ScrollBars::Vertical || scrollBars_ == ScrollBars::Both;
  const bool allowH = scrollBars_ == ScrollBars::Horizontal || scrollBars_ == ScrollBars::Both;
  vertical = horizontal = false;
  for (int pass = 0; pass < 2; ++pass) {
    vertical = allowV && ExtentHeight() > height - (horizontal ? scrollBarSize : 0);
    horizontal = allowH && ExtentWidth() > width - (vertical ? scrollBarSize : 0);
  }
}

// Inside the one-pixel border, less the scroll bars that show.
platform::Size StringGrid::ClientSize() const {
  bool vertical = false;
  bool horizontal = false;
  BarsShown(vertical, horizontal);
  const int width = Bounds().Width() - 2 - (vertical ? scrollBarSize : 0);
  const int height = Bounds().Height() - 2 - (horizontal ? scrollBarSize : 0);
  return {std::max(width, 0), std::max(height, 0)};
}

platform::Rect StringGrid::CellRect(int col, int row) const {
  if (col < 0 || col >= colCount_ || row < 0 || row >= rowCount_) return {};
  if (col < leftCol_ || (row >= fixedRows_ && row < topRow_)) return {};
  int x = 0;
  for (int c = leftCol_; c < col; ++c) x += colWidths_[static_cast<std::size_t>(c)] + gridLineWidth_;
  const int visibleRowsBefore = row < fixedRows_ ? row : fixedRows_ + (row - topRow_);
  const int y = visibleRowsBefore * (defaultRowHeight + gridLineWidth_);
  const platform::Size client = ClientSize();
  if (x >= client.width || y >= client.height) return {};
  return platform::Rect::FromBounds(x, y, colWidths_[static_cast<std::size_t>(col)], defaultRowHeight);
}

bool StringGrid::CellAt(platform::Point point, int& col, int& row) const {
  const platform::Size client = ClientSize();
  if (point.x < 0 || point.y < 0 || point.x >= client.width || point.y >= client.height) return false;
  const int rowPitch = defaultRowHeight + gridLineWidth_;
  const int visibleRow = point.y / rowPitch;
  row = visibleRow < fixedRows_ ? visibleRow : topRow_ + (visibleRow - fixedRows_);
  if (row >= rowCount_) return false;
  int x = 0;
  for (col = leftCol_; col < colCount_; ++col) {
    x += colWidths_[static_cast<std::size_t>(col)] + gridLineWidth_;
    if (point.x < x) return true;
  }
  return false;
}

int StringGrid::VisibleRowCount() const {
  const int rowPitch = defaultRowHeight + gridLineWidth_;
  const int free = ClientSize().height - fixedRows_ * rowPitch;
  return std::clamp(free / rowPitch, 1, std::max(rowCount_ - topRow_, 1));
}

int StringGrid::VisibleColCount() const {
  int x = 0;
  int count = 0;
  for (int col = leftCol_; col < colCount_; ++col) {
    x += colWidths_[static_cast<std::size_t>(col)] + gridLineWidth_;
    if (x > ClientSize().width + gridLineWidth_) break;
    ++count;
  }
  return std::max(count, 1);
}

void StringGrid::ScrollIntoView(int col, int row) {
  if (row >= fixedRows_) {
    if (row < topRow_) topRow_ = row;
    while (row >= topRow_ + VisibleRowCount() && topRow_ < rowCount_ - 1) ++topRow_;
  }
  if (col < leftCol_) leftCol_ = col;
  while (col >= leftCol_ + VisibleColCount() && leftCol_ < colCount_ - 1) ++leftCol_;
}

// The one way the current cell moves: asked first, then the editor closes, then the move.
void StringGrid::MoveTo(int col, int row, bool byUser) {
  bool canSelect = true;
  if (OnSelectCell) OnSelectCell(col, row, canSelect);
  if (!canSelect) return;
  CloseEditor();
  selection_ = {col, row, col, row};
  ScrollIntoView(col, row);
  Repaint();
  if (byUser && OnClick) OnClick();
}

void StringGrid::SetSelection(const GridRect& selection) {
  if (selection.right != Col() || selection.bottom != Row()) CloseEditor();
  selection_ = selection;
}

void StringGrid::ClampAndMove(int col, int row) {
  const int targetCol = std::clamp(col, 0, colCount_ - 1);
  const int targetRow = std::clamp(row, fixedRows_, rowCount_ - 1);
  if (targetCol == Col() && targetRow == Row()) return;
  MoveTo(targetCol, targetRow, true);
}

void StringGrid::OpenEditor(bool selectAll) {
  if (Col() < 0 || Row() < fixedRows_ || Col() >= colCount_ || Row() >= rowCount_) return;
  platform::Rect rect = CellRect(Col(), Row());
  editor_.Open(Cell(Col(), Row()), rect, selectAll);
  if (OnEditorOpened) OnEditorOpened();
  CaretStateChanged();
  Repaint();
}

void StringGrid::SetBounds(const platform::Rect& bounds) {
  Control::SetBounds(bounds);
  PlaceEditor();
}

// Whatever moves the cells moves the open editor with its cell, and hides it while the cell
// is out of view, so it never stands over another row's text.
void StringGrid::PlaceEditor() {
  if (editor_.IsOpen()) editor_.Move(CellRect(Col(), Row()));
}

void StringGrid::ViewChanged() {
  PlaceEditor();
  Repaint();
}

void StringGrid::CloseEditor() {
  if (!editor_.IsOpen()) return;
  if (OnEditorClosing) OnEditorClosing();
  editor_.Close();
  CaretStateChanged();
  Repaint();
}

// The caret blinks on its owner's timer, which runs only while there is a caret to blink.
void StringGrid::CaretStateChanged() {
  const bool shown = editor_.IsOpen() && focused_;
  if (shown == caretShown_) return;
  caretShown_ = shown;
  if (OnCaretShown) OnCaretShown(shown);
}

void StringGrid::SetFocused(bool focused) {
  if (focused == focused_) return;
  focused_ = focused;
  if (!focused) CloseEditor();
  CaretStateChanged();
  Repaint();
}

}  // namespace tasklane::ui
