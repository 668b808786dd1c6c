// The four commands that change the table's shape, always at its end: a row or a column
// more, or the last one less after asking when it holds text.
#include "mainwindow/ToDoUnit.h"

namespace tasklane::mainwindow {

namespace {

// A cell's text without the blanks and control characters at either end.
std::u16string_view Trimmed(std::u16string_view text) {
  while (!text.empty() && text.front() <= u' ') text.remove_prefix(1);
  while (!text.empty() && text.back() <= u' ') text.remove_suffix(1);
  return text;
}

}  // namespace

bool TToDoForm::ConfirmRemoval(std::u16string question, const std::vector<std::u16string>& cells) {
  bool anyText = false;
  for (const std::u16string& cell : cells) {
    const std::u16string_view text = Trimmed(cell);
    if (text.empty()) continue;
    if (anyText) question += u", ";
    question += text;
    anyText = true;
  }
  if (!anyText) return true;
  // A top-most window would cover the question it owns.
  SetTopMost(false);
  const platform::MessageAnswer answer = platform_.ShowConfirmation(question);
  SetTopMost(true);
  return answer == platform::MessageAnswer::Yes;
}

void TToDoForm::mnuAddRowClick() {
  AddRow();
  history_.Record(LineStep{false, true, {}, 0});
}

void TToDoForm::AddRow() {
  ToDoGrid.SetRowCount(ToDoGrid.RowCount() + 1);
  RefitWhenVerticalBarChanges();
  ToDoGrid.Repaint();
  RepaintRowColumnButtons();
}

// The cells of the last row (or column), which a removal would lose.
std::vector<std::u16string> TToDoForm::LastLineCells(bool column) {
  std::vector<std::u16string> cells;
  const int count = column ? ToDoGrid.RowCount() : ToDoGrid.ColCount();
  for (int i = 0; i < count; ++i) {
    cells.emplace_back(column ? ToDoGrid.Cell(ToDoGrid.ColCount() - 1, i) : ToDoGrid.Cell(i, ToDoGrid.RowCount() - 1));
  }
  return cells;
}

// The removed cells are blanked, so that a row or column added again starts empty.
void TToDoForm::BlankLastLine(bool column) {
  const int count = column ? ToDoGrid.RowCount() : ToDoGrid.ColCount();
  for (int i = 0; i < count; ++i) {
    if (column) ToDoGrid.SetCell(ToDoGrid.ColCount() - 1, i, u"");
    else ToDoGrid.SetCell(i, ToDoGrid.RowCount() - 1, u"");
  }
}

void TToDoForm::mnuDeleteRowClick() {
  const std::u16string question =
      EnglishUI ? u"Do you really want to delete the row?\r\nContent: "
                : u"M\u00f6chten Sie die Zeile wirklich l\u00f6schen?\r\nInhalt: ";
  std::vector<std::u16string> cells = LastLineCells(false);
  if (!ConfirmRemoval(question, cells)) return;
  RemoveRow();
  history_.Record(LineStep{false, false, std::move(cells)});
}

void TToDoForm::RemoveRow() {
  BlankLastLine(false);
  ToDoGrid.SetRowCount(ToDoGrid.RowCount() - 1);
  RefitWhenVerticalBarChanges();
  ToDoGrid.Repaint();
  RepaintRowColumnButtons();
}

void TToDoForm::mnuAddColumnClick() {
  AddColumn();
  history_.Record(LineStep{true, true, {}, 0});
}

void TToDoForm::AddColumn() {
  const int last = ToDoGrid.ColCount() - 1;
  const int width = ToDoGrid.ColWidth(last) / 2 - 1;
  ToDoGrid.SetColWidth(last, width);
  ToDoGrid.SetColCount(last + 2);
  ResizeColumnAlignments();
  ToDoGrid.SetColWidth(last + 1, width);
  AdjustColumnWidths();
  ToDoGrid.Repaint();
  RepaintRowColumnButtons();
}

void TToDoForm::mnuDeleteColumnClick() {
  const std::u16string question =
      EnglishUI ? u"Do you really want to delete the column?\r\nContent: "
                : u"M\u00f6chten Sie die Spalte wirklich l\u00f6schen?\r\nInhalt: ";
  std::vector<std::u16string> cells = LastLineCells(true);
  if (!ConfirmRemoval(question, cells)) return;
  ResizeColumnAlignments();
  const TCellAlignment alignment = Values.ColumnAlignments.back();
  RemoveColumn();
  history_.Record(LineStep{true, false, std::move(cells), alignment});
}

void TToDoForm::RemoveColumn() {
  BlankLastLine(true);
  ToDoGrid.SetColCount(ToDoGrid.ColCount() - 1);
  ResizeColumnAlignments();
  AdjustColumnWidths();
  ToDoGrid.Repaint();
  RepaintRowColumnButtons();
}

}  // namespace tasklane::mainwindow
