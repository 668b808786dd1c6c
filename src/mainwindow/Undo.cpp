// Undo and redo. With the editor open they act on its text first, as an edit box does; once it
// is back to what it opened with, and with the editor closed, on the table's steps. Each step
// is taken back and done again through the commands' own paths, so the fitting, the repaints
// and the recovery file follow as after the command itself.
#include <algorithm>

#include "mainwindow/ToDoUnit.h"

namespace tasklane::mainwindow {

void TToDoForm::SetCellAsStep(int col, int row, std::u16string_view text) {
  std::u16string before(ToDoGrid.Cell(col, row));
  if (before == text) return;
  ToDoGrid.SetCell(col, row, text);
  history_.Record(CellStep{col, row, std::move(before), std::u16string(text)});
}

// All that is typed between opening and closing the editor is one step.
void TToDoForm::EditorOpened() {
  editing_ = CellStep{ToDoGrid.Col(), ToDoGrid.Row(), std::u16string(ToDoGrid.Cell(ToDoGrid.Col(), ToDoGrid.Row())), {}};
}

void TToDoForm::EditorClosing() {
  editing_.after = ToDoGrid.Cell(editing_.col, editing_.row);
  if (editing_.after != editing_.before) history_.Record(std::move(editing_));
  editing_ = {};
}

void TToDoForm::UndoOrRedo(bool redo) {
  if (ToDoGrid.EditorMode()) {
    ui::LineEditor& editor = ToDoGrid.Editor();
    if (redo ? editor.Redo() : editor.Undo()) return;
    // The editor's own changes, not yet a step, come before any step to redo.
    if (editor.CanUndo()) return;
    ToDoGrid.CloseEditor();
  }
  const std::optional<TableStep> step = redo ? history_.TakeRedo() : history_.TakeUndo();
  if (step) ApplyStep(*step, !redo);
}

void TToDoForm::ApplyStep(const TableStep& step, bool undo) {
  if (const auto* cell = std::get_if<CellStep>(&step)) {
    ToDoGrid.SetCell(cell->col, cell->row, undo ? cell->before : cell->after);
    ToDoGrid.Select(cell->col, std::max(cell->row, ToDoGrid.FixedRows()));
  } else if (const auto* alignment = std::get_if<AlignmentStep>(&step)) {
    ResizeColumnAlignments();
    Values.ColumnAlignments[static_cast<std::size_t>(alignment->col)] =
        static_cast<TCellAlignment>(undo ? alignment->before : alignment->after);
    RecordChange(-1);
    ToDoGrid.Select(alignment->col, std::max(ToDoGrid.Row(), ToDoGrid.FixedRows()));
  } else {
    ApplyLineStep(std::get<LineStep>(step), undo);
  }
  ToDoGrid.Repaint();
  RepaintRowColumnButtons();
}

// An added line taken back, or a removed one done again, is removed; the other way it comes
// back with its texts, and a column with its alignment.
void TToDoForm::ApplyLineStep(const LineStep& step, bool undo) {
  const bool remove = step.added == undo;
  if (step.column) {
    if (remove) RemoveColumn();
    else AddColumn();
  } else {
    if (remove) RemoveRow();
    else AddRow();
  }
  const int lastCol = ToDoGrid.ColCount() - 1;
  const int lastRow = ToDoGrid.RowCount() - 1;
  if (!remove) {
    for (int i = 0; i < static_cast<int>(step.cells.size()); ++i) {
      if (step.column) ToDoGrid.SetCell(lastCol, i, step.cells[static_cast<std::size_t>(i)]);
      else ToDoGrid.SetCell(i, lastRow, step.cells[static_cast<std::size_t>(i)]);
    }
    if (step.column) {
      ResizeColumnAlignments();
      Values.ColumnAlignments.back() = static_cast<TCellAlignment>(step.alignment);
    }
  }
  const int row = std::max(step.column ? std::max(ToDoGrid.Row(), 0) : lastRow, ToDoGrid.FixedRows());
  ToDoGrid.Select(step.column ? lastCol : std::clamp(ToDoGrid.Col(), 0, lastCol), std::min(row, lastRow));
}

}  // namespace tasklane::mainwindow
