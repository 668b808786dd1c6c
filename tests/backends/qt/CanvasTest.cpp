// The QPainter canvas, drawn into a small picture in memory and checked pixel by pixel.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <memory>

#include "backends/qt/qt_canvas.h"

namespace tasklane::qt {
namespace {

using platform::Color;
using platform::Point;
using platform::Rect;

constexpr Color white{255, 255, 255};
constexpr Color red{255, 0, 0};
constexpr Color blue{0, 0, 255};
constexpr Color black{0, 0, 0};

class Picture {
 public:
  explicit Picture(int width = 60, int height = 30) : image_(width, height, QImage::Format_RGB32) {
    image_.fill(Qt::white);
    painter_ = std::make_unique<QPainter>(&image_);
    canvas_ = std::make_unique<QtCanvas>(*painter_);
  }
  platform::Canvas& Canvas() { return *canvas_; }
  Color At(int x, int y) {
    Finish();
    const QColor c = image_.pixelColor(x, y);
    return {static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
            static_cast<std::uint8_t>(c.blue())};
  }
  // The columns that hold any pixel other than white.
  std::vector<int> InkedColumns() {
    Finish();
    std::vector<int> columns;
    for (int x = 0; x < image_.width(); ++x) {
      for (int y = 0; y < image_.height(); ++y) {
        if (image_.pixelColor(x, y) != QColor(Qt::white)) {
          columns.push_back(x);
          break;
        }
      }
    }
    return columns;
  }
  const QImage& Image() {
    Finish();
    return image_;
  }

 private:
  void Finish() {
    canvas_.reset();
    painter_.reset();
  }
  QImage image_;
  std::unique_ptr<QPainter> painter_;
  std::unique_ptr<QtCanvas> canvas_;
};

platform::TextFormat Format(platform::TextAlign align, bool mnemonics = true) {
  platform::TextFormat format;
  format.align = align;
  format.showMnemonics = mnemonics;
  return format;
}

const platform::Font font{u"Tahoma", 17, false};

TEST(QtCanvas, FillRectCoversExactlyItsPixels) {
  Picture picture;
  picture.Canvas().FillRect(Rect{2, 3, 7, 10}, red);
  EXPECT_EQ(picture.At(2, 3), red);
  EXPECT_EQ(picture.At(6, 9), red);
  EXPECT_EQ(picture.At(7, 3), white);
  EXPECT_EQ(picture.At(2, 10), white);
  EXPECT_EQ(picture.At(1, 3), white);
  EXPECT_EQ(picture.At(2, 2), white);
}

TEST(QtCanvas, EmptyRectanglesDrawNothing) {
  Picture picture;
  picture.Canvas().FillRect(Rect{5, 5, 5, 9}, red);
  picture.Canvas().FillRect(Rect{5, 5, 3, 9}, red);
  EXPECT_TRUE(picture.InkedColumns().empty());
}

struct LineRow {
  Point from;
  Point to;
  std::vector<Point> drawn;
  Point notDrawn;
};

TEST(QtCanvas, LinesStopBeforeTheirEndPoint) {
  const LineRow rows[] = {
      {{2, 5}, {6, 5}, {{2, 5}, {3, 5}, {4, 5}, {5, 5}}, {6, 5}},  // to the right
      {{6, 8}, {2, 8}, {{6, 8}, {5, 8}, {4, 8}, {3, 8}}, {2, 8}},  // to the left
      {{9, 1}, {9, 4}, {{9, 1}, {9, 2}, {9, 3}}, {9, 4}},          // down
      {{9, 20}, {9, 17}, {{9, 20}, {9, 19}, {9, 18}}, {9, 17}},    // up
      {{20, 0}, {24, 4}, {{20, 0}, {21, 1}, {22, 2}, {23, 3}}, {24, 4}},  // slanted
  };
  for (const LineRow& row : rows) {
    Picture picture;
    picture.Canvas().Line(row.from, row.to, black);
    for (const Point p : row.drawn) EXPECT_EQ(picture.At(p.x, p.y), black) << p.x << "," << p.y;
    EXPECT_EQ(picture.At(row.notDrawn.x, row.notDrawn.y), white) << "end point " << row.notDrawn.x;
    const std::size_t expected = row.from.x == row.to.x ? 1 : row.drawn.size();
    EXPECT_EQ(picture.InkedColumns().size(), expected) << "no pixel beyond the line";
  }
}

TEST(QtCanvas, LineToItsOwnStartDrawsNothing) {
  Picture picture;
  picture.Canvas().Line({4, 4}, {4, 4}, black);
  EXPECT_TRUE(picture.InkedColumns().empty());
}

TEST(QtCanvas, MnemonicAmpersandIsNotDrawn) {
  Picture withMnemonic(120, 30);
  withMnemonic.Canvas().Text(Rect{0, 0, 120, 30}, u"&W", font, black, Format(platform::TextAlign::Left));
  Picture plainW(120, 30);
  plainW.Canvas().Text(Rect{0, 0, 120, 30}, u"W", font, black, Format(platform::TextAlign::Left, false));
  Picture literal(120, 30);
  literal.Canvas().Text(Rect{0, 0, 120, 30}, u"&W", font, black, Format(platform::TextAlign::Left, false));

  const std::vector<int> mnemonicInk = withMnemonic.InkedColumns();
  ASSERT_FALSE(mnemonicInk.empty());
  // The underline may reach a pixel past the letter; the ampersand would be a whole glyph.
  EXPECT_LE(mnemonicInk.back(), plainW.InkedColumns().back() + 1);
  EXPECT_LT(mnemonicInk.back() + 3, literal.InkedColumns().back());
}

TEST(QtCanvas, DoubleAmpersandIsOneAmpersand) {
  Picture doubled(120, 30);
  doubled.Canvas().Text(Rect{0, 0, 120, 30}, u"a&&b", font, black, Format(platform::TextAlign::Left));
  Picture single(120, 30);
  single.Canvas().Text(Rect{0, 0, 120, 30}, u"a&b", font, black, Format(platform::TextAlign::Left, false));
  EXPECT_EQ(doubled.Image(), single.Image());
}

TEST(QtCanvas, TextIsAlignedWithinItsRect) {
  const Rect rect{10, 0, 110, 30};
  Picture left(120, 30);
  left.Canvas().Text(rect, u"Task", font, black, Format(platform::TextAlign::Left));
  Picture right(120, 30);
  right.Canvas().Text(rect, u"Task", font, black, Format(platform::TextAlign::Right));
  Picture centre(120, 30);
  centre.Canvas().Text(rect, u"Task", font, black, Format(platform::TextAlign::Center));

  const std::vector<int> l = left.InkedColumns();
  const std::vector<int> r = right.InkedColumns();
  const std::vector<int> c = centre.InkedColumns();
  ASSERT_FALSE(l.empty());
  EXPECT_GE(l.front(), 10);
  EXPECT_LE(l.front(), 13);
  EXPECT_LE(r.back(), 109);
  EXPECT_GE(r.back(), 106);
  const int leftMargin = c.front() - 10;
  const int rightMargin = 109 - c.back();
  EXPECT_LE(std::abs(leftMargin - rightMargin), 2);
}

TEST(QtCanvas, TextStaysInsideItsRect) {
  Picture picture(120, 30);
  picture.Canvas().Text(Rect{5, 0, 25, 30}, u"WWWWWWWW", font, black, Format(platform::TextAlign::Left));
  const std::vector<int> ink = picture.InkedColumns();
  ASSERT_FALSE(ink.empty());
  EXPECT_GE(ink.front(), 5);
  EXPECT_LT(ink.back(), 25);
}

TEST(QtCanvas, TextWidthGrowsWithTheText) {
  Picture picture;
  const int one = picture.Canvas().TextWidth(u"W", font);
  EXPECT_GT(one, 0);
  EXPECT_GT(picture.Canvas().TextWidth(u"WW", font), one);
  EXPECT_EQ(picture.Canvas().TextWidth(u"", font), 0);
}

// How much black a picture holds: each pixel counts by its darkness.
long Ink(const QImage& image) {
  long ink = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) ink += 255 - qGray(image.pixel(x, y));
  }
  return ink;
}

// Wine's Tahoma Bold is hardly heavier than its regular face; the header must still be seen
// to be bold, at the grid's own font.
TEST(QtCanvas, BoldTextIsClearlyHeavier) {
  for (const platform::Font regular : {platform::Font{u"Tahoma", 17, false}, platform::Font{u"Tahoma", 11, false}}) {
    platform::Font bold = regular;
    bold.bold = true;
    Picture plain(120, 30);
    plain.Canvas().Text(Rect{0, 0, 120, 30}, u"Prio Task Time", regular, black, Format(platform::TextAlign::Left));
    Picture heavy(120, 30);
    heavy.Canvas().Text(Rect{0, 0, 120, 30}, u"Prio Task Time", bold, black, Format(platform::TextAlign::Left));
    const long plainInk = Ink(plain.Image());
    ASSERT_GT(plainInk, 0);
    EXPECT_GT(Ink(heavy.Image()), plainInk * 13 / 10) << "at " << regular.pixelHeight << " pixels: " << plainInk;
  }
}

TEST(QtCanvas, ClipsNestAndComeOff) {
  Picture picture;
  platform::Canvas& canvas = picture.Canvas();
  canvas.PushClip(Rect{10, 5, 30, 25});
  canvas.PushClip(Rect{20, 0, 50, 15});
  canvas.FillRect(Rect{0, 0, 60, 30}, red);  // only where both clips meet
  canvas.PopClip();
  canvas.FillRect(Rect{0, 20, 60, 30}, blue);  // the outer clip only
  canvas.PopClip();
  canvas.FillRect(Rect{0, 29, 60, 30}, black);  // no clip at all

  EXPECT_EQ(picture.At(20, 5), red);
  EXPECT_EQ(picture.At(29, 14), red);
  EXPECT_EQ(picture.At(19, 5), white);
  EXPECT_EQ(picture.At(30, 10), white);
  EXPECT_EQ(picture.At(25, 15), white);
  EXPECT_EQ(picture.At(10, 20), blue);
  EXPECT_EQ(picture.At(29, 24), blue);
  EXPECT_EQ(picture.At(9, 20), white);
  EXPECT_EQ(picture.At(30, 20), white);
  EXPECT_EQ(picture.At(0, 29), black);
  EXPECT_EQ(picture.At(59, 29), black);
}

TEST(QtCanvas, FocusRectIsDottedAlongTheInside) {
  Picture picture;
  picture.Canvas().FillRect(Rect{0, 0, 60, 30}, black);
  picture.Canvas().FocusRect(Rect{10, 10, 20, 16});
  // Every other pixel of the edge is inverted, the corners included; inside stays as it was.
  EXPECT_EQ(picture.At(10, 10), white);
  EXPECT_EQ(picture.At(11, 10), black);
  EXPECT_EQ(picture.At(12, 10), white);
  EXPECT_EQ(picture.At(19, 15), white);
  EXPECT_EQ(picture.At(10, 12), white);
  EXPECT_EQ(picture.At(10, 11), black);
  EXPECT_EQ(picture.At(15, 13), black);
  EXPECT_EQ(picture.At(20, 10), black);
  EXPECT_EQ(picture.At(9, 10), black);
}

}  // namespace
}  // namespace tasklane::qt
