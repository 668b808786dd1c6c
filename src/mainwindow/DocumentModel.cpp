// The table's helpers and the two display flags, which live as the visibility of menu items.
#include "mainwindow/ToDoUnit.h"

namespace tasklane::mainwindow {

std::u16string DecimalText(std::int64_t value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

// The first empty cell of the row takes the text; an empty text takes its cell as one blank.
void TToDoForm::AppendToRow(int row, std::u16string_view text) {
  for (int col = 0; col < ToDoGrid.ColCount(); ++col) {
    if (!ToDoGrid.Cell(col, row).empty()) continue;
    ToDoGrid.SetCell(col, row, text.empty() ? u" " : text);
    return;
  }
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
}

bool TToDoForm::DrawGridLines() { return mnuShowGridLinesAktiv.Visible(); }

void TToDoForm::SetDrawGridLines(bool on) {
  mnuShowGridLinesAktiv.SetVisible(on);
  mnuShowGridLinesDeaktiv.SetVisible(!on);
  ToDoGrid.SetGridLineWidth(on ? 1 : 0);
}

}  // namespace tasklane::mainwindow
