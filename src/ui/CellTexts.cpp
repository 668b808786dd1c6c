#include "ui/CellTexts.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace tasklane::ui {
namespace {

constexpr std::size_t unitsPerNumber = sizeof(std::uint32_t) / sizeof(char16_t);

std::uint32_t Number(const std::pmr::u16string& row, std::size_t index) {
  std::uint32_t value;
  std::memcpy(&value, row.data() + index * unitsPerNumber, sizeof value);
  return value;
}

void PutNumber(std::pmr::u16string& row, std::size_t index, std::uint32_t value) {
  std::memcpy(row.data() + index * unitsPerNumber, &value, sizeof value);
}

std::size_t CellCount(const std::pmr::u16string& row) { return row.empty() ? 0 : Number(row, 0); }

std::u16string_view Cell(const std::pmr::u16string& row, std::size_t col) {
  const std::size_t count = CellCount(row);
  if (col >= count) return {};
  const std::size_t texts = (count + 1) * unitsPerNumber;
  const std::uint32_t start = col == 0 ? 0 : Number(row, col);
  return std::u16string_view(row).substr(texts + start, Number(row, col + 1) - start);
}

}  // namespace

std::u16string_view CellTexts::At(int col, int row) const {
  if (row < 0 || col < 0 || static_cast<std::size_t>(row) >= rows_.size()) return {};
  return Cell(rows_[static_cast<std::size_t>(row)], static_cast<std::size_t>(col));
}

void CellTexts::RowCells(int row, int count, std::vector<std::u16string_view>& cells) const {
  cells.assign(static_cast<std::size_t>(std::max(count, 0)), {});
  if (row < 0 || static_cast<std::size_t>(row) >= rows_.size()) return;
  const std::pmr::u16string& texts = rows_[static_cast<std::size_t>(row)];
  const std::size_t written = CellCount(texts);
  const std::size_t first = (written + 1) * unitsPerNumber;
  std::uint32_t start = 0;
  for (std::size_t k = 0; k < std::min(written, cells.size()); ++k) {
    const std::uint32_t end = Number(texts, k + 1);
    cells[k] = std::u16string_view(texts.data() + first + start, end - start);
    start = end;
  }
}

void CellTexts::Set(int col, int row, std::u16string_view text) {
  const std::pmr::u16string* old = static_cast<std::size_t>(row) < rows_.size() ? &rows_[static_cast<std::size_t>(row)] : nullptr;
  std::vector<std::u16string_view> cells(std::max(old ? CellCount(*old) : 0, static_cast<std::size_t>(col) + 1));
  for (std::size_t k = 0; old && k < cells.size(); ++k) cells[k] = Cell(*old, k);
  cells[static_cast<std::size_t>(col)] = text;
  SetRow(row, cells);
}

// The row is written anew at its exact length: a string grown in place keeps up to twice the
// room it needs, and a large list is almost all rows that never change after loading. The
// table grows only once the row is written, since the views may be into any row.
void CellTexts::SetRow(int row, std::span<const std::u16string_view> cells) {
  if (cells.empty()) return;
  const auto index = static_cast<std::size_t>(row);
  static const std::pmr::u16string neverWritten;
  const std::pmr::u16string& old = index < rows_.size() ? rows_[index] : neverWritten;
  const std::size_t count = std::max(cells.size(), CellCount(old));
  auto cell = [&](std::size_t k) { return k < cells.size() ? cells[k] : Cell(old, k); };
  std::size_t length = 0;
  for (std::size_t k = 0; k < count; ++k) length += cell(k).size();
  if (length > std::numeric_limits<std::uint32_t>::max()) throw std::length_error("row text too long");
  std::pmr::u16string written(&storage_);
  written.reserve((count + 1) * unitsPerNumber + length);
  written.resize((count + 1) * unitsPerNumber);
  PutNumber(written, 0, static_cast<std::uint32_t>(count));
  std::size_t end = 0;
  for (std::size_t k = 0; k < count; ++k) {
    const std::u16string_view text = cell(k);
    written.append(text);
    end += text.size();
    PutNumber(written, k + 1, static_cast<std::uint32_t>(end));
  }
  if (index >= rows_.size()) rows_.resize(index + 1);
  rows_[index].swap(written);
}

}  // namespace tasklane::ui
