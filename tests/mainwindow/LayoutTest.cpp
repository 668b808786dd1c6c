// The frame's layout and the order the window paints in.
#include "mainwindow/Program.h"
#include "support/RecordingCanvas.h"

namespace tasklane::mainwindow {
namespace {

using platform::Rect;

Rect At(int left, int top, int width, int height) { return Rect::FromBounds(left, top, width, height); }

TEST(Layout, TheDesignSizePlacesEveryPiece) {
  Program program;
  TToDoForm& form = program.Start();
  EXPECT_EQ(form.ToDoGrid.Bounds(), At(30, 30, 310, 151));
  EXPECT_EQ(form.ImageRedButtonAufklapper.Bounds(), At(0, 30, 30, 151));
  EXPECT_EQ(form.ImageTop.Bounds(), At(0, 0, 370, 30));
  EXPECT_EQ(form.ImageRight.Bounds(), At(340, 30, 30, 151));
  EXPECT_EQ(form.ImageBottom.Bounds(), At(0, 181, 370, 30));
  EXPECT_EQ(form.ImageTopRight.Bounds(), At(270, 0, 250, 100));
  EXPECT_EQ(form.ImageBottomRight.Bounds(), At(270, 111, 250, 100));
  EXPECT_EQ(form.ImageLeftZoomCorner.Bounds(), At(0, 181, 30, 30));
  EXPECT_EQ(form.ImageRightZoomCorner.Bounds(), At(340, 181, 30, 30));
  EXPECT_EQ(form.ImageLogo.Bounds(), At(0, 0, 250, 30));
  EXPECT_EQ(form.PanelDeleteKnopf.Bounds(), At(347, 7, 16, 16));
  EXPECT_EQ(form.PanelMinKnopf.Bounds(), At(327, 7, 16, 16));
  EXPECT_EQ(form.PanelShrinkKnopf.Bounds(), At(307, 7, 16, 16));
  EXPECT_EQ(form.PanelPlusRow.Bounds(), At(174, 176, 9, 9));
  EXPECT_EQ(form.PanelMinusRow.Bounds(), At(185, 176, 9, 9));
  EXPECT_EQ(form.PanelPlusColumn.Bounds(), At(335, 100, 9, 9));
  EXPECT_EQ(form.PanelMinusColumn.Bounds(), At(335, 109, 9, 9));
  EXPECT_EQ(form.PanelMinusColumn.Button.Bounds(), form.PanelMinusColumn.Bounds());
}

TEST(Layout, EverySizeChangeOfTheUnfoldedWindowLaysItOutAgain) {
  Program program;
  TToDoForm& form = program.Start();
  form.SetClientSize(371, 300);  // an odd width keeps the row buttons where 370 has them
  EXPECT_EQ(form.PanelPlusRow.Bounds(), At(174, 265, 9, 9));
  EXPECT_EQ(form.PanelMinusRow.Bounds(), At(185, 265, 9, 9));
  EXPECT_EQ(form.ToDoGrid.Bounds(), At(30, 30, 311, 240));
  form.SetClientSize(40, 20);  // below 60: the grid has no room, and nothing fails
  EXPECT_EQ(form.ToDoGrid.Bounds(), At(30, 30, 0, 0));
  EXPECT_EQ(form.ImageRight.Bounds().left, 30);

  form.SetClientSize(370, 211);
  form.Values.FoldState = Folded;
  form.SetClientSize(30, 211);
  EXPECT_EQ(form.ImageRight.Bounds(), At(340, 30, 30, 151));  // nothing moves while folded
}

TEST(Layout, ASkinWidensTheRightBorder) {
  Program program;
  TToDoForm& form = program.Start();
  form.SkinLoaded = true;
  form.SetClientSize(400, 250);
  EXPECT_EQ(form.ImageRight.Bounds(), At(370, 30, 180, 190));
  EXPECT_EQ(form.ImageTopRight.Bounds(), At(300, 0, 250, 100));
  EXPECT_EQ(form.ImageBottomRight.Bounds(), At(300, 150, 250, 100));
}

TEST(ColumnFitting, TheSecondColumnTakesUpTheDifference) {
  Program program;
  TToDoForm& form = program.Start();
  auto widths = [&] {
    std::vector<int> w;
    for (int col = 0; col < form.ToDoGrid.ColCount(); ++col) w.push_back(form.ToDoGrid.ColWidth(col));
    return w;
  };
  EXPECT_EQ(widths(), (std::vector<int>{50, 210, 45}));  // 310 - 3 - 2 = 305
  form.SetDrawGridLines(false);
  form.AdjustColumnWidths();
  EXPECT_EQ(widths(), (std::vector<int>{50, 213, 45}));
  form.SetClientSize(470, 211);
  EXPECT_EQ(widths(), (std::vector<int>{50, 313, 45}));
  form.SetClientSize(150, 211);  // column 1 would fall below 20
  EXPECT_EQ(widths(), (std::vector<int>{50, 20, 45}));
  // the horizontal scroll bar comes up
  EXPECT_EQ(form.ToDoGrid.ClientSize().height, 151 - 2 - ui::StringGrid::scrollBarSize);
  form.SetClientSize(370, 211);
  form.ToDoGrid.SetColWidth(0, 5);  // dragged narrow
  form.AdjustColumnWidths();
  EXPECT_EQ(widths()[0], 20);
  form.ToDoGrid.SetColCount(1);
  form.AdjustColumnWidths();
  EXPECT_EQ(widths(), (std::vector<int>{308}));
  EXPECT_EQ(form.ToDoGrid.ScrollBarSetting(), ui::ScrollBars::Vertical);
}

// The columns fill what the vertical scroll bar leaves of the grid, and follow it as it
// comes and goes; no horizontal bar comes up for the want of its width.
TEST(ColumnFitting, TheColumnsMakeRoomForTheVerticalBar) {
  Program program;
  TToDoForm& form = program.Start();
  ui::StringGrid& grid = form.ToDoGrid;
  ASSERT_FALSE(grid.HasVerticalBar());
  form.mnuAddRowClick();
  ASSERT_TRUE(grid.HasVerticalBar());
  EXPECT_EQ(grid.ColWidth(1), 210 - ui::StringGrid::scrollBarSize);
  EXPECT_EQ(grid.ClientSize().height, 151 - 2);  // no horizontal bar
  form.SetClientSize(370, 400);  // tall enough for every row: the bar goes
  EXPECT_FALSE(grid.HasVerticalBar());
  EXPECT_EQ(grid.ColWidth(1), 210);
  form.SetClientSize(370, 211);
  EXPECT_EQ(grid.ColWidth(1), 210 - ui::StringGrid::scrollBarSize);
  program.platform.PushAnswer(platform::MessageAnswer::Yes);
  form.mnuDeleteRowClick();
  EXPECT_EQ(grid.ColWidth(1), 210);
}

TEST(Frame, TheWindowPaintsItsFrameThenTheGridThenThePanels) {
  Program program;
  TToDoForm& form = program.Start();
  program.platform.SetButtonFaceColor({212, 208, 200});  // the desktop's scheme changed
  testing::RecordingCanvas canvas;
  form.Paint(canvas, true);
  const auto& calls = canvas.Calls();
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls[0].kind, testing::DrawKind::FillRect);
  EXPECT_EQ(calls[0].rect, At(0, 0, 370, 211));
  EXPECT_EQ(calls[0].color, (platform::Color{212, 208, 200}));
  std::vector<Rect> pictures;
  std::vector<bool> seeThrough;
  for (const auto& call : canvas.CallsOf(testing::DrawKind::Picture)) {
    pictures.push_back(call.clip);
    seeThrough.push_back(call.transparency != platform::PictureTransparency::None);
  }
  // Frame pictures from the bottom up (the zoom corners have none without a skin), then
  // the seven buttons.
  const std::vector<Rect> expected = {
      form.ImageRight.Bounds(),       form.ImageBottom.Bounds(),      form.ImageBottomRight.Bounds(),
      form.ImageTop.Bounds(),         form.ImageTopRight.Bounds(),    form.ImageLogo.Bounds(),
      form.ImageRedButtonAufklapper.Bounds(), form.PanelDeleteKnopf.Bounds(), form.PanelMinKnopf.Bounds(),
      form.PanelShrinkKnopf.Bounds(), form.PanelPlusRow.Bounds(),     form.PanelMinusRow.Bounds(),
      form.PanelPlusColumn.Bounds(),  form.PanelMinusColumn.Bounds()};
  ASSERT_EQ(pictures.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(pictures[i], expected[i]) << "picture " << i;
  }
  // Only the logo and the four small PNG buttons let what lies below show through.
  EXPECT_EQ(seeThrough, (std::vector<bool>{false, false, false, false, false, true, false, false, false, false, true,
                                           true, true, true}));
  // The grid's cells stand inside its border, in window coordinates.
  const testing::DrawCall* header = canvas.FindText(u"Prio");
  ASSERT_NE(header, nullptr);
  EXPECT_EQ(header->clip.left, 31);
  EXPECT_EQ(header->clip.top, 31);
}

TEST(Frame, TheExitButtonClosesTheWindow) {
  Program program;
  TToDoForm& form = program.Start();
  form.FormMouseMove({350, 10}, {});
  EXPECT_TRUE(form.PanelDeleteKnopf.Button.Hovered());
  form.FormMouseDown(platform::MouseButton::Left, {350, 10}, {}, false);
  EXPECT_TRUE(form.PanelDeleteKnopf.Button.Pressed());
  form.FormMouseUp(platform::MouseButton::Left, {350, 10}, {});
  EXPECT_TRUE(program.platform.Closed());
  EXPECT_TRUE(std::filesystem::exists(program.ListFile()));
}

TEST(Frame, TheMouseReachesTheTopmostControlUnderIt) {
  Program program;
  TToDoForm& form = program.Start();
  form.FormMouseMove({178, 180}, {});  // the add-row button over the grid's lower edge
  EXPECT_TRUE(form.PanelPlusRow.Button.Hovered());
  form.FormMouseMove({100, 100}, {});
  EXPECT_FALSE(form.PanelPlusRow.Button.Hovered());
  // A press on a task cell, in window coordinates, reaches the grid.
  const platform::Rect cell = form.ToDoGrid.CellRect(1, 2);
  const platform::Point point{30 + 1 + cell.left + 5, 30 + 1 + cell.top + 5};
  form.SetActiveControl(&form.ButtonForFocus);
  form.FormMouseDown(platform::MouseButton::Left, point, {}, false);
  form.FormMouseUp(platform::MouseButton::Left, point, {});
  EXPECT_EQ(form.ToDoGrid.Selection(), (ui::GridRect{1, 2, 1, 2}));
  EXPECT_EQ(form.ActiveControl, &form.ToDoGrid);
  form.FormChar(u'z');
  EXPECT_EQ(form.ToDoGrid.Cell(1, 2), u"z");
  form.FormKeyDown(platform::keys::Tab, {});
  EXPECT_EQ(form.ActiveControl, &form.ButtonForFocus);
  form.FormKeyDown(platform::keys::Tab, {});
  EXPECT_EQ(form.ActiveControl, &form.ToDoGrid);
}

}  // namespace
}  // namespace tasklane::mainwindow
