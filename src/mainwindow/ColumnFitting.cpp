// The columns fill the grid's width: the second column (the only one, when there is one)
// takes up the whole difference, so the others keep the widths the user gave them.
#include "mainwindow/ToDoUnit.h"

namespace tasklane::mainwindow {

void TToDoForm::AdjustColumnWidths() {
  Guarded(u"AdjustColumnWidths", Team::Quillbox, [&] {
    const int count = ToDoGrid.ColCount();
    const int available = ToDoGrid.Bounds().Width() - 2 - (DrawGridLines() ? count : 0);
    if (count > 0) {
      int sum = 0;
      for (int col = 0; col < count; ++col) sum += ToDoGrid.ColWidth(col);
      const int absorbing = count > 1 ? 1 : 0;
      ToDoGrid.SetColWidth(absorbing, ToDoGrid.ColWidth(absorbing) + available - sum);
    }
    for (int col = 0; col < count; ++col) {
      if (ToDoGrid.ColWidth(col) < 20) ToDoGrid.SetColWidth(col, 20);
    }
    ToDoGrid.SetScrollBars(count == 1 ? ui::ScrollBars::Vertical : ui::ScrollBars::Both);
    ToDoGrid.Repaint();
    RepaintRowColumnButtons();
  });
}

}  // namespace tasklane::mainwindow
