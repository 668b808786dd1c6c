// The program's own reactions to keys, clicks and the wheel in the grid: whole-cell copy,
// cut and paste, Delete, Escape, blank cells cleaned up, the header fixed again.
#include <algorithm>

#include "mainwindow/ToDoUnit.h"

namespace tasklane::mainwindow {

namespace k = platform::keys;

namespace {
constexpr int keyC = 'C';
constexpr int keyX = 'X';
constexpr int keyV = 'V';
constexpr int keyY = 'Y';
constexpr int keyZ = 'Z';

bool IsBlank(char16_t c) { return c <= 32; }

std::u16string_view Trimmed(std::u16string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}
// The editor pastes on Ctrl+V and on Shift+Insert alike.
bool IsPasteKey(int key, platform::ShiftState shift) {
  return (shift.ctrl && key == keyV) || (shift.shift && !shift.ctrl && key == k::Insert);
}

}  // namespace

void TToDoForm::ClearGridSelection() { ToDoGrid.SetSelection(ui::GridRect{}); }

std::u16string TToDoForm::DeleteLineBreaks(std::u16string_view text) {
  std::u16string line;
  if (!Guarded(u"DeleteLineBreaks", Team::Quillbox, [&] {
        line = text;
        for (char16_t& c : line) {
          if (c == u'\r' || c == u'\n') c = u' ';
        }
        while (!line.empty() && IsBlank(line.back())) line.pop_back();
      })) {
    return {};
  }
  return line;
}

void TToDoForm::OnKeyDown(int& key, platform::ShiftState shift) {
  const ui::GridRect& selection = ToDoGrid.Selection();
  const bool editing = ToDoGrid.EditorMode();
  const bool cellCurrent = selection.left >= 0;
  const int col = selection.left;
  const int row = selection.top;
  platform::Clipboard& clipboard = platform_.ClipboardService();
  if (shift.ctrl && !shift.alt && (key == keyZ || key == keyY)) {
    // Folded, the table hears no keys.
    if (Values.FoldState == Unfolded) UndoOrRedo(key == keyY || shift.shift);
    key = 0;
    return;
  }
  if (!editing && cellCurrent && shift.ctrl) {
    const std::u16string text(ToDoGrid.Cell(col, row));
    if (key == keyC && !text.empty()) clipboard.SetText(text);
    if (key == keyX && !text.empty()) {
      clipboard.SetText(text);
      SetCellAsStep(col, row, u"");
    }
    if (key == keyV) SetCellAsStep(col, row, DeleteLineBreaks(clipboard.Text()));
  }
  if (editing && IsPasteKey(key, shift)) PasteOneLine(clipboard);
  if (key == k::Escape) {
    if (editing) ClearGridSelection();
    else ImageRedButtonAufklapperClick();
  } else if (key == k::Delete && !editing && cellCurrent) {
    SetCellAsStep(col, row, u"");
  }
}

// The editor pastes what this leaves on the clipboard. A text of nothing but line breaks
// becomes the empty line, which still takes the selection's place; the editor's own paste
// would take an empty clipboard for one without text and keep it.
void TToDoForm::PasteOneLine(platform::Clipboard& clipboard) {
  const std::u16string text = clipboard.Text();
  const std::u16string line = DeleteLineBreaks(text);
  clipboard.SetText(line);
  if (line.empty() && !text.empty()) ToDoGrid.Editor().ReplaceSelection({});
}

void TToDoForm::ToDoGridSelectCell(int col, int row, bool& canSelect) {
  if (Trimmed(ToDoGrid.Cell(col, row)).empty()) ToDoGrid.SetCell(col, row, u"");
  canSelect = true;
}

void TToDoForm::ToDoGridClick() {
  if (ToDoGrid.FixedRows() == 0 && ToDoGrid.Selection().top > 0) ToDoGrid.SetFixedRows(1);
  RepaintRowColumnButtons();
}

void TToDoForm::ToDoGridDblClick() {
  const platform::Point cursor = platform_.CursorPosition();
  const platform::Point client = GridClientPoint(cursor);
  if (client.y < ToDoGrid.DefaultRowHeight() && ToDoGrid.FixedRows() == 1) AdjustColumnWidths();
}

void TToDoForm::ToDoGridMouseUp() { RepaintRowColumnButtons(); }

// The first wheel event gives a grid without a current cell the first task cell; every
// event then moves on from there.
void TToDoForm::ToDoGridMouseWheel(bool& handled) {
  if (!WheelSelectionDone) {
    WheelSelectionDone = true;
    const int row = std::min(1, ToDoGrid.RowCount() - 1);
    ToDoGrid.SetSelection({0, row, 0, row});
  }
  handled = false;
}

void TToDoForm::RepaintRowColumnButtons() {
  PanelMinusRow.Repaint();
  PanelPlusRow.Repaint();
  PanelMinusColumn.Repaint();
  PanelPlusColumn.Repaint();
}

}  // namespace tasklane::mainwindow
