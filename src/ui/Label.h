// A line of text on a transparent control that takes the size of its text, optionally
// underlined, as links show.
#pragma once

#include <string>

#include "platform/Canvas.h"
#include "ui/Control.h"

namespace tasklane::ui {

class Label : public Control {
 public:
  Label(std::u16string_view name, Control* owner, platform::Font font);

  const std::u16string& Text() const { return text_; }
  void SetText(std::u16string_view text);
  const platform::Font& Font() const { return font_; }
  platform::Color Color{0, 0, 0};
  bool Underline = false;

  // Places the label's top-left corner; its size follows its text from the next paint on.
  void MoveTo(platform::Point topLeft);
  // Draws the text and takes its measured size.
  void Paint(platform::Canvas& canvas);

 private:
  std::u16string text_;
  platform::Font font_;
};

}  // namespace tasklane::ui
