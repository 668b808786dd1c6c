// The texts of a table's cells, kept row by row: a row is one string that holds where each of
// its cells ends and then their texts, so that a table of many rows takes little more memory
// than its text, in one allocation a row rather than one a cell.
#pragma once

#include <cstdint>
#include <memory_resource>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tasklane::ui {

class CellTexts {
 public:
  // "" for a cell never written, negative places included. The view holds until the row's
  // next change.
  std::u16string_view At(int col, int row) const;
  // The first `count` cells of a row at once, as At gives them.
  void RowCells(int row, int count, std::vector<std::u16string_view>& cells) const;
  // Places are not negative.
  void Set(int col, int row, std::u16string_view text);
  // The row's first cells.size() cells at once; the views may be the row's own cells.
  void SetRow(int row, std::span<const std::u16string_view> cells);

 private:
  // The rows' storage, in pools by size: a table of many rows is let go of a few blocks at a
  // time instead of a row at a time.
  std::pmr::unsynchronized_pool_resource storage_;
  // Each row: its number of cells and each cell's end within the texts, as 32-bit numbers of
  // two code units each, then the texts. A row never written is empty.
  std::pmr::vector<std::pmr::u16string> rows_{&storage_};
};

}  // namespace tasklane::ui
