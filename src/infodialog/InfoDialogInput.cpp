// The info dialog at work: painting, the logo button's three faces, the links' colours,
// moving the window by its background, and the keys that close it.
#include "infodialog/ShowInfoSRC.h"

namespace tasklane::infodialog {

using platform::MouseButton;
using platform::Point;

void TShowInfoDialog::Paint(platform::Canvas& canvas) {
  const platform::Size client = window_->ClientSize();
  canvas.FillRect(platform::Rect::FromBounds(0, 0, client.width, client.height), windowColor);
  imgInfo.Paint(canvas);
  for (ui::PictureImage* logo : Logos()) {
    if (logo->Visible()) logo->Paint(canvas);
  }
  for (ui::Label* label : Labels()) label->Paint(canvas);
}

// Labels lie above the logo, the logo's faces above each other in their order, and the
// background below everything.
ui::Control* TShowInfoDialog::ControlAt(Point point) {
  for (ui::Label* label : Labels()) {
    if (label->Visible() && label->Bounds().Contains(point)) return label;
  }
  const std::vector<ui::PictureImage*> logos = Logos();
  for (auto it = logos.rbegin(); it != logos.rend(); ++it) {
    if ((*it)->Visible() && (*it)->Bounds().Contains(point)) return *it;
  }
  return imgInfo.Bounds().Contains(point) ? &imgInfo : nullptr;
}

void TShowInfoDialog::FormKeyDown(int key) {
  if (key == platform::keys::Return || key == platform::keys::Escape) window_->Hide();
}

void TShowInfoDialog::imgInfoMouseDown() { window_->StartSystemMove(); }

void TShowInfoDialog::imgInfoMouseMove() {
  btnQBIconHover.SetVisible(false);
  btnQBIconActive.SetVisible(false);
  lblLink.Color = linkBlue;
  llbQBLink.Color = linkBlue;
}

void TShowInfoDialog::btnQBIconNormalMouseMove() {
  btnQBIconHover.SetVisible(true);
  llbQBLink.Color = linkRed;
}

void TShowInfoDialog::btnQBIconNormalClick() {
  platform_.OpenAddress(language_ == u"Deutsch" ? quillboxGermanAddress : quillboxAddress);
}

// Every button moves the window from the background or a hint text; only the left one
// clicks.
void TShowInfoDialog::MouseDown(MouseButton button, Point point, platform::ShiftState) {
  hints_.Hide();
  ui::Control* target = ControlAt(point);
  pressed_ = button == MouseButton::Left ? target : nullptr;
  if (target == &btnQBIconHover) {
    btnQBIconHoverMouseDown();
  } else if (target == &imgInfo) {
    pressed_ = nullptr;
    imgInfoMouseDown();
  } else if (target && target != &lblLink && target != &llbQBLink && target != &btnQBIconNormal &&
             target != &btnQBIconActive) {
    pressed_ = nullptr;
    mmoTextMouseDown();
  }
  window_->Repaint();
}

void TShowInfoDialog::MouseMove(Point point, platform::ShiftState) {
  ui::Control* target = ControlAt(point);
  hints_.Track(target);
  if (target == &imgInfo) imgInfoMouseMove();
  else if (target == &btnQBIconNormal || target == &llbQBLink) btnQBIconNormalMouseMove();
  else if (target == &lblLink) lblLinkMouseMove();
  window_->Repaint();
}

void TShowInfoDialog::MouseUp(MouseButton button, Point point, platform::ShiftState) {
  ui::Control* pressed = pressed_;
  pressed_ = nullptr;
  if (button != MouseButton::Left || !pressed) return;
  ui::Control* released = ControlAt(point);
  // A press on the lit face brings up the pressed one over it: still the same button.
  auto isLogo = [this](const ui::Control* c) { return c == &btnQBIconNormal || c == &btnQBIconHover || c == &btnQBIconActive; };
  if (isLogo(pressed) && isLogo(released)) btnQBIconNormalClick();
  else if (released != pressed) return;
  else if (pressed == &lblLink) platform_.OpenAddress(lblLinkTarget);
  else if (pressed == &llbQBLink) platform_.OpenAddress(llbQBLinkTarget);
}

}  // namespace tasklane::infodialog
