// A push button that can take the keyboard focus. The main window keeps one outside its
// client area, where it is never seen, to pass the focus on.
#pragma once

#include <functional>

#include "ui/Control.h"

namespace tasklane::ui {

class FocusButton : public Control {
 public:
  using Control::Control;

  const std::u16string& Caption() const { return caption_; }
  void SetCaption(std::u16string_view caption) { caption_ = caption; }
  int TabOrder() const { return tabOrder_; }
  void SetTabOrder(int order) { tabOrder_ = order; }

  void OnClick(std::function<void()> handler) { onClick_ = std::move(handler); }
  void Click() {
    if (onClick_) onClick_();
  }

 private:
  std::u16string caption_;
  int tabOrder_ = 0;
  std::function<void()> onClick_;
};

}  // namespace tasklane::ui
