// Keys, mouse and wheel on the grid, and where they go while the editor is open.
#include <algorithm>

#include "ui/StringGrid.h"

namespace tasklane::ui {

namespace k = platform::keys;
using platform::ShiftState;

namespace {

bool NoModifiers(ShiftState shift) { return !shift.shift && !shift.ctrl && !shift.alt; }

// Keys that pass the open editor by and go to the grid's own handling.
bool GridKeyWhileEditing(int key, ShiftState shift) {
  switch (key) {
    case k::Up:
    case k::Down:
    case k::Prior:
    case k::Next:
    case k::Escape: return true;
    case k::Insert: return NoModifiers(shift);
    case k::Delete: return shift.ctrl;
    default: return false;
  }
}

}  // namespace

void StringGrid::KeyDown(int key, ShiftState shift) {
  if (key == k::Tab) {
    CloseEditor();
    if (OnTabOut) OnTabOut(shift.shift);
    return;
  }
  if (editor_.IsOpen() && !GridKeyWhileEditing(key, shift)) {
    if (key != k::Left && key != k::Right && key != k::Home && key != k::End && OnKeyDown) OnKeyDown(key, shift);
    if (key == k::F2) {
      editor_.ClearSelection();
      return;
    }
    if (key == k::Return) {
      CloseEditor();
      return;
    }
    if (editor_.IsOpen()) editor_.KeyDown(key, shift);
    return;
  }
  if (OnKeyDown) OnKeyDown(key, shift);
  GridKey(key, shift);
}

// The table of keys with and without Ctrl, then the clamping every key ends with.
void StringGrid::GridKey(int key, ShiftState shift) {
  int col = Col();
  int row = Row();
  const int page = VisibleRowCount();
  if (!shift.ctrl) {
    switch (key) {
      case k::Up: --row; break;
      case k::Down: ++row; break;
      case k::Left: --col; break;
      case k::Right: ++col; break;
      case k::Prior: row -= page; break;
      case k::Next: row += page; break;
      case k::Home: col = 0; break;
      case k::End: col = colCount_ - 1; break;
      default: break;
    }
  } else {
    switch (key) {
      case k::Up: topRow_ = std::max(topRow_ - 1, fixedRows_); ViewChanged(); break;
      case k::Down: topRow_ = std::min(topRow_ + 1, std::max(rowCount_ - VisibleRowCount(), fixedRows_)); ViewChanged(); break;
      case k::Left: col -= VisibleColCount(); break;
      case k::Right: col += VisibleColCount(); break;
      case k::Prior: row = topRow_; break;
      case k::Next: row = topRow_ + page - 1; break;
      case k::Home: col = 0, row = fixedRows_; break;
      case k::End: col = colCount_ - 1, row = rowCount_ - 1; break;
      default: break;
    }
  }
  ClampAndMove(col, row);
  if (shift.ctrl) return;
  if (key == k::F2) OpenEditor(false);
  else if (key == k::Return) OpenEditor(true);
  else if (key == k::Back && !editor_.IsOpen()) {
    OpenEditor(true);
    editor_.KeyDown(k::Back, {});
  }
}

void StringGrid::Char(char16_t c) {
  if (c < 32 || c == 127) return;
  if (!editor_.IsOpen()) {
    ClampAndMove(Col(), Row());
    OpenEditor(true);
  }
  editor_.Char(c);
}

void StringGrid::Compose(std::u16string_view text, int cursor, std::vector<CompositionStyle> styles) {
  if (!editor_.IsOpen()) {
    if (text.empty()) return;
    ClampAndMove(Col(), Row());
    OpenEditor(true);
  }
  editor_.SetComposition(text, cursor, std::move(styles));
  Repaint();
}

platform::Rect StringGrid::CaretRect() const {
  if (editor_.IsOpen()) return editor_.CaretRect();
  if (Col() < 0 || Row() < 0 || Col() >= colCount_ || Row() >= rowCount_) return {};
  return CellRect(Col(), Row());
}

void StringGrid::MouseDown(platform::MouseButton button, platform::Point point, ShiftState shift, bool doubleClick) {
  const bool onEditor = editor_.IsOpen() && editor_.Bounds().Contains(point);
  if (button == platform::MouseButton::Left && doubleClick) {
    // The second press of a double click is the double click, and nothing else.
    if (onEditor) editor_.DoubleClick(point);
    else if (OnDblClick) OnDblClick();
    return;
  }
  if (onEditor && button == platform::MouseButton::Left) {
    editor_.MouseDown(point, shift);
  } else if (button == platform::MouseButton::Left && ScrollBarPress(point)) {
    return;
  } else {
    CloseEditor();
    int col = 0;
    int row = 0;
    if (button == platform::MouseButton::Left && fixedRows_ > 0 && point.y < defaultRowHeight &&
        (sizingCol_ = BorderAt(point)) >= 0) {
      sizingOffset_ = CellRect(sizingCol_, 0).right - point.x;
    } else if (button == platform::MouseButton::Left && CellAt(point, col, row) && row >= fixedRows_) {
      if (col == Col() && row == Row()) OpenEditor(true);
      else MoveTo(col, row, false);
      if (OnClick) OnClick();
    }
  }
  if (OnMouseDown) OnMouseDown(button, shift, point);
}

void StringGrid::MouseMove(platform::Point point, ShiftState shift) {
  if (thumbDrag_ != 0 && shift.left) {
    ThumbDrag(point);
  } else if (sizingCol_ >= 0 && shift.left) {
    const int left = CellRect(sizingCol_, 0).left;
    SetColWidth(sizingCol_, std::max(point.x + sizingOffset_ - left, 1));
  } else if (editor_.IsOpen() && shift.left) {
    editor_.MouseMove(point);
  }
}

void StringGrid::MouseUp(platform::MouseButton button, platform::Point point, ShiftState shift) {
  sizingCol_ = -1;
  thumbDrag_ = 0;
  if (editor_.IsOpen()) editor_.MouseUp();
  if (OnMouseUp) OnMouseUp(button, shift, point);
}

// A press from 3 pixels before to 4 after a column's right border grabs that border.
int StringGrid::BorderAt(platform::Point point) const {
  for (int col = leftCol_; col < colCount_; ++col) {
    const platform::Rect cell = CellRect(col, 0);
    if (cell == platform::Rect{}) break;
    if (point.x >= cell.right - 3 && point.x <= cell.right + 4) return col;
  }
  return -1;
}

void StringGrid::MouseWheel(bool down, platform::Point point, ShiftState shift) {
  bool handled = false;
  if (OnMouseWheel) OnMouseWheel(down, shift, point, handled);
  if (handled || Col() < 0 || Row() < 0) return;
  if (down && Row() < rowCount_ - 1) MoveTo(Col(), Row() + 1, true);
  if (!down && Row() > fixedRows_) MoveTo(Col(), Row() - 1, true);
}

}  // namespace tasklane::ui
