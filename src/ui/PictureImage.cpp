#include "ui/PictureImage.h"

namespace tasklane::ui {

using platform::Rect;

void PictureImage::SetPicture(std::shared_ptr<const platform::Picture> picture) {
  picture_ = std::move(picture);
  Repaint();
}

void PictureImage::Paint(platform::Canvas& canvas) const {
  if (!Visible() || !picture_ || picture_->IsEmpty()) return;
  const Rect& bounds = Bounds();
  platform::PictureTransparency transparency = platform::PictureTransparency::None;
  if (Transparent) {
    transparency = picture_->HasAlpha() ? platform::PictureTransparency::Alpha : platform::PictureTransparency::Color;
  }
  const Rect target = Stretch ? bounds : Rect::FromBounds(bounds.left, bounds.top, picture_->Width(), picture_->Height());
  canvas.PushClip(bounds);
  canvas.DrawPicture(target, *picture_, transparency);
  canvas.PopClip();
}

void PictureButton::SetPictures(std::shared_ptr<const platform::Picture> normal,
                                std::shared_ptr<const platform::Picture> hover,
                                std::shared_ptr<const platform::Picture> pressed) {
  normalPicture_ = std::move(normal);
  hoverPicture_ = std::move(hover);
  pressedPicture_ = std::move(pressed);
  ShowState();
}

// Pressed wins while the pointer is still over the button; a button pressed and dragged off
// shows its normal face until the pointer comes back.
void PictureButton::ShowState() {
  if (pressed_ && hovered_) SetPicture(pressedPicture_);
  else if (hovered_ && !pressed_) SetPicture(hoverPicture_);
  else SetPicture(normalPicture_);
}

void PictureButton::MouseEnter() {
  hovered_ = true;
  ShowState();
}

void PictureButton::MouseLeave() {
  hovered_ = false;
  ShowState();
}

void PictureButton::MouseDown(platform::MouseButton button, platform::ShiftState shift, platform::Point point) {
  pressed_ = true;
  hovered_ = Bounds().Contains(point);
  ShowState();
  if (OnMouseDown) OnMouseDown(button, shift, point);
}

void PictureButton::MouseUp(platform::MouseButton button, platform::ShiftState shift, platform::Point point) {
  const bool wasPressed = pressed_;
  pressed_ = false;
  hovered_ = Bounds().Contains(point);
  ShowState();
  if (OnMouseUp) OnMouseUp(button, shift, point);
  if (wasPressed && hovered_ && button == platform::MouseButton::Left && OnClick) OnClick();
}

Panel::Panel(std::u16string_view name, Control* owner, std::u16string_view buttonName)
    : Control(name, owner), Button(buttonName, this) {}

void Panel::SetBounds(const platform::Rect& bounds) {
  Control::SetBounds(bounds);
  Button.SetBounds(platform::Rect::FromBounds(bounds.left, bounds.top, bounds.Width(), bounds.Height()));
}

}  // namespace tasklane::ui
