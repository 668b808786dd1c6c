// The borderless window's frame at work: sizing zones, snapping, dragging, folding to the
// red bar, minimising to the notification area, and hints.
#include "mainwindow/Program.h"

namespace tasklane::mainwindow {
namespace {

using platform::HitZone;
using platform::MouseButton;
using platform::Rect;

class FrameBehaviour : public ::testing::Test {
 protected:
  FrameBehaviour() {
    program.platform.SetCreationBounds(Rect::FromBounds(100, 100, 370, 211));
    program.Start();
    form().SetBounds(500, 300, 370, 211);
  }
  TToDoForm& form() { return *program.form; }
  HitZone At(int x, int y) { return form().HitTest({500 + x, 300 + y}); }
  int Ticks() {
    int ticks = 0;
    while (program.platform.TickTimer(TToDoForm::shrinkTimerId)) ++ticks;
    return ticks;
  }
  Program program;
};

TEST_F(FrameBehaviour, EdgesAndCornersAnswerTheirZones) {
  EXPECT_EQ(At(2, 2), HitZone::TopLeft);
  EXPECT_EQ(At(366, 2), HitZone::TopRight);
  EXPECT_EQ(At(100, 2), HitZone::Top);
  EXPECT_EQ(At(2, 100), HitZone::Left);
  EXPECT_EQ(At(20, 200), HitZone::BottomLeft);
  EXPECT_EQ(At(2, 200), HitZone::Left);
  EXPECT_EQ(At(360, 200), HitZone::BottomRight);
  EXPECT_EQ(At(368, 100), HitZone::Right);
  EXPECT_EQ(At(100, 208), HitZone::Bottom);
  EXPECT_EQ(At(100, 100), HitZone::Client);
  form().Values.FoldState = Folded;
  EXPECT_EQ(At(2, 2), HitZone::Client);
}

TEST_F(FrameBehaviour, ATooSmallWindowGrowsBackAtTheNextLookAtTheMouse) {
  form().SetBounds(500, 300, 10, 20);
  EXPECT_EQ(program.platform.WindowBounds(), Rect::FromBounds(500, 300, 10, 20));
  form().HitTest({505, 305});
  EXPECT_EQ(program.platform.WindowBounds(), Rect::FromBounds(500, 300, 30, 30));
  form().SetBounds(500, 300, 3, 3);  // the window's own floor is 10 by 10
  EXPECT_EQ(program.platform.WindowBounds().Width(), 10);
}

TEST_F(FrameBehaviour, MovesSnapToTheWorkAreaWithinTenPixels) {
  program.platform.SetWorkArea(Rect{0, 0, 1920, 1040});
  form().SetBounds(7, 300, 370, 211);
  EXPECT_EQ(program.platform.WindowBounds().left, 0);
  form().SetBounds(10, 300, 370, 211);
  EXPECT_EQ(program.platform.WindowBounds().left, 10);
  form().SetBounds(1920 - 370 - 5, 1040 - 211 + 3, 370, 211);
  EXPECT_EQ(program.platform.WindowBounds(), Rect::FromBounds(1550, 829, 370, 211));
  // The user's own move, reported after it ended.
  program.platform.SetWindowBounds(Rect::FromBounds(300, 4, 370, 211));
  form().Moved();
  EXPECT_EQ(program.platform.WindowBounds().top, 0);
}

TEST_F(FrameBehaviour, FramePicturesDragOrOpenTheMenu) {
  form().FormMouseDown(MouseButton::Left, {100, 10}, {.left = true}, false);  // the logo
  EXPECT_EQ(program.platform.SystemMoves(), 1);
  form().FormMouseDown(MouseButton::Right, {200, 15}, {.right = true}, false);  // the top strip
  EXPECT_EQ(program.platform.Menus().size(), 1u);
  form().FormMouseDown(MouseButton::Middle, {200, 15}, {.middle = true}, false);
  form().FormMouseDown(MouseButton::Left, {15, 100}, {.left = true}, false);  // the red bar: no drag
  EXPECT_EQ(program.platform.SystemMoves(), 1);
  EXPECT_EQ(program.platform.Menus().size(), 1u);
  form().FormMouseDown(MouseButton::Right, {15, 100}, {.right = true}, false);
  EXPECT_EQ(program.platform.Menus().size(), 2u);
}

TEST_F(FrameBehaviour, FoldingSlidesUnderAFixedRightEdgeAndBack) {
  form().FormMouseDown(MouseButton::Left, {15, 100}, {.left = true}, false);
  form().FormMouseUp(MouseButton::Left, {15, 100}, {});
  EXPECT_EQ(form().Values.FoldState, Folding);
  for (int i = 0; i < 16; ++i) program.platform.TickTimer(TToDoForm::shrinkTimerId);
  EXPECT_EQ(program.platform.WindowBounds(), Rect::FromBounds(820, 300, 50, 211));
  EXPECT_EQ(form().ImageRedButtonAufklapper.Hint(), u"To make small click on the red bar");
  EXPECT_EQ(Ticks(), 1);
  EXPECT_EQ(form().Values.FoldState, Folded);
  EXPECT_EQ(program.platform.WindowBounds(), Rect::FromBounds(840, 300, 30, 211));
  EXPECT_FALSE(form().ToDoGrid.Visible());
  EXPECT_FALSE(form().ImageLogo.Visible());
  EXPECT_EQ(form().PanelDeleteKnopf.Bounds().left, 7);
  EXPECT_EQ(form().ImageRedButtonAufklapper.Hint(), u"To make big click on the red bar");
  EXPECT_EQ(form().HitTest({841, 301}), HitZone::Client);

  form().ImageRedButtonAufklapperClick();
  EXPECT_TRUE(form().ToDoGrid.Visible());
  EXPECT_EQ(Ticks(), 17);
  EXPECT_EQ(form().Values.FoldState, Unfolded);
  EXPECT_EQ(program.platform.WindowBounds(), Rect::FromBounds(500, 300, 370, 211));
  EXPECT_EQ(form().ToDoGrid.Bounds().Width(), 310);
  EXPECT_EQ(form().PanelDeleteKnopf.Bounds().left, 347);
  EXPECT_EQ(form().ImageRedButtonAufklapper.Hint(), u"To make small click on the red bar");
  EXPECT_EQ(program.platform.Timer(TToDoForm::shrinkTimerId)->enabled, false);
}

TEST_F(FrameBehaviour, AClickInMidFoldGrowsBackAndEscapeFoldsToo) {
  form().ImageIconShrinkClick();
  for (int i = 0; i < 5; ++i) program.platform.TickTimer(TToDoForm::shrinkTimerId);
  EXPECT_EQ(program.platform.WindowBounds(), Rect::FromBounds(600, 300, 270, 211));
  form().ImageRedButtonAufklapperClick();
  EXPECT_EQ(form().Values.FoldState, Unfolding);
  EXPECT_EQ(Ticks(), 5);
  EXPECT_EQ(program.platform.WindowBounds(), Rect::FromBounds(500, 300, 370, 211));

  form().SetActiveControl(&form().ToDoGrid);
  form().FormKeyDown(platform::keys::Escape, {});
  EXPECT_EQ(form().Values.FoldState, Folding);
}

// Folded, the grid is hidden and no control has the focus: keys, typing and the wheel leave
// the table alone, and Escape unfolds without picking a cell.
TEST_F(FrameBehaviour, AFoldedWindowHearsKeysItselfAndTheTableIsLeftAlone) {
  form().SetActiveControl(&form().ToDoGrid);
  form().ToDoGrid.SetSelection({1, 1, 1, 1});
  form().FormKeyDown(platform::keys::Escape, {});
  Ticks();
  ASSERT_EQ(form().Values.FoldState, Folded);
  const auto before = program.Rows();
  program.platform.ClipboardService().text = u"clip";
  form().FormKeyDown('A', {});
  form().FormChar(u'a');
  form().FormKeyDown(platform::keys::Delete, {});
  form().FormKeyDown('V', {.ctrl = true});
  form().FormMouseWheel(true, {15, 100}, {});
  EXPECT_EQ(program.Rows(), before);
  form().FormKeyDown(platform::keys::Escape, {});
  Ticks();
  EXPECT_EQ(form().Values.FoldState, Unfolded);
  EXPECT_EQ(form().ToDoGrid.Col(), -1);
  form().FormChar(u'b');
  EXPECT_EQ(program.Rows(), before);
  EXPECT_EQ(form().ToDoGrid.Col(), -1);
}

TEST_F(FrameBehaviour, MinimiseHidesAndTheTrayIconBringsTheWindowBack) {
  EXPECT_EQ(program.platform.TrayTip(), u"Tasklane");
  form().ImageIconMinClick();
  EXPECT_FALSE(program.platform.WindowVisible());
  EXPECT_TRUE(program.platform.Minimized());
  form().TrayClicked();
  EXPECT_TRUE(program.platform.WindowVisible());
  EXPECT_FALSE(program.platform.Minimized());
  EXPECT_EQ(program.platform.Activations(), 1);
  EXPECT_EQ(program.platform.WindowBounds(), Rect::FromBounds(500, 300, 370, 211));

  form().ImageRedButtonAufklapperClick();
  Ticks();
  form().TrayClicked();  // a folded window unfolds
  EXPECT_EQ(form().Values.FoldState, Unfolding);
  form().TrayMenuRequested();
  EXPECT_EQ(program.platform.Menus().size(), 1u);
}

TEST(TrayAfterHiddenStart, TheFirstClickShowsTheWindow) {
  Program program;
  program.platform.SetCommandLineArguments({u"-m"});
  TToDoForm& form = program.Start();
  EXPECT_FALSE(program.platform.WindowVisible());
  form.TrayClicked();
  EXPECT_TRUE(program.platform.WindowVisible());
  EXPECT_FALSE(form.Values.StartHidden);
}

TEST_F(FrameBehaviour, AHintShowsAfterItsPauseForAWhile) {
  program.platform.SetCursorPosition({680, 480});
  const platform::Rect button = form().PanelPlusRow.Bounds();
  form().FormMouseMove({button.left + 2, button.top + 2}, {});
  const testing::ScriptedTimer* timer = program.platform.Timer(TToDoForm::hintTimerId);
  ASSERT_TRUE(timer && timer->enabled);
  EXPECT_EQ(timer->intervalMs, 400);  // the first start opened the info dialog
  program.platform.TickTimer(TToDoForm::hintTimerId);
  ASSERT_EQ(program.platform.Hints().size(), 1u);
  EXPECT_EQ(program.platform.Hints()[0].text, u"Add Row");
  EXPECT_EQ(program.platform.Hints()[0].at, (platform::Point{680, 500}));
  EXPECT_EQ(program.platform.Hints()[0].background, (platform::Color{255, 255, 255}));
  EXPECT_EQ(program.platform.Timer(TToDoForm::hintTimerId)->intervalMs, 25000);
  program.platform.TickTimer(TToDoForm::hintTimerId);
  EXPECT_FALSE(program.platform.HintShowing());
  EXPECT_FALSE(program.platform.Timer(TToDoForm::hintTimerId)->enabled);

  // Moving on hides a shown hint; the grid has none.
  form().FormMouseMove({button.left + 3, button.top + 2}, {});
  EXPECT_EQ(program.platform.Hints().size(), 1u);
  form().FormMouseMove({100, 100}, {});
  EXPECT_FALSE(program.platform.Timer(TToDoForm::hintTimerId)->enabled);
}

}  // namespace
}  // namespace tasklane::mainwindow
