// Pictures on the QPainter canvas: scaled by the nearest pixel, and each kind of transparency.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "backends/qt/qt_canvas.h"

namespace tasklane::qt {
namespace {

using platform::MakeArgb;
using platform::PictureTransparency;
using platform::Rect;

const QColor background(10, 20, 30);

// Draws `picture` at (4, 4) scaled to `width` x `height` on a plain background.
QImage Drawn(const platform::Picture& picture, PictureTransparency transparency, int width, int height) {
  QImage image(20, 20, QImage::Format_RGB32);
  image.fill(background);
  {
    QPainter painter(&image);
    QtCanvas canvas(painter);
    canvas.DrawPicture(Rect::FromBounds(4, 4, width, height), picture, transparency);
  }
  return image;
}

// Red and green on top, blue and white below.
platform::Picture FourColours(std::uint8_t greenAlpha = 255) {
  return platform::Picture(2, 2,
                           {MakeArgb(255, 255, 0, 0), MakeArgb(greenAlpha, 0, 255, 0), MakeArgb(255, 0, 0, 255),
                            MakeArgb(255, 255, 255, 255)},
                           greenAlpha != 255);
}

TEST(QtCanvasPicture, ScalesByTheNearestPixel) {
  const QImage image = Drawn(FourColours(), PictureTransparency::None, 4, 4);
  EXPECT_EQ(image.pixelColor(4, 4), QColor(255, 0, 0));
  EXPECT_EQ(image.pixelColor(5, 5), QColor(255, 0, 0));
  EXPECT_EQ(image.pixelColor(6, 4), QColor(0, 255, 0));
  EXPECT_EQ(image.pixelColor(7, 5), QColor(0, 255, 0));
  EXPECT_EQ(image.pixelColor(4, 6), QColor(0, 0, 255));
  EXPECT_EQ(image.pixelColor(7, 7), QColor(255, 255, 255));
  EXPECT_EQ(image.pixelColor(8, 8), background);
  EXPECT_EQ(image.pixelColor(3, 4), background);
}

TEST(QtCanvasPicture, AlphaLetsTheBackgroundThrough) {
  const QImage image = Drawn(FourColours(0), PictureTransparency::Alpha, 2, 2);
  EXPECT_EQ(image.pixelColor(4, 4), QColor(255, 0, 0));
  EXPECT_EQ(image.pixelColor(5, 4), background);
}

TEST(QtCanvasPicture, OpaqueDrawingIgnoresAlpha) {
  const QImage image = Drawn(FourColours(0), PictureTransparency::None, 2, 2);
  EXPECT_EQ(image.pixelColor(5, 4), QColor(0, 255, 0));
}

TEST(QtCanvasPicture, TransparentColourIsLeftOutWhereverItIs) {
  const platform::Picture picture(3, 2,
                                  {MakeArgb(255, 0, 0, 255), MakeArgb(255, 255, 0, 0), MakeArgb(255, 0, 0, 255),
                                   MakeArgb(255, 0, 0, 255), MakeArgb(255, 0, 255, 0), MakeArgb(255, 0, 0, 255)});
  const QImage image = Drawn(picture, PictureTransparency::Color, 3, 2);
  EXPECT_EQ(image.pixelColor(4, 4), background);
  EXPECT_EQ(image.pixelColor(5, 4), QColor(255, 0, 0));
  EXPECT_EQ(image.pixelColor(6, 4), background);
  EXPECT_EQ(image.pixelColor(4, 5), background);
  EXPECT_EQ(image.pixelColor(5, 5), QColor(0, 255, 0));
}

TEST(QtCanvasPicture, EmptyPictureOrTargetDrawsNothing) {
  const QImage empty = Drawn(platform::Picture(), PictureTransparency::None, 4, 4);
  EXPECT_EQ(empty.pixelColor(4, 4), background);
  const QImage noTarget = Drawn(FourColours(), PictureTransparency::None, 0, 4);
  EXPECT_EQ(noTarget.pixelColor(4, 4), background);
}

}  // namespace
}  // namespace tasklane::qt
