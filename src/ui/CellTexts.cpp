#include "ui/CellTexts.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace tasklane::ui {

std::u16string_view CellTexts::At(int col, int row) const {
  if (row < 0 || col < 0 || static_cast<std::size_t>(row) >= rows_.size()) return {};
  const Row& line = rows_[static_cast<std::size_t>(row)];
  const auto column = static_cast<std::size_t>(col);
  if (column >= line.ends.size()) return {};
  const std::uint32_t start = column == 0 ? 0 : line.ends[column - 1];
  return std::u16string_view(line.texts).substr(start, line.ends[column] - start);
}

// The row is written anew at its exact length: a string grown in place keeps up to twice the
// room it needs, and a large list is almost all rows that never change after loading.
void CellTexts::Set(int col, int row, std::u16string_view text) {
  if (static_cast<std::size_t>(row) >= rows_.size()) rows_.resize(static_cast<std::size_t>(row) + 1);
  Row& line = rows_[static_cast<std::size_t>(row)];
  const auto column = static_cast<std::size_t>(col);
  if (column >= line.ends.size()) line.ends.resize(column + 1, static_cast<std::uint32_t>(line.texts.size()));
  const std::size_t start = column == 0 ? 0 : line.ends[column - 1];
  const std::size_t end = line.ends[column];
  const std::size_t length = line.texts.size() - (end - start) + text.size();
  if (length > std::numeric_limits<std::uint32_t>::max()) throw std::length_error("row text too long");
  std::u16string written;
  written.reserve(length);
  written.append(line.texts, 0, start).append(text).append(line.texts, end);
  line.texts.swap(written);  // `text` may have been a view into the old row
  const auto growth = static_cast<std::uint32_t>(text.size() - (end - start));  // wraps when it shrinks
  for (std::size_t k = column; k < line.ends.size(); ++k) line.ends[k] += growth;
}

void CellTexts::SetRow(int row, std::span<const std::u16string_view> cells) {
  if (cells.empty()) return;
  if (static_cast<std::size_t>(row) >= rows_.size()) rows_.resize(static_cast<std::size_t>(row) + 1);
  Row& line = rows_[static_cast<std::size_t>(row)];
  // The cells after the new ones stay as they are.
  const std::size_t keptFrom = cells.size() <= line.ends.size() ? line.ends[cells.size() - 1] : line.texts.size();
  std::size_t length = line.texts.size() - keptFrom;
  for (const std::u16string_view cell : cells) length += cell.size();
  if (length > std::numeric_limits<std::uint32_t>::max()) throw std::length_error("row text too long");
  std::u16string written;
  written.reserve(length);
  std::vector<std::uint32_t> ends(std::max(cells.size(), line.ends.size()));
  for (std::size_t k = 0; k < cells.size(); ++k) {
    written.append(cells[k]);
    ends[k] = static_cast<std::uint32_t>(written.size());
  }
  const auto shift = static_cast<std::uint32_t>(written.size() - keptFrom);  // wraps when it shrinks
  for (std::size_t k = cells.size(); k < ends.size(); ++k) ends[k] = line.ends[k] + shift;
  written.append(line.texts, keptFrom);
  line.texts.swap(written);
  line.ends.swap(ends);
}

}  // namespace tasklane::ui
