// Origins on the QPainter canvas: a control draws in its own coordinates, and origins and
// clips nest in one another.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <memory>

#include "backends/qt/qt_canvas.h"

namespace tasklane::qt {
namespace {

using platform::Rect;

constexpr platform::Color red{255, 0, 0};
constexpr platform::Color blue{0, 0, 255};

class OriginPicture : public ::testing::Test {
 protected:
  OriginPicture() : image_(40, 40, QImage::Format_RGB32) { image_.fill(Qt::white); }
  QColor At(int x, int y) {
    canvas_.reset();
    painter_.reset();
    return image_.pixelColor(x, y);
  }
  QImage image_;
  std::unique_ptr<QPainter> painter_ = std::make_unique<QPainter>(&image_);
  std::unique_ptr<QtCanvas> canvas_ = std::make_unique<QtCanvas>(*painter_);
};

TEST_F(OriginPicture, DrawingMovesWithTheOriginAndBackAfterIt) {
  canvas_->PushOrigin({10, 5});
  canvas_->FillRect(Rect{0, 0, 2, 2}, red);
  canvas_->PushOrigin({3, 3});  // relative to the one before
  canvas_->Line({0, 0}, {2, 0}, blue);
  canvas_->PopOrigin();
  canvas_->PopOrigin();
  canvas_->FillRect(Rect{0, 0, 1, 1}, blue);
  EXPECT_EQ(At(10, 5), QColor(255, 0, 0));
  EXPECT_EQ(At(11, 6), QColor(255, 0, 0));
  EXPECT_EQ(At(12, 5), QColor(Qt::white));
  EXPECT_EQ(At(13, 8), QColor(0, 0, 255));
  EXPECT_EQ(At(14, 8), QColor(0, 0, 255));
  EXPECT_EQ(At(15, 8), QColor(Qt::white));
  EXPECT_EQ(At(0, 0), QColor(0, 0, 255));
}

TEST_F(OriginPicture, ClipsTakeTheOriginInForceAndKeepTheirPlaceAfterIt) {
  canvas_->PushOrigin({10, 10});
  canvas_->PushClip(Rect{0, 0, 5, 5});  // (10, 10) to (15, 15) on the picture
  canvas_->PushOrigin({2, 0});
  canvas_->FillRect(Rect{-20, -20, 40, 40}, red);
  canvas_->PopOrigin();
  canvas_->PopClip();
  canvas_->PopOrigin();
  EXPECT_EQ(At(10, 10), QColor(255, 0, 0));
  EXPECT_EQ(At(14, 14), QColor(255, 0, 0));
  EXPECT_EQ(At(15, 14), QColor(Qt::white));
  EXPECT_EQ(At(9, 10), QColor(Qt::white));
  EXPECT_EQ(At(10, 15), QColor(Qt::white));
}

}  // namespace
}  // namespace tasklane::qt
