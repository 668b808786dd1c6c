#include "ui/StringGrid.h"

#include <algorithm>
#include <string>

namespace tasklane::ui {
namespace {
const std::u16string emptyCell;
}  // namespace

StringGrid::StringGrid(std::u16string_view name, Control* owner, int colCount, int rowCount)
    : Control(name, owner), colCount_(std::max(colCount, 1)), rowCount_(std::max(rowCount, 1)) {
  colWidths_.assign(static_cast<std::size_t>(colCount_), defaultColWidth);
  if (fixedRows_ >= rowCount_) fixedRows_ = rowCount_ - 1;
}

// A column that is added comes with the default width.
void StringGrid::SetColCount(int count) {
  colCount_ = std::max(count, 1);
  colWidths_.resize(static_cast<std::size_t>(colCount_), defaultColWidth);
  Repaint();
}

void StringGrid::SetRowCount(int count) {
  rowCount_ = std::max(count, 1);
  if (fixedRows_ >= rowCount_) SetFixedRows(rowCount_ - 1);
  Repaint();
}

// A change of the fixed rows puts the current cell on the first cell below them.
void StringGrid::SetFixedRows(int count) {
  if (count == fixedRows_) return;
  fixedRows_ = count;
  selection_ = {0, fixedRows_, 0, fixedRows_};
  Repaint();
}

const std::u16string& StringGrid::Cell(int col, int row) const {
  if (row < 0 || col < 0 || static_cast<std::size_t>(row) >= cells_.size()) return emptyCell;
  const auto& cells = cells_[static_cast<std::size_t>(row)];
  return static_cast<std::size_t>(col) < cells.size() ? cells[static_cast<std::size_t>(col)] : emptyCell;
}

void StringGrid::SetCell(int col, int row, std::u16string_view text) {
  if (row < 0 || col < 0) throw std::out_of_range("grid cell outside the table");
  if (cells_.size() <= static_cast<std::size_t>(row)) cells_.resize(static_cast<std::size_t>(row) + 1);
  auto& cells = cells_[static_cast<std::size_t>(row)];
  if (cells.size() <= static_cast<std::size_t>(col)) cells.resize(static_cast<std::size_t>(col) + 1);
  cells[static_cast<std::size_t>(col)] = text;
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
}

}  // namespace tasklane::ui
