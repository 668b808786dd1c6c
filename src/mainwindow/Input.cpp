// Mouse and keys as the window receives them, in window coordinates, handed to the control
// they belong to: the topmost one under the mouse, or the one that took the press until
// its release; keys to the control with the focus.
#include "mainwindow/ToDoUnit.h"

namespace tasklane::mainwindow {

using platform::MouseButton;
using platform::Point;
using platform::ShiftState;

namespace {
Point Relative(Point point, const platform::Rect& bounds) { return {point.x - bounds.left - 1, point.y - bounds.top - 1}; }
}  // namespace

ui::Control* TToDoForm::ControlAt(Point point) {
  const std::vector<ui::Panel*> panels = ButtonPanels();
  for (auto it = panels.rbegin(); it != panels.rend(); ++it) {
    if ((*it)->Visible() && (*it)->Bounds().Contains(point)) return *it;
  }
  if (ToDoGrid.Visible() && ToDoGrid.Bounds().Contains(point)) return &ToDoGrid;
  const std::vector<ui::PictureImage*> pictures = FramePictures();
  for (auto it = pictures.rbegin(); it != pictures.rend(); ++it) {
    if ((*it)->Visible() && (*it)->Bounds().Contains(point)) return *it;
  }
  return nullptr;
}

// A panel's button under the mouse shows its hover face; the one it left its normal face.
void TToDoForm::TrackHover(ui::Control* over) {
  if (over == hovered_) return;
  if (auto* panel = dynamic_cast<ui::Panel*>(hovered_)) panel->Button.MouseLeave();
  hovered_ = over;
  if (auto* panel = dynamic_cast<ui::Panel*>(hovered_)) panel->Button.MouseEnter();
}

void TToDoForm::FormMouseDown(MouseButton button, Point point, ShiftState shift, bool doubleClick) {
  Unguarded([&] {
    ui::Control* target = ControlAt(point);
    captured_ = target;
    hints_.Hide();
    if (target == &ToDoGrid) {
      SetActiveControl(&ToDoGrid);
      ToDoGrid.MouseDown(button, Relative(point, ToDoGrid.Bounds()), shift, doubleClick);
      PopupFake(shift);
    } else if (auto* panel = dynamic_cast<ui::Panel*>(target)) {
      panel->Button.MouseDown(button, shift, point);
    } else if (auto* picture = dynamic_cast<ui::PictureImage*>(target); picture && picture->OnMouseDown) {
      picture->OnMouseDown(button, shift, point);
    }
    platform_.Repaint();
  });
}

void TToDoForm::FormMouseMove(Point point, ShiftState shift) {
  Unguarded([&] {
    ui::Control* target = captured_ ? captured_ : ControlAt(point);
    TrackHover(captured_ ? (ControlAt(point) == captured_ ? captured_ : nullptr) : target);
    if (!captured_) hints_.Track(target);
    if (target == &ToDoGrid) ToDoGrid.MouseMove(Relative(point, ToDoGrid.Bounds()), shift);
    else if (auto* picture = dynamic_cast<ui::PictureImage*>(target); picture && picture->OnMouseMove) {
      picture->OnMouseMove(shift, point);
    }
    platform_.Repaint();
  });
}

void TToDoForm::FormMouseUp(MouseButton button, Point point, ShiftState shift) {
  Unguarded([&] {
    ui::Control* target = captured_ ? captured_ : ControlAt(point);
    captured_ = nullptr;
    if (target == &ToDoGrid) {
      ToDoGrid.MouseUp(button, Relative(point, ToDoGrid.Bounds()), shift);
    } else if (auto* panel = dynamic_cast<ui::Panel*>(target)) {
      panel->Button.MouseUp(button, shift, point);
    } else if (auto* picture = dynamic_cast<ui::PictureImage*>(target)) {
      if (picture->OnMouseUp) picture->OnMouseUp(button, shift, point);
      if (button == MouseButton::Left && picture->Bounds().Contains(point) && picture->OnClick) picture->OnClick();
    }
    TrackHover(ControlAt(point));
    platform_.Repaint();
  });
}

void TToDoForm::FormMouseWheel(bool down, Point point, ShiftState shift) {
  Unguarded([&] {
    if (ControlAt(point) == &ToDoGrid || ActiveControl == &ToDoGrid) {
      ToDoGrid.MouseWheel(down, Relative(point, ToDoGrid.Bounds()), shift);
    }
  });
}

// The control with the focus takes the keys: the grid, or the off-screen button, which
// only answers Tab and its own click keys. Without a control in focus (the grid folded
// away) the window hears them itself, and Tab gives the grid the focus again.
void TToDoForm::FormKeyDown(int key, ShiftState shift) {
  Unguarded([&] {
    namespace k = platform::keys;
    if (ActiveControl == &ToDoGrid) {
      ToDoGrid.KeyDown(key, shift);
    } else if (ActiveControl == &ButtonForFocus) {
      if (key == k::Tab) SetActiveControl(&ToDoGrid);
      else if (key == k::Return || key == k::Space) ButtonForFocus.Click();
    } else if (key == k::Tab && ToDoGrid.Visible()) {
      SetActiveControl(&ToDoGrid);
    } else {
      int code = key;
      OnKeyDown(code, shift);
    }
    platform_.Repaint();
  });
}

void TToDoForm::FormReplaceAroundCaret(int start, int length, std::u16string_view text) {
  if (length <= 0 || ActiveControl != &ToDoGrid || !ToDoGrid.EditorMode()) {
    for (char16_t c : text) FormChar(c);
    return;
  }
  Unguarded([&] {
    ToDoGrid.Editor().ReplaceAroundCaret(start, length, text);
    platform_.Repaint();
  });
}

void TToDoForm::FormCompose(std::u16string_view text, int cursor, std::vector<ui::CompositionStyle> styles) {
  Unguarded([&] {
    if (ActiveControl == &ToDoGrid) ToDoGrid.Compose(text, cursor, std::move(styles));
    platform_.Repaint();
  });
}

TToDoForm::TextInput TToDoForm::FormTextInput() {
  TextInput input;
  input.enabled = ActiveControl == &ToDoGrid && ToDoGrid.Visible();
  const platform::Rect& grid = ToDoGrid.Bounds();
  const platform::Rect caret = ToDoGrid.CaretRect();
  input.caret = {caret.left + grid.left + 1, caret.top + grid.top + 1, caret.right + grid.left + 1, caret.bottom + grid.top + 1};
  if (ToDoGrid.EditorMode()) {
    input.text = ToDoGrid.Editor().Text();
    input.cursor = ToDoGrid.Editor().Caret();
    input.anchor = ToDoGrid.Editor().Anchor();
  }
  input.font = ToDoGrid.Font;
  return input;
}

void TToDoForm::FormChar(char16_t c) {
  Unguarded([&] {
    if (ActiveControl == &ToDoGrid) ToDoGrid.Char(c);
    platform_.Repaint();
  });
}

}  // namespace tasklane::mainwindow
