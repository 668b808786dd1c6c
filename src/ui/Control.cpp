#include "ui/Control.h"

namespace tasklane::ui {

Control::Control(std::u16string_view name, Control* owner) : name_(name), owner_(owner) {}

void Control::SetBounds(const platform::Rect& bounds) {
  if (bounds == bounds_) return;
  bounds_ = bounds;
  Repaint();
}

void Control::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  Repaint();
}

void Control::Repaint() {
  if (onRepaint_) onRepaint_(*this);
}

}  // namespace tasklane::ui
