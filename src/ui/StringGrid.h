// A table of text cells, drawn and edited by the core. This is its data: cells, counts,
// widths, lines, scroll bars and the selection. Cells outside the counts are kept, so that
// texts come back when the counts grow again.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "ui/Control.h"

namespace tasklane::ui {

enum class ScrollBars { None, Horizontal, Vertical, Both };

// Columns and rows of the selection; a left of -1 means no current cell.
struct GridRect {
  int left = -1;
  int top = -1;
  int right = -1;
  int bottom = -1;
  friend bool operator==(const GridRect&, const GridRect&) = default;
};

class StringGrid : public Control {
 public:
  static constexpr int defaultColWidth = 64;
  static constexpr int defaultRowHeight = 24;

  StringGrid(std::u16string_view name, Control* owner, int colCount, int rowCount);

  int ColCount() const { return colCount_; }
  int RowCount() const { return rowCount_; }
  // Fewer than one column or row yields one.
  void SetColCount(int count);
  void SetRowCount(int count);
  int FixedRows() const { return fixedRows_; }
  void SetFixedRows(int count);

  // Any column and row not below zero; beyond the counts the text is kept but not shown.
  const std::u16string& Cell(int col, int row) const;
  void SetCell(int col, int row, std::u16string_view text);

  // Columns at or beyond the count have no width: asking for one is an error.
  int ColWidth(int col) const;
  void SetColWidth(int col, int width);
  int DefaultRowHeight() const { return defaultRowHeight; }

  int GridLineWidth() const { return gridLineWidth_; }
  void SetGridLineWidth(int width) { gridLineWidth_ = width; }
  ScrollBars ScrollBarSetting() const { return scrollBars_; }
  void SetScrollBars(ScrollBars bars) { scrollBars_ = bars; }

  const GridRect& Selection() const { return selection_; }
  // Takes the rectangle as it is: no check against the counts, no notification.
  void SetSelection(const GridRect& selection) { selection_ = selection; }
  int Col() const { return selection_.right; }
  int Row() const { return selection_.bottom; }
  bool EditorMode() const { return editorMode_; }

 private:
  void CheckColumn(int col) const;

  int colCount_;
  int rowCount_;
  int fixedRows_ = 1;
  std::vector<std::vector<std::u16string>> cells_;  // [row][col], grown on demand
  std::vector<int> colWidths_;
  int gridLineWidth_ = 1;
  ScrollBars scrollBars_ = ScrollBars::Both;
  GridRect selection_{0, 1, 0, 1};
  bool editorMode_ = false;
};

}  // namespace tasklane::ui
