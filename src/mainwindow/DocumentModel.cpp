// The table's helpers and the two display flags, which live as the visibility of menu items.
#include "mainwindow/ToDoUnit.h"

namespace tasklane::mainwindow {

std::u16string DecimalText(std::int64_t value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

void TToDoForm::AppendToRow(int row, std::u16string_view text) { AppendToRow(row, std::span(&text, 1)); }

// Each text in turn takes the first empty cell of the row; an empty text takes its cell as one
// blank. Texts beyond the row's empty cells are dropped. The row is written once.
void TToDoForm::AppendToRow(int row, std::span<const std::u16string_view> texts) {
  std::vector<std::u16string_view> cells;
  ToDoGrid.RowCells(row, cells);
  std::size_t next = 0;
  for (std::u16string_view& cell : cells) {
    if (cell.empty() && next < texts.size()) {
      cell = texts[next].empty() ? u" " : texts[next];
      ++next;
    }
  }
  if (next > 0) ToDoGrid.SetRowCells(row, cells);
}

void TToDoForm::ResizeColumnAlignments() {
  Values.ColumnAlignments.resize(static_cast<std::size_t>(ToDoGrid.ColCount()), ALIGNLEFT);
}

bool TToDoForm::HeaderTextBold() { return mnuMakeTitleBoldAktiv.Visible() || mnuTitleFettAktiv.Visible(); }

void TToDoForm::SetHeaderTextBold(bool bold) {
  platform::MenuItem& aktiv = EnglishUI ? mnuMakeTitleBoldAktiv : mnuTitleFettAktiv;
  platform::MenuItem& deaktiv = EnglishUI ? mnuMakeTitleBoldDeaktiv : mnuTitleFettDeaktiv;
  aktiv.SetVisible(bold);
  deaktiv.SetVisible(!bold);
  RecordChange(-1);
}

bool TToDoForm::DrawGridLines() { return mnuShowGridLinesAktiv.Visible(); }

void TToDoForm::SetDrawGridLines(bool on) {
  mnuShowGridLinesAktiv.SetVisible(on);
  mnuShowGridLinesDeaktiv.SetVisible(!on);
  ToDoGrid.SetGridLineWidth(on ? 1 : 0);
  RecordChange(-1);
}

}  // namespace tasklane::mainwindow
