// The columns fill the grid's visible width: the second column (the only one, when there is
// one) takes up the whole difference, so the others keep the widths the user gave them.
#include "mainwindow/ToDoUnit.h"

namespace tasklane::mainwindow {

// A vertical scroll bar takes its width from the cells: fitted without it, the last column
// would slide under the bar and bring up a horizontal one. Whether it shows can depend on
// the widths (a horizontal bar takes height), so a fitting that changed it runs once more.
void TToDoForm::AdjustColumnWidths() {
  Guarded(u"AdjustColumnWidths", Team::Quillbox, [&] {
    const int count = ToDoGrid.ColCount();
    ToDoGrid.SetScrollBars(count == 1 ? ui::ScrollBars::Vertical : ui::ScrollBars::Both);
    for (int pass = 0; pass < 2; ++pass) {
      fittedWithVerticalBar_ = ToDoGrid.HasVerticalBar();
      FitColumns(fittedWithVerticalBar_ ? ui::StringGrid::scrollBarSize : 0);
      if (ToDoGrid.HasVerticalBar() == fittedWithVerticalBar_) break;
    }
    ToDoGrid.Repaint();
    RepaintRowColumnButtons();
  });
}

void TToDoForm::FitColumns(int verticalBarWidth) {
  const int count = ToDoGrid.ColCount();
  const int available = ToDoGrid.Bounds().Width() - 2 - verticalBarWidth - (DrawGridLines() ? count : 0);
  if (count > 0) {
    int sum = 0;
    for (int col = 0; col < count; ++col) sum += ToDoGrid.ColWidth(col);
    const int absorbing = count > 1 ? 1 : 0;
    ToDoGrid.SetColWidth(absorbing, ToDoGrid.ColWidth(absorbing) + available - sum);
  }
  for (int col = 0; col < count; ++col) {
    if (ToDoGrid.ColWidth(col) < 20) ToDoGrid.SetColWidth(col, 20);
  }
}

// Rows added or removed, the grid made taller or shorter, lines switched: when that brings
// the vertical bar up or takes it away, the columns are fitted to the new width.
void TToDoForm::RefitWhenVerticalBarChanges() {
  if (Values.FoldState != Unfolded || ToDoGrid.HasVerticalBar() == fittedWithVerticalBar_) return;
  AdjustColumnWidths();
}

}  // namespace tasklane::mainwindow
