// The texts of a table's cells, kept row by row: a row's texts follow each other in one string,
// so that a table of many rows takes little more memory than its text, in two allocations a
// row rather than one a cell.
#pragma once

#include <cstdint>
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
  // Places are not negative.
  void Set(int col, int row, std::u16string_view text);
  // The row's first cells.size() cells at once; the views may be the row's own cells.
  void SetRow(int row, std::span<const std::u16string_view> cells);

 private:
  struct Row {
    std::u16string texts;
    std::vector<std::uint32_t> ends;  // where each column's text ends in `texts`
  };
  std::vector<Row> rows_;
};

}  // namespace tasklane::ui
