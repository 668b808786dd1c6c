// Picture controls: how they draw, and the button's faces and click.
#include <gtest/gtest.h>

#include "support/RecordingCanvas.h"
#include "ui/PictureImage.h"

namespace tasklane::ui {
namespace {

using platform::MouseButton;
using platform::Picture;
using platform::PictureTransparency;
using platform::Rect;

std::shared_ptr<const Picture> Plain(int width, int height, bool alpha = false) {
  return std::make_shared<Picture>(width, height, std::vector<platform::Argb>(static_cast<std::size_t>(width * height)),
                                   alpha, false);
}

TEST(PictureImage, DrawsStretchedOrAtNaturalSizeInsideItsBounds) {
  PictureImage image(u"ImageTop", nullptr);
  image.SetBounds(Rect::FromBounds(10, 20, 100, 30));
  image.SetPicture(Plain(40, 50));
  testing::RecordingCanvas canvas;
  image.Paint(canvas);
  auto pictures = canvas.CallsOf(testing::DrawKind::Picture);
  ASSERT_EQ(pictures.size(), 1u);
  EXPECT_EQ(pictures[0].rect, Rect::FromBounds(10, 20, 40, 50));
  EXPECT_EQ(pictures[0].clip, Rect::FromBounds(10, 20, 100, 30));
  EXPECT_EQ(pictures[0].transparency, PictureTransparency::None);

  canvas.Clear();
  image.Stretch = true;
  image.Transparent = true;
  image.Paint(canvas);
  pictures = canvas.CallsOf(testing::DrawKind::Picture);
  EXPECT_EQ(pictures[0].rect, Rect::FromBounds(10, 20, 100, 30));
  EXPECT_EQ(pictures[0].transparency, PictureTransparency::Color);

  canvas.Clear();
  image.SetPicture(Plain(4, 4, true));
  image.Paint(canvas);
  EXPECT_EQ(canvas.CallsOf(testing::DrawKind::Picture)[0].transparency, PictureTransparency::Alpha);
  image.SetVisible(false);
  canvas.Clear();
  image.Paint(canvas);
  EXPECT_TRUE(canvas.Calls().empty());
}

class ButtonTest : public ::testing::Test {
 protected:
  ButtonTest() : panel(u"PanelPlusRow", nullptr, u"ImagePlusRow") {
    panel.SetBounds(Rect::FromBounds(100, 100, 9, 9));
    panel.Button.SetPictures(normal, hover, pressed);
    panel.Button.OnClick = [this] { ++clicks; };
  }
  const Picture* Shown() const { return panel.Button.Picture().get(); }

  std::shared_ptr<const Picture> normal = Plain(9, 9), hover = Plain(9, 9, true), pressed = Plain(9, 9);
  Panel panel;
  int clicks = 0;
};

TEST_F(ButtonTest, FacesFollowTheMouse) {
  EXPECT_EQ(panel.Button.Bounds(), Rect::FromBounds(100, 100, 9, 9));
  EXPECT_EQ(Shown(), normal.get());
  panel.Button.MouseEnter();
  EXPECT_EQ(Shown(), hover.get());
  panel.Button.MouseDown(MouseButton::Left, {}, {104, 104});
  EXPECT_EQ(Shown(), pressed.get());
  panel.Button.MouseUp(MouseButton::Left, {}, {104, 104});
  EXPECT_EQ(Shown(), hover.get());
  EXPECT_EQ(clicks, 1);
  panel.Button.MouseLeave();
  EXPECT_EQ(Shown(), normal.get());
}

TEST_F(ButtonTest, AReleaseAwayFromTheButtonIsNoClick) {
  panel.Button.MouseEnter();
  panel.Button.MouseDown(MouseButton::Left, {}, {104, 104});
  panel.Button.MouseLeave();
  EXPECT_EQ(Shown(), normal.get());
  panel.Button.MouseUp(MouseButton::Left, {}, {300, 300});
  EXPECT_EQ(clicks, 0);
  panel.Button.MouseDown(MouseButton::Right, {}, {104, 104});
  panel.Button.MouseUp(MouseButton::Right, {}, {104, 104});
  EXPECT_EQ(clicks, 0);
}

}  // namespace
}  // namespace tasklane::ui
