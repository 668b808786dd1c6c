// The base of the controls the core draws itself: a name, a place, visibility and a hint.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/Geometry.h"

namespace tasklane::ui {

class Control {
 public:
  Control(std::u16string_view name, Control* owner);
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::u16string& Name() const { return name_; }
  Control* Owner() const { return owner_; }

  const platform::Rect& Bounds() const { return bounds_; }
  virtual void SetBounds(const platform::Rect& bounds);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  const std::u16string& Hint() const { return hint_; }
  void SetHint(std::u16string_view hint) { hint_ = hint; }

  // Asks for the control to be drawn again at once.
  void Repaint();
  // Where repaint requests go: the window that shows the control. Also told of the
  // control's own name, so that the order of repaints can be followed.
  void OnRepaint(std::function<void(Control&)> handler) { onRepaint_ = std::move(handler); }

 private:
  std::u16string name_;
  Control* owner_;
  platform::Rect bounds_;
  bool visible_ = true;
  std::u16string hint_;
  std::function<void(Control&)> onRepaint_;
};

}  // namespace tasklane::ui
