// platform::Canvas on a QPainter, for the window and for pictures in memory alike. Origins
// and clips are the painter's saved states, so they nest as the core pushes and pops them.
#pragma once

#include <QPainter>

#include "platform/Canvas.h"

namespace tasklane::qt {

class QtCanvas final : public platform::Canvas {
 public:
  // Draws with `painter` as it stands: its translation and clip apply.
  explicit QtCanvas(QPainter& painter) : painter_(painter) {}

  void FillRect(const platform::Rect& rect, platform::Color color) override;
  void Line(platform::Point from, platform::Point to, platform::Color color) override;
  void Text(const platform::Rect& rect, std::u16string_view text, const platform::Font& font, platform::Color color,
            const platform::TextFormat& format) override;
  int TextWidth(std::u16string_view text, const platform::Font& font) override;
  void DrawPicture(const platform::Rect& target, const platform::Picture& picture,
                   platform::PictureTransparency transparency) override;
  void FocusRect(const platform::Rect& rect) override;
  void PushOrigin(platform::Point origin) override;
  void PopOrigin() override;
  void PushClip(const platform::Rect& rect) override;
  void PopClip() override;

 private:
  QPainter& painter_;
};

}  // namespace tasklane::qt
