// Hints: the text of the control under a resting mouse, shown after a pause and for a while,
// in the colours and timing that hold for the whole program.
#include "mainwindow/ToDoUnit.h"

namespace tasklane::mainwindow {

namespace {

// The hint stands below the pointer, clear of its arrow.
constexpr int belowPointer = 20;

}  // namespace

void TToDoForm::TrackHint(ui::Control* over) {
  if (over == hintControl_) return;
  HideHint();
  hintControl_ = over;
  if (over && !over->Hint().empty()) platform_.SetTimer(hintTimerId, Values.HintPause, true);
}

void TToDoForm::HideHint() {
  platform_.SetTimer(hintTimerId, Values.HintPause, false);
  if (!hintShowing_) return;
  hintShowing_ = false;
  platform_.HideHint();
}

// The pause ended: the hint shows. The time to read it ended: it goes until the mouse moves
// on to another control.
void TToDoForm::HintTimerTick() {
  if (hintShowing_ || !hintControl_ || hintControl_->Hint().empty()) {
    HideHint();
    return;
  }
  const platform::Point cursor = platform_.CursorPosition();
  platform_.ShowHint(hintControl_->Hint(), {cursor.x, cursor.y + belowPointer}, Values.HintColor);
  hintShowing_ = true;
  platform_.SetTimer(hintTimerId, Values.HintHidePause, true);
}

}  // namespace tasklane::mainwindow
