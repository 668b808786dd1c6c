// What a front end tells the screen readers of the main window: which part changed. The
// front end asks the core's description of the window (mainwindow/AccessibleView) for the rest.
#pragma once

#include <string>

namespace tasklane::platform {

enum class AccessibleChange {
  CellFocus,   // the current cell has the focus: a new cell, or the table got it back
  EditorFocus, // the in-place editor opened over the current cell and has the focus
  CellText,    // a cell's text changed
  EditorText,  // the editor's text changed: `removed` and `inserted` at `position`
  Caret,       // the editor's caret or selection moved
  TableShape,  // rows or columns came or went: what was known of the cells is void
  WindowState, // the window folded to its bar or unfolded; its buttons changed
};

// Rows and columns are the grid's: row 0 holds the column titles.
struct AccessibleEvent {
  AccessibleChange change = AccessibleChange::CellFocus;
  int col = -1;
  int row = -1;
  int position = 0;
  std::u16string removed;
  std::u16string inserted;
};

}  // namespace tasklane::platform
