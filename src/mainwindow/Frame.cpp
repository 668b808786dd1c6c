// The frame as designed: its pictures from the program's own artwork, and the order in
// which the window paints them with the grid and the panels.
#include <memory>

#include "mainwindow/ToDoUnit.h"
#include "ui/ArtPicture.h"

namespace tasklane::mainwindow {
namespace {

using ui::ArtPicture;

std::string Utf8Name(std::u16string_view name) { return std::string(name.begin(), name.end()); }

}  // namespace

std::vector<ui::PictureImage*> TToDoForm::FramePictures() {
  return {&ImageRight, &ImageBottom, &ImageBottomRight, &ImageRightZoomCorner, &ImageLeftZoomCorner,
          &ImageTop,   &ImageTopRight, &ImageLogo,      &ImageRedButtonAufklapper};
}

std::vector<ui::Panel*> TToDoForm::ButtonPanels() {
  return {&PanelDeleteKnopf, &PanelMinKnopf, &PanelShrinkKnopf, &PanelPlusRow,
          &PanelMinusRow,    &PanelPlusColumn, &PanelMinusColumn};
}

void TToDoForm::CreateFrame() {
  for (ui::PictureImage* image : {&ImageRight, &ImageBottom, &ImageTop, &ImageRedButtonAufklapper}) {
    image->Stretch = true;
    image->SetPicture(ArtPicture(Utf8Name(image->Name()) + ".jpg"));
  }
  for (ui::PictureImage* image : {&ImageBottomRight, &ImageTopRight}) {
    image->SetPicture(ArtPicture(Utf8Name(image->Name()) + ".jpg"));
  }
  ImageLogo.Transparent = true;
  ImageLogo.SetPicture(ArtPicture("ImageLogo.png"));
  ImageRightZoomCorner.Transparent = true;
  ImageLeftZoomCorner.Transparent = true;
  ImageTopRight.SetBounds(platform::Rect::FromBounds(0, 0, 250, 100));
  ImageBottomRight.SetBounds(platform::Rect::FromBounds(0, 0, 250, 100));
  ImageLogo.SetBounds(platform::Rect::FromBounds(0, 0, 250, 30));
  for (ui::Panel* panel : ButtonPanels()) {
    const std::string button = Utf8Name(panel->Button.Name());
    const bool jpeg = panel->Button.Name().starts_with(u"ImageIcon");
    const std::string extension = jpeg ? ".jpg" : ".png";
    // The small PNG buttons sit on the grid's edge and let it show around them; the JPEG
    // buttons are square pictures of their own.
    panel->Button.Transparent = !jpeg;
    panel->Button.SetPictures(ArtPicture(button + extension), ArtPicture(button + "_hover" + extension),
                              ArtPicture(button + "_pressed" + extension));
  }
  ConnectFrame();
}

void TToDoForm::ConnectFrame() {
  for (ui::PictureImage* image : {&ImageRight, &ImageBottom, &ImageBottomRight, &ImageRightZoomCorner,
                                  &ImageLeftZoomCorner, &ImageTop, &ImageTopRight, &ImageLogo}) {
    image->OnMouseDown = [this](platform::MouseButton, platform::ShiftState shift, platform::Point) {
      FakeClient(shift);
    };
  }
  ImageRedButtonAufklapper.OnMouseDown = [this](platform::MouseButton, platform::ShiftState shift, platform::Point) {
    PopupFake(shift);
  };
  ImageRedButtonAufklapper.OnClick = [this] { ImageRedButtonAufklapperClick(); };
  PanelDeleteKnopf.Button.OnClick = [this] { mnuExitClick(); };
  PanelShrinkKnopf.Button.OnClick = [this] { ImageIconShrinkClick(); };
  PanelMinKnopf.Button.OnClick = [this] { ImageIconMinClick(); };
  PanelPlusRow.Button.OnClick = [this] { mnuAddRowClick(); };
  PanelMinusRow.Button.OnClick = [this] { mnuDeleteRowClick(); };
  PanelPlusColumn.Button.OnClick = [this] { mnuAddColumnClick(); };
  PanelMinusColumn.Button.OnClick = [this] { mnuDeleteColumnClick(); };
}

void TToDoForm::Paint(platform::Canvas& canvas, bool active) {
  canvas.FillRect(platform::Rect::FromBounds(0, 0, ClientWidth(), ClientHeight()), platform_.ButtonFaceColor());
  for (ui::PictureImage* image : FramePictures()) image->Paint(canvas);
  const platform::Rect grid = ToDoGrid.Bounds();
  if (grid.Width() > 0 && grid.Height() > 0) {
    canvas.FillRect(grid, platform::Color{160, 160, 160});  // the grid's flat one-pixel border
    canvas.PushClip(platform::Rect{grid.left + 1, grid.top + 1, grid.right - 1, grid.bottom - 1});
    canvas.PushOrigin(platform::Point{grid.left + 1, grid.top + 1});
    ToDoGrid.Paint(canvas, active && ActiveControl == &ToDoGrid);
    canvas.PopOrigin();
    canvas.PopClip();
  }
  for (ui::Panel* panel : ButtonPanels()) panel->Paint(canvas);
}

}  // namespace tasklane::mainwindow
