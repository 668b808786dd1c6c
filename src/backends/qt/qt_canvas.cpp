// The core's drawing operations on a QPainter.
//
//  [x] FillRect, exact to the pixel
//  [x] Line: one pixel wide, from `from` up to but not including `to`
//  [x] Text: left, centred or right, top or vertically centred, one line, clipped, "&x"
//      underlines x and "&&" is "&"
//  [x] TextWidth, FocusRect (dotted, inverting)
//  [x] PushOrigin and PopOrigin, PushClip and PopClip, each nested in the others
//  [x] DrawPicture: scaled to its target, opaque, by its alpha, or leaving out its
//      transparent colour
#include "backends/qt/qt_canvas.h"

#include <QFontMetrics>
#include <QImage>
#include <QPaintEngine>
#include <cstdlib>

#include "backends/qt/qt_fonts.h"
#include "backends/qt/qt_text.h"

namespace tasklane::qt {

namespace {

QColor QtColorOf(platform::Color color) { return QColor(color.red, color.green, color.blue); }

QRect QtRectOf(const platform::Rect& rect) { return QRect(rect.left, rect.top, rect.Width(), rect.Height()); }

int AlignmentOf(const platform::TextFormat& format) {
  int flags = format.verticalCenter ? Qt::AlignVCenter : Qt::AlignTop;
  switch (format.align) {
    case platform::TextAlign::Left: flags |= Qt::AlignLeft; break;
    case platform::TextAlign::Center: flags |= Qt::AlignHCenter; break;
    case platform::TextAlign::Right: flags |= Qt::AlignRight; break;
  }
  if (format.singleLine) flags |= Qt::TextSingleLine;
  if (format.showMnemonics) flags |= Qt::TextShowMnemonic;
  return flags;
}

// The picture's pixels as Qt holds them: alpha where the picture lets the background show.
QImage QtImageOf(const platform::Picture& picture, platform::PictureTransparency transparency) {
  QImage image(picture.Width(), picture.Height(), QImage::Format_ARGB32);
  const platform::Color transparent = picture.TransparentColor();
  const bool byAlpha = transparency == platform::PictureTransparency::Alpha && picture.HasAlpha();
  const bool byColor = transparency == platform::PictureTransparency::Color;
  const platform::Argb* pixel = picture.Pixels().data();
  for (int y = 0; y < picture.Height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < picture.Width(); ++x, ++pixel) {
      platform::Argb alpha = byAlpha ? platform::AlphaOf(*pixel) : 0xFF;
      if (byColor && platform::ColorOf(*pixel) == transparent) alpha = 0;
      line[x] = (alpha << 24) | (*pixel & 0x00FFFFFF);
    }
  }
  return image;
}

}  // namespace

void QtCanvas::FillRect(const platform::Rect& rect, platform::Color color) {
  if (rect.Width() <= 0 || rect.Height() <= 0) return;
  painter_.fillRect(QtRectOf(rect), QtColorOf(color));
}

// Straight lines are filled rectangles, which hit the pixels exactly; a slanted one steps
// from pixel to pixel as the line drawing of the window systems does, leaving out the last.
void QtCanvas::Line(platform::Point from, platform::Point to, platform::Color color) {
  const QColor qtColor = QtColorOf(color);
  if (from.y == to.y) {
    if (from.x == to.x) return;
    const int left = from.x < to.x ? from.x : to.x + 1;
    painter_.fillRect(left, from.y, std::abs(to.x - from.x), 1, qtColor);
    return;
  }
  if (from.x == to.x) {
    const int top = from.y < to.y ? from.y : to.y + 1;
    painter_.fillRect(from.x, top, 1, std::abs(to.y - from.y), qtColor);
    return;
  }
  const int dx = std::abs(to.x - from.x);
  const int dy = -std::abs(to.y - from.y);
  const int stepX = from.x < to.x ? 1 : -1;
  const int stepY = from.y < to.y ? 1 : -1;
  int error = dx + dy;
  for (platform::Point p = from; p != to;) {
    painter_.fillRect(p.x, p.y, 1, 1, qtColor);
    const int twice = 2 * error;
    if (twice >= dy) error += dy, p.x += stepX;
    if (twice <= dx) error += dx, p.y += stepY;
  }
}

void QtCanvas::Text(const platform::Rect& rect, std::u16string_view text, const platform::Font& font,
                    platform::Color color, const platform::TextFormat& format) {
  if (rect.Width() <= 0 || rect.Height() <= 0 || text.empty()) return;
  painter_.save();
  painter_.setClipRect(QtRectOf(rect), Qt::IntersectClip);
  painter_.setFont(QtFontOf(font));
  painter_.setPen(QtColorOf(color));
  painter_.drawText(QtRectOf(rect), AlignmentOf(format), QtString(text));
  painter_.restore();
}

int QtCanvas::TextWidth(std::u16string_view text, const platform::Font& font) {
  return QFontMetrics(QtFontOf(font)).horizontalAdvance(QtString(text));
}

// NOTE: no smoothing: a scaled picture takes the nearest pixel, as the system's stretching
// does, so that frame pictures keep their hard edges.
void QtCanvas::DrawPicture(const platform::Rect& target, const platform::Picture& picture,
                           platform::PictureTransparency transparency) {
  if (picture.IsEmpty() || target.Width() <= 0 || target.Height() <= 0) return;
  painter_.save();
  painter_.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter_.drawImage(QtRectOf(target), QtImageOf(picture, transparency));
  painter_.restore();
}

// Every other pixel along the inside of the rectangle, each once, inverted where the paint
// engine can: the mark then shows on any background, as the system's own focus mark does.
void QtCanvas::FocusRect(const platform::Rect& rect) {
  if (rect.Width() <= 0 || rect.Height() <= 0) return;
  painter_.save();
  const bool inverts = painter_.paintEngine()->hasFeature(QPaintEngine::RasterOpModes);
  if (inverts) painter_.setCompositionMode(QPainter::RasterOp_NotDestination);
  const QColor mark = inverts ? QColor(Qt::white) : QColor(Qt::black);
  const auto dot = [&](int x, int y) {
    if ((x - rect.left + y - rect.top) % 2 == 0) painter_.fillRect(x, y, 1, 1, mark);
  };
  for (int x = rect.left; x < rect.right; ++x) {
    dot(x, rect.top);
    if (rect.Height() > 1) dot(x, rect.bottom - 1);
  }
  for (int y = rect.top + 1; y < rect.bottom - 1; ++y) {
    dot(rect.left, y);
    if (rect.Width() > 1) dot(rect.right - 1, y);
  }
  painter_.restore();
}

void QtCanvas::PushOrigin(platform::Point origin) {
  painter_.save();
  painter_.translate(origin.x, origin.y);
}

void QtCanvas::PopOrigin() { painter_.restore(); }

void QtCanvas::PushClip(const platform::Rect& rect) {
  painter_.save();
  painter_.setClipRect(QtRectOf(rect), Qt::IntersectClip);
}

void QtCanvas::PopClip() { painter_.restore(); }

}  // namespace tasklane::qt
