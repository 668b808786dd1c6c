// The frame follows every size change of the unfolded window: a 30-pixel strip at the top,
// right and bottom, the red bar at the left, the grid inside, and the picture buttons on
// the frame.
#include <algorithm>

#include "mainwindow/ToDoUnit.h"

namespace tasklane::mainwindow {
namespace {

using platform::Rect;

void Place(ui::Control& control, int left, int top, int width, int height) {
  control.SetBounds(Rect::FromBounds(left, top, width, height));
}

// Keeps a control's size and moves it.
void Move(ui::Control& control, int left, int top) {
  Place(control, left, top, control.Bounds().Width(), control.Bounds().Height());
}

}  // namespace

void TToDoForm::FormResize() {
  RecordChange(-1);
  if (Values.FoldState != Unfolded) return;
  // A window dragged below 60 pixels gives the grid no room at all, never less.
  const int W = ClientWidth();
  const int H = ClientHeight();
  const int gw = std::max(W - 60, 0);
  Place(ToDoGrid, ToDoGrid.Bounds().left, ToDoGrid.Bounds().top, gw, ToDoGrid.Bounds().Height());
  AdjustColumnWidths();
  Place(ToDoGrid, 30, 30, gw, std::max(H - 60, 0));
  RefitWhenVerticalBarChanges();
  const int gh = ToDoGrid.Bounds().Height();

  Place(ImageRedButtonAufklapper, 0, 30, 30, gh);
  Place(ImageTop, 0, 0, gw + 60, 30);
  Place(ImageRight, gw + 30, 30, SkinLoaded ? 180 : 30, ImageRedButtonAufklapper.Bounds().Height());
  Place(ImageBottom, 0, gh + 30, ImageTop.Bounds().Width(), 30);
  const int right = ImageRight.Bounds().left;
  const int bottom = ImageBottom.Bounds().top;
  Move(ImageTopRight, right - 70, ImageTopRight.Bounds().top);
  Move(ImageBottomRight, right - 70, bottom - 70);
  Place(ImageLeftZoomCorner, 0, bottom, 30, 30);
  Place(ImageRightZoomCorner, right, bottom, 30, 30);
  Place(PanelDeleteKnopf, right + 7, 7, 16, 16);
  Place(PanelShrinkKnopf, PanelDeleteKnopf.Bounds().left - 40, 7, 16, 16);
  Place(PanelMinKnopf, PanelDeleteKnopf.Bounds().left - 20, 7, 16, 16);
  Place(ImageLogo, ImageLogo.Bounds().left, ImageLogo.Bounds().top, 250, 30);
  const int middle = ImageTop.Bounds().Width() / 2;
  Place(PanelPlusRow, middle - 11, bottom - 5, 9, 9);
  Place(PanelMinusRow, middle, bottom - 5, 9, 9);
  Place(PanelPlusColumn, right - 5, gh / 2 - 5 + ToDoGrid.Bounds().top, 9, 9);
  Place(PanelMinusColumn, right - 5, gh / 2 + 4 + ToDoGrid.Bounds().top, 9, 9);
  if (SkinLoaded) {
    Place(ImageTopRight, right - 70, 0, 250, 100);
    Place(ImageBottomRight, right - 70, bottom - 70, 250, 100);
  }
}

}  // namespace tasklane::mainwindow
