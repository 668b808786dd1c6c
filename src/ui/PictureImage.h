// A picture control: drawn stretched to its bounds or at its natural size from its top-left
// corner, clipped to its bounds; transparent by the picture's alpha or, for pictures
// without one, by the colour of its lower-left pixel.
#pragma once

#include <functional>
#include <memory>

#include "platform/Canvas.h"
#include "platform/Keys.h"
#include "platform/Picture.h"
#include "ui/Control.h"

namespace tasklane::ui {

class PictureImage : public Control {
 public:
  using Control::Control;

  const std::shared_ptr<const platform::Picture>& Picture() const { return picture_; }
  void SetPicture(std::shared_ptr<const platform::Picture> picture);
  bool Stretch = false;
  bool Transparent = false;

  void Paint(platform::Canvas& canvas) const;

  // Mouse input in window coordinates, for the handlers the window hangs on its pictures.
  std::function<void(platform::MouseButton, platform::ShiftState, platform::Point)> OnMouseDown;
  std::function<void(platform::MouseButton, platform::ShiftState, platform::Point)> OnMouseUp;
  std::function<void(platform::ShiftState, platform::Point)> OnMouseMove;
  std::function<void()> OnClick;

 private:
  std::shared_ptr<const platform::Picture> picture_;
};

// A picture that is a button: its hover picture while the mouse is over it, its pressed
// picture while a button is held down on it, and a click when the left button is released
// over it.
class PictureButton : public PictureImage {
 public:
  using PictureImage::PictureImage;

  void SetPictures(std::shared_ptr<const platform::Picture> normal, std::shared_ptr<const platform::Picture> hover,
                   std::shared_ptr<const platform::Picture> pressed);
  void MouseEnter();
  void MouseLeave();
  void MouseDown(platform::MouseButton button, platform::ShiftState shift, platform::Point point);
  void MouseUp(platform::MouseButton button, platform::ShiftState shift, platform::Point point);
  bool Hovered() const { return hovered_; }
  bool Pressed() const { return pressed_; }

 private:
  void ShowState();

  std::shared_ptr<const platform::Picture> normalPicture_, hoverPicture_, pressedPicture_;
  bool hovered_ = false;
  bool pressed_ = false;
};

// A borderless panel without a face of its own, holding one picture button at its top-left
// corner, of the panel's size; the panel carries the hint. Whether the button's pictures let
// the frame show through is the button's Transparent.
class Panel : public Control {
 public:
  Panel(std::u16string_view name, Control* owner, std::u16string_view buttonName);
  PictureButton Button;
  void SetBounds(const platform::Rect& bounds) override;
  void Paint(platform::Canvas& canvas) const { Button.Paint(canvas); }
};

}  // namespace tasklane::ui
