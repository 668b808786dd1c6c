// Every drawing operation the core uses. A front end implements it on its toolkit's painter;
// tests record the calls.
#pragma once

#include <string_view>

#include "platform/Color.h"
#include "platform/Geometry.h"
#include "platform/Picture.h"

namespace tasklane::platform {

struct Font {
  std::u16string_view family = u"Tahoma";
  int pixelHeight = 11;
  bool bold = false;
  friend bool operator==(const Font&, const Font&) = default;
};

enum class TextAlign { Left, Center, Right };

// How a picture lets what lies below show through: not at all, by its alpha channel, or
// wherever it has the colour of its lower-left pixel (its TransparentColor).
enum class PictureTransparency { None, Alpha, Color };

struct TextFormat {
  TextAlign align = TextAlign::Left;
  bool verticalCenter = true;
  bool singleLine = true;
  bool showMnemonics = true;  // "&x" underlines x, "&&" is one "&"
};

class Canvas {
 public:
  virtual ~Canvas() = default;

  virtual void FillRect(const Rect& rect, Color color) = 0;
  // A line from `from` up to, not including, `to`, one pixel wide.
  virtual void Line(Point from, Point to, Color color) = 0;
  // Text clipped to `rect`.
  virtual void Text(const Rect& rect, std::u16string_view text, const Font& font, Color color,
                    const TextFormat& format) = 0;
  virtual int TextWidth(std::u16string_view text, const Font& font) = 0;
  // The picture scaled to `target`.
  virtual void DrawPicture(const Rect& target, const Picture& picture, PictureTransparency transparency) = 0;
  // The dotted rectangle that marks the control with the keyboard focus, along the inside
  // of `rect`.
  virtual void FocusRect(const Rect& rect) = 0;
  // Moves the origin of all later drawing to `origin` (in the current coordinates) until the
  // matching PopOrigin; a control draws in its own coordinates this way.
  virtual void PushOrigin(Point origin) = 0;
  virtual void PopOrigin() = 0;
  // Limits all later drawing to `rect` until the matching PopClip.
  virtual void PushClip(const Rect& rect) = 0;
  virtual void PopClip() = 0;
};

}  // namespace tasklane::platform
