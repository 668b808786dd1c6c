// The core's drawing operations on a QPainter.
//
//  [x] FillRect, exact to the pixel
//  [x] Line: one pixel wide, from `from` up to but not including `to`
//  [x] Text: left, centred or right, top or vertically centred, one line, clipped, "&x"
//      underlines x and "&&" is "&"
//  [x] TextWidth, FocusRect (dotted, inverting), PushClip and PopClip
#include "backends/qt/qt_canvas.h"

#include <QFontMetrics>
#include <QPaintEngine>
#include <cstdlib>

#include "backends/qt/qt_fonts.h"

namespace tasklane::qt {

namespace {

QColor QtColorOf(platform::Color color) { return QColor(color.red, color.green, color.blue); }

QRect QtRectOf(const platform::Rect& rect) { return QRect(rect.left, rect.top, rect.Width(), rect.Height()); }

QString QtTextOf(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

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
  painter_.drawText(QtRectOf(rect), AlignmentOf(format), QtTextOf(text));
  painter_.restore();
}

int QtCanvas::TextWidth(std::u16string_view text, const platform::Font& font) {
  return QFontMetrics(QtFontOf(font)).horizontalAdvance(QtTextOf(text));
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

void QtCanvas::PushClip(const platform::Rect& rect) {
  painter_.save();
  painter_.setClipRect(QtRectOf(rect), Qt::IntersectClip);
}

void QtCanvas::PopClip() { painter_.restore(); }

}  // namespace tasklane::qt
