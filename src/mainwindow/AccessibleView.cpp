// The main window's description for screen readers, and the changes it tells of.
#include "mainwindow/AccessibleView.h"

#include <algorithm>

#include "mainwindow/ToDoUnit.h"

namespace tasklane::mainwindow {

using platform::AccessibleChange;
using platform::AccessibleEvent;
using platform::Rect;

namespace {

// Beyond this many changed rows at once (a paste of many, an undo of a removal) the cells are
// told of as one change of the whole table.
constexpr std::size_t maxRowsTold = 16;

AccessibleEvent Event(AccessibleChange change, int col = -1, int row = -1) {
  AccessibleEvent event;
  event.change = change;
  event.col = col;
  event.row = row;
  return event;
}

Rect Offset(const Rect& rect, int dx, int dy) {
  if (rect.Width() < 0 || rect.Height() <= 0) return {};
  return {rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
}

}  // namespace

std::u16string_view AccessibleView::WindowName() const { return TToDoForm::caption; }

bool AccessibleView::Folded() const { return form_.Values.FoldState == TFoldState::Folded; }

std::u16string AccessibleView::WindowDescription() const {
  if (!Folded()) return {};
  return form_.EnglishUI ? u"Folded" : u"Zugeklappt";
}

bool AccessibleView::TableShown() const { return form_.ToDoGrid.Visible() && !Folded(); }

Rect AccessibleView::TableBounds() const { return form_.ToDoGrid.Bounds(); }

int AccessibleView::ColumnCount() const { return form_.ToDoGrid.ColCount(); }

int AccessibleView::RowCount() const { return form_.ToDoGrid.RowCount(); }

std::u16string_view AccessibleView::CellText(int col, int row) const {
  if (col < 0 || row < 0 || col >= ColumnCount() || row >= RowCount()) return {};
  return form_.ToDoGrid.Cell(col, row);
}

// The grid's client area starts inside its one-pixel border.
Rect AccessibleView::CellBounds(int col, int row) const {
  if (col < 0 || row < 0 || col >= ColumnCount() || row >= RowCount()) return {};
  const Rect& grid = TableBounds();
  return Offset(form_.ToDoGrid.CellRect(col, row), grid.left + 1, grid.top + 1);
}

int AccessibleView::ColumnAlignment(int col) const {
  const auto& alignments = form_.Values.ColumnAlignments;
  return col >= 0 && col < static_cast<int>(alignments.size()) ? alignments[col] : ALIGNLEFT;
}

int AccessibleView::CurrentCol() const { return form_.ToDoGrid.Col(); }

int AccessibleView::CurrentRow() const { return form_.ToDoGrid.Row(); }

// The grid is told when the window loses the keyboard, so a reader is never sent back to the
// table of a window the user left.
bool AccessibleView::TableFocused() const {
  return TableShown() && form_.ActiveControl == &form_.ToDoGrid && form_.ToDoGrid.Focused();
}

// NOTE: a screen reader's request comes in beside the window system's input, also while a
// message box has the window disabled; it would act behind the box's back.
bool AccessibleView::TakesInput() const { return form_.Platform().WindowTakesInput(); }

// The title row is the grid's fixed row, which no click or key makes current.
void AccessibleView::SelectCell(int col, int row) {
  if (!TableShown() || !TakesInput()) return;
  if (col < 0 || row < form_.ToDoGrid.FixedRows() || col >= ColumnCount() || row >= RowCount()) return;
  form_.Unguarded([&] {
    form_.SetActiveControl(&form_.ToDoGrid);
    form_.ToDoGrid.Select(col, row);
    form_.Platform().Repaint();
  });
}

bool AccessibleView::Editing() const { return TableShown() && form_.ToDoGrid.EditorMode(); }

const std::u16string& AccessibleView::EditorText() const { return form_.ToDoGrid.Editor().Text(); }

int AccessibleView::EditorCaret() const { return form_.ToDoGrid.Editor().Caret(); }

int AccessibleView::EditorAnchor() const { return form_.ToDoGrid.Editor().Anchor(); }

Rect AccessibleView::EditorBounds() const {
  const Rect& grid = TableBounds();
  return Offset(form_.ToDoGrid.Editor().Bounds(), grid.left + 1, grid.top + 1);
}

Rect AccessibleView::EditorCharacterBounds(int index) const {
  const Rect& grid = TableBounds();
  return Offset(form_.ToDoGrid.Editor().CharacterRect(index), grid.left + 1, grid.top + 1);
}

void AccessibleView::SetEditorSelection(int anchor, int caret) {
  if (!Editing() || !TakesInput()) return;
  form_.Unguarded([&] {
    form_.ToDoGrid.Editor().Select(anchor, caret);
    form_.Platform().Repaint();
  });
}

void AccessibleView::ReplaceEditorText(int start, int end, std::u16string_view text) {
  if (!Editing() || !TakesInput()) return;
  form_.Unguarded([&] {
    ui::LineEditor& editor = form_.ToDoGrid.Editor();
    editor.Select(start, end);
    editor.ReplaceSelection(text);
    form_.Platform().Repaint();
  });
}

// The frame's acting pictures in reading order: the red bar, then the window's own buttons,
// then the row and column buttons.
ui::Control& AccessibleView::ButtonControl(int id) const {
  TToDoForm& f = form_;
  ui::Control* const controls[buttonCount] = {&f.ImageRedButtonAufklapper, &f.PanelShrinkKnopf, &f.PanelMinKnopf,
                                              &f.PanelDeleteKnopf,         &f.PanelPlusRow,     &f.PanelMinusRow,
                                              &f.PanelPlusColumn,          &f.PanelMinusColumn};
  return *controls[id];
}

bool AccessibleView::ButtonShown(int id) const {
  const ui::Control& c = ButtonControl(id);
  const Rect& b = c.Bounds();
  const bool inside = b.left < form_.ClientWidth() && b.right > 0 && b.top < form_.ClientHeight() && b.bottom > 0;
  return c.Visible() && inside && b.Width() > 0 && b.Height() > 0;
}

std::vector<AccessibleView::Button> AccessibleView::Buttons() const {
  std::vector<Button> buttons;
  for (int id = 0; id < buttonCount; ++id) {
    if (ButtonShown(id)) buttons.push_back({id, ButtonControl(id).Hint(), ButtonControl(id).Bounds()});
  }
  return buttons;
}

void AccessibleView::PressButton(int id) {
  if (id < 0 || id >= buttonCount || !ButtonShown(id) || !TakesInput()) return;
  form_.Unguarded([&] {
    ui::Control& control = ButtonControl(id);
    if (auto* panel = dynamic_cast<ui::Panel*>(&control)) {
      if (panel->Button.OnClick) panel->Button.OnClick();
    } else if (auto* picture = dynamic_cast<ui::PictureImage*>(&control); picture && picture->OnClick) {
      picture->OnClick();
    }
    form_.Platform().Repaint();
  });
}

bool AccessibleView::CellAt(platform::Point point, int& col, int& row) const {
  if (!TableShown()) return false;
  const Rect& grid = TableBounds();
  return form_.ToDoGrid.CellAt({point.x - grid.left - 1, point.y - grid.top - 1}, col, row);
}

void AccessibleView::RowChanged(int row) {
  if (row < 0 || allRowsChanged_) return;
  if (std::find(changedRows_.begin(), changedRows_.end(), row) != changedRows_.end()) return;
  if (changedRows_.size() == maxRowsTold) {
    allRowsChanged_ = true;
    changedRows_.clear();
    return;
  }
  changedRows_.push_back(row);
}

void AccessibleView::Tell(AccessibleEvent event) { form_.Platform().NotifyAccessibility(event); }

// The order a screen reader wants: the window's state, the table's shape, then where the
// focus is, then what changed at the focus.
void AccessibleView::TellChanges() {
  const bool folded = Folded();
  if (folded != told_.folded) {
    told_.folded = folded;
    Tell(Event(AccessibleChange::WindowState));
  }
  if (ColumnCount() != told_.cols || RowCount() != told_.rows) {
    told_.cols = ColumnCount();
    told_.rows = RowCount();
    allRowsChanged_ = false;
    changedRows_.clear();
    Tell(Event(AccessibleChange::TableShape));
  }
  const bool focused = TableFocused();
  const bool editing = Editing();
  const int col = CurrentCol();
  const int row = CurrentRow();
  const bool focusMoved = focused != told_.focused || editing != told_.editing || col != told_.col || row != told_.row;
  TellChangedRows();
  if (focusMoved) {
    told_.focused = focused;
    told_.editing = editing;
    told_.col = col;
    told_.row = row;
    if (editing) {
      told_.editorText = EditorText();
      told_.caret = EditorCaret();
      told_.anchor = EditorAnchor();
    }
    if (focused && col >= 0 && row >= 0) Tell(Event(editing ? AccessibleChange::EditorFocus : AccessibleChange::CellFocus, col, row));
    return;
  }
  if (!editing) return;
  TellEditorText(EditorText());
  if (EditorCaret() != told_.caret || EditorAnchor() != told_.anchor) {
    told_.caret = EditorCaret();
    told_.anchor = EditorAnchor();
    Tell(Event(AccessibleChange::Caret, col, row));
  }
}

// The cells of the changed rows; the row being edited waits until its editor closes, as the
// editor's own changes tell of it meanwhile.
void AccessibleView::TellChangedRows() {
  if (allRowsChanged_) {
    allRowsChanged_ = false;
    Tell(Event(AccessibleChange::TableShape));
    return;
  }
  std::vector<int> waiting;
  for (int row : changedRows_) {
    if (Editing() && row == CurrentRow()) {
      waiting.push_back(row);
      continue;
    }
    if (row >= RowCount()) continue;
    for (int col = 0; col < ColumnCount(); ++col) Tell(Event(AccessibleChange::CellText, col, row));
  }
  changedRows_ = std::move(waiting);
}

// The one stretch that differs, from the common start and the common end of the two texts.
void AccessibleView::TellEditorText(const std::u16string& text) {
  const std::u16string& old = told_.editorText;
  if (text == old) return;
  std::size_t start = 0;
  while (start < old.size() && start < text.size() && old[start] == text[start]) ++start;
  std::size_t oldEnd = old.size();
  std::size_t newEnd = text.size();
  while (oldEnd > start && newEnd > start && old[oldEnd - 1] == text[newEnd - 1]) {
    --oldEnd;
    --newEnd;
  }
  AccessibleEvent event = Event(AccessibleChange::EditorText, CurrentCol(), CurrentRow());
  event.position = static_cast<int>(start);
  event.removed = old.substr(start, oldEnd - start);
  event.inserted = text.substr(start, newEnd - start);
  told_.editorText = text;
  Tell(std::move(event));
}

}  // namespace tasklane::mainwindow
