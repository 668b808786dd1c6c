// The main window as a screen reader is shown it: a window holding the table (column titles,
// cells, the current cell), the in-place editor while it is open, and the pictures of the
// frame that act as push buttons, named by their hints. Both front ends translate this one
// description for their screen-reader interfaces, and it tells them what changed after each
// event the window handled. Rows and columns are the grid's: row 0 holds the column titles.
// Places are in window coordinates.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/Accessible.h"
#include "platform/Geometry.h"

namespace tasklane::ui {
class Control;
}

namespace tasklane::mainwindow {

class TToDoForm;

class AccessibleView {
 public:
  explicit AccessibleView(TToDoForm& form) : form_(form) {}

  std::u16string_view WindowName() const;
  // Says that the window is folded to its bar; empty while it is open.
  std::u16string WindowDescription() const;
  bool Folded() const;

  bool TableShown() const;
  platform::Rect TableBounds() const;
  int ColumnCount() const;
  int RowCount() const;  // the title row included
  std::u16string_view CellText(int col, int row) const;
  // Empty when the cell is scrolled out of view.
  platform::Rect CellBounds(int col, int row) const;
  // 0 left, 1 centred, 2 right.
  int ColumnAlignment(int col) const;
  int CurrentCol() const;
  int CurrentRow() const;
  // The table has the keyboard: its current cell, or the editor over it, is the focus.
  bool TableFocused() const;
  // The window would take a click: a screen reader's requests below act only then.
  bool TakesInput() const;
  // A screen reader's request to make a task's cell current, as a click on it would.
  void SelectCell(int col, int row);

  bool Editing() const;
  const std::u16string& EditorText() const;
  int EditorCaret() const;
  int EditorAnchor() const;
  platform::Rect EditorBounds() const;
  platform::Rect EditorCharacterBounds(int index) const;
  // A screen reader's request to place the caret and the selection in the editor.
  void SetEditorSelection(int anchor, int caret);
  // A screen reader's request to put `text` in place of [start, end) of the editor's text.
  void ReplaceEditorText(int start, int end, std::u16string_view text);

  // The frame's pictures that act; an id stays with its picture.
  static constexpr int buttonCount = 8;
  struct Button {
    int id = 0;
    std::u16string name;
    platform::Rect bounds;
  };
  // The buttons a user can see now, in the order they are read.
  std::vector<Button> Buttons() const;
  // Presses the button, as a click on it would; a hidden one does nothing.
  void PressButton(int id);
  // The cell under a point of the window; false when the point is on none.
  bool CellAt(platform::Point point, int& col, int& row) const;

  // A row's texts changed (the grid's notification).
  void RowChanged(int row);
  // Compares the window with what the front end was last told and tells it what changed.
  void TellChanges();

 private:
  ui::Control& ButtonControl(int id) const;
  bool ButtonShown(int id) const;
  void Tell(platform::AccessibleEvent event);
  void TellEditorText(const std::u16string& text);
  void TellChangedRows();

  TToDoForm& form_;
  // What the front end was last told.
  struct Told {
    bool folded = false;
    int cols = 0, rows = 0;
    int col = -1, row = -1;
    bool focused = false;
    bool editing = false;
    std::u16string editorText;
    int caret = 0, anchor = 0;
  } told_;
  std::vector<int> changedRows_;
  bool allRowsChanged_ = false;
};

}  // namespace tasklane::mainwindow
