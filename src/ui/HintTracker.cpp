#include "ui/HintTracker.h"

namespace tasklane::ui {

namespace {

// The hint stands below the pointer, clear of its arrow.
constexpr int belowPointer = 20;

}  // namespace

HintTracker::HintTracker(platform::Platform& platform, const HintSettings& settings,
                         std::function<void(int, bool)> setTimer)
    : platform_(platform), settings_(settings), setTimer_(std::move(setTimer)) {}

void HintTracker::Track(const Control* over) {
  if (over == over_) return;
  Hide();
  over_ = over;
  if (over && !over->Hint().empty()) setTimer_(settings_.pauseMs, true);
}

void HintTracker::Hide() {
  setTimer_(settings_.pauseMs, false);
  if (!showing_) return;
  showing_ = false;
  platform_.HideHint();
}

void HintTracker::Forget(const Control* control) {
  if (control == over_) Track(nullptr);
}

// The pause ended: the hint shows. The time to read it ended: it goes until the mouse moves
// on to another control.
void HintTracker::Tick() {
  if (showing_ || !over_ || over_->Hint().empty()) {
    Hide();
    return;
  }
  const platform::Point cursor = platform_.CursorPosition();
  platform_.ShowHint(over_->Hint(), {cursor.x, cursor.y + belowPointer}, settings_.color);
  showing_ = true;
  setTimer_(settings_.hidePauseMs, true);
}

}  // namespace tasklane::ui
