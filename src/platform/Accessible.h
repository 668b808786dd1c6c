// What a front end tells the screen readers of the main window: which part changed. The
// front end asks the core's description of the window (mainwindow/AccessibleView) for the rest.
#pragma once

#include <string>

#include "platform/Geometry.h"

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

// A part of a dialog window as a screen reader is shown it: a text to read, a link or a button
// to activate. Bounds are in the window's client coordinates.
enum class AccessibleRole { Text, Link, Button };
struct AccessiblePart {
  AccessibleRole role = AccessibleRole::Text;
  std::u16string name;
  Rect bounds;
};

}  // namespace tasklane::platform
