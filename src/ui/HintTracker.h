// Hints: the text of the control under a resting mouse, shown after a pause and for a while,
// in colours and timing that hold for the whole program. Each window keeps a tracker and
// gives it one timer of its own.
#pragma once

#include <functional>

#include "platform/Color.h"
#include "platform/Platform.h"
#include "ui/Control.h"

namespace tasklane::ui {

struct HintSettings {
  platform::Color color{255, 255, 225};  // a pale yellow note
  int pauseMs = 500;
  int hidePauseMs = 2500;
};

class HintTracker {
 public:
  // `setTimer(intervalMs, enabled)` runs the window's hint timer, whose ticks come to Tick().
  HintTracker(platform::Platform& platform, const HintSettings& settings,
              std::function<void(int intervalMs, bool enabled)> setTimer);

  // The mouse is over `control` now, or over nothing that shows a hint.
  void Track(const Control* over);
  void Tick();
  void Hide();
  // Forgets the control, for one that goes away.
  void Forget(const Control* control);

 private:
  platform::Platform& platform_;
  const HintSettings& settings_;
  std::function<void(int, bool)> setTimer_;
  const Control* over_ = nullptr;
  bool showing_ = false;
};

}  // namespace tasklane::ui
