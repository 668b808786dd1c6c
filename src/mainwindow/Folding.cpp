// Folding the window to the red bar at its left and back, in steps of 20 pixels under a
// fixed right edge; minimising away to the notification area and coming back from it.
#include <algorithm>

#include "mainwindow/ToDoUnit.h"

namespace tasklane::mainwindow {

namespace {

constexpr int foldStep = 20;
constexpr int shrinkIntervalMs = 10;

}  // namespace

void TToDoForm::ImageRedButtonAufklapperClick() {
  Guarded(u"ImageRedButtonAufklapperClick", Team::Quillbox, [&] {
    const int width = ClientWidth();
    const int left = Left();
    ClearGridSelection();
    if (Values.FoldState == Unfolded) {
      Values.UnfoldedClientWidth = width;
      Values.FoldTargetWidth = Values.FoldedClientWidth;
      Values.FoldTargetLeft = left + width - Values.FoldTargetWidth;
      Values.FoldState = Folding;
      platform_.SetTimer(shrinkTimerId, shrinkIntervalMs, true);
      ToDoGrid.SetScrollBars(ui::ScrollBars::None);
      return;
    }
    ToDoGrid.SetVisible(true);
    Values.FoldTargetWidth = Values.UnfoldedClientWidth;
    Values.FoldTargetLeft = left + width - Values.UnfoldedClientWidth;
    Values.FoldState = Unfolding;
    platform_.SetTimer(shrinkTimerId, shrinkIntervalMs, true);
    ToDoGrid.SetScrollBars(ui::ScrollBars::None);
    ImageLeftZoomCorner.SetVisible(true);
    ImageLogo.SetVisible(true);
    MoveDeleteButton(ImageRight.Bounds().left + 7);
  });
  platform_.Repaint();
}

void TToDoForm::MoveDeleteButton(int left) {
  const platform::Rect button = PanelDeleteKnopf.Bounds();
  PanelDeleteKnopf.SetBounds(platform::Rect::FromBounds(left, button.top, button.Width(), button.Height()));
}

// The grid's width follows the window's; a folded window leaves it none.
void TToDoForm::SetGridWidth(int width) {
  const platform::Rect grid = ToDoGrid.Bounds();
  ToDoGrid.SetBounds(platform::Rect::FromBounds(grid.left, grid.top, std::max(width, 0), grid.Height()));
}

void TToDoForm::TimerShrinkTimer() {
  Guarded(u"Timer1Timer", Team::Quillbox, [&] {
    const int width = ClientWidth();
    const int target = Values.FoldTargetWidth;
    if (Values.FoldState == Folding) {
      if (width > target + foldStep) {
        SetBounds(Left() + foldStep, Top(), width, ClientHeight());
        SetClientSize(width - foldStep, ClientHeight());
        return;
      }
      platform_.SetTimer(shrinkTimerId, shrinkIntervalMs, false);
      Values.FoldState = Folded;
      SetBounds(Values.FoldTargetLeft, Top(), width, ClientHeight());
      SetClientSize(target, ClientHeight());
      SetGridWidth(ClientWidth() - 60);
      // A hidden grid keeps neither the focus nor a current cell: from here on the window
      // hears the keys itself, and none of them reaches the table.
      ToDoGrid.SetVisible(false);
      SetActiveControl(nullptr);
      ClearGridSelection();
      MoveDeleteButton(7);
      ImageLeftZoomCorner.SetVisible(false);
      ImageLogo.SetVisible(false);
      ImageRedButtonAufklapper.SetHint(EnglishUI ? u"To make big click on the red bar"
                                                 : u"Zum Vergr\u00f6\u00dfern auf den roten Balken klicken");
    } else if (Values.FoldState == Unfolding) {
      if (width < target - foldStep) {
        SetBounds(Left() - foldStep, Top(), width, ClientHeight());
        SetClientSize(width + foldStep, ClientHeight());
        return;
      }
      Values.FoldState = Unfolded;
      SetBounds(Values.FoldTargetLeft, Top(), width, ClientHeight());
      SetClientSize(target, ClientHeight());
      platform_.SetTimer(shrinkTimerId, shrinkIntervalMs, false);
      SetGridWidth(ClientWidth() - 60);
      ImageRedButtonAufklapper.SetHint(EnglishUI ? u"To make small click on the red bar"
                                                 : u"Zum Verkleinern auf den roten Balken klicken");
    }
  });
  platform_.Repaint();
}

void TToDoForm::ImageIconMinClick() {
  platform_.ShowWindow(platform::WindowShow::Minimize);
  platform_.ShowWindow(platform::WindowShow::Hide);
}

void TToDoForm::TrayIconClick() {
  Guarded(u"TrayIconClick", Team::Quillbox, [&] {
    if (Values.StartHidden) {
      platform_.ShowWindow(platform::WindowShow::Show);
      Values.StartHidden = false;
    }
    platform_.ShowWindow(platform::WindowShow::ShowNormal);
    platform_.ActivateWindow();
    if (Values.FoldState == Folded) ImageRedButtonAufklapperClick();
  });
}

}  // namespace tasklane::mainwindow
