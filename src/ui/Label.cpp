#include "ui/Label.h"

namespace tasklane::ui {

namespace {

// A line's height for a font: the characters and the room above and below them.
int LineHeight(const platform::Font& font) { return font.pixelHeight + (font.pixelHeight + 2) / 4; }

}  // namespace

Label::Label(std::u16string_view name, Control* owner, platform::Font font) : Control(name, owner), font_(font) {}

void Label::SetText(std::u16string_view text) {
  text_ = text;
  Repaint();
}

void Label::MoveTo(platform::Point topLeft) {
  SetBounds(platform::Rect::FromBounds(topLeft.x, topLeft.y, Bounds().Width(), LineHeight(font_)));
}

void Label::Paint(platform::Canvas& canvas) {
  if (!Visible()) return;
  const platform::Rect old = Bounds();
  const platform::Rect bounds =
      platform::Rect::FromBounds(old.left, old.top, canvas.TextWidth(text_, font_), LineHeight(font_));
  if (bounds.right != old.right || bounds.bottom != old.bottom) SetBounds(bounds);
  const platform::TextFormat format{.verticalCenter = false, .showMnemonics = false};
  canvas.Text(bounds, text_, font_, Color, format);
  if (Underline) {
    const int y = bounds.top + font_.pixelHeight + 1;
    canvas.Line({bounds.left, y}, {bounds.right, y}, Color);
  }
}

}  // namespace tasklane::ui
