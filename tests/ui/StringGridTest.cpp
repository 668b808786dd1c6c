// The grid's data: counts with their floor, cells kept outside the counts, widths, fixed rows.
#include <gtest/gtest.h>

#include "platform/Menu.h"
#include "ui/StringGrid.h"

namespace tasklane::ui {
namespace {

class NoteClipboard : public platform::Clipboard {
 public:
  std::u16string Text() override { return text; }
  void SetText(std::u16string_view t) override { text = t; }
  std::u16string text;
};
NoteClipboard clipboard;

TEST(StringGrid, CountsNeverFallBelowOne) {
  StringGrid grid(u"ToDoGrid", nullptr, 3, 6, clipboard);
  grid.SetColCount(0);
  grid.SetRowCount(-4);
  EXPECT_EQ(grid.ColCount(), 1);
  EXPECT_EQ(grid.RowCount(), 1);
  EXPECT_EQ(grid.FixedRows(), 0);  // the only row is an ordinary one
}

TEST(StringGrid, CellsOutsideTheCountsAreKept) {
  StringGrid grid(u"ToDoGrid", nullptr, 3, 6, clipboard);
  grid.SetCell(2, 9, u"later");
  EXPECT_EQ(grid.Cell(2, 9), u"later");
  grid.SetColCount(1);
  grid.SetColCount(3);
  EXPECT_EQ(grid.Cell(2, 9), u"later");
  EXPECT_EQ(grid.Cell(7, 70), u"");
  EXPECT_EQ(grid.Cell(-1, 0), u"");
  EXPECT_THROW(grid.SetCell(-1, 0, u"x"), std::out_of_range);
}

// A row keeps its texts in one string: a cell that grows or shrinks leaves its neighbours as
// they were, and a cell may take a text of its own row.
TEST(StringGrid, CellsOfOneRowKeepEachOtherIntact) {
  StringGrid grid(u"ToDoGrid", nullptr, 4, 3, clipboard);
  grid.SetCell(3, 1, u"last");
  grid.SetCell(1, 1, u"middle");
  grid.SetCell(1, 1, u"a much longer middle");
  grid.SetCell(0, 1, u"first");
  grid.SetCell(1, 1, u"m");
  grid.SetCell(2, 1, grid.Cell(0, 1));
  EXPECT_EQ(grid.Cell(0, 1), u"first");
  EXPECT_EQ(grid.Cell(1, 1), u"m");
  EXPECT_EQ(grid.Cell(2, 1), u"first");
  EXPECT_EQ(grid.Cell(3, 1), u"last");
  grid.SetCell(3, 1, grid.Cell(3, 1).substr(1));
  grid.SetCell(0, 1, u"");
  EXPECT_EQ(grid.Cell(0, 1), u"");
  EXPECT_EQ(grid.Cell(2, 1), u"first");
  EXPECT_EQ(grid.Cell(3, 1), u"ast");
  EXPECT_EQ(grid.Cell(0, 2), u"");
  const std::u16string_view firstTwo[] = {u"x", grid.Cell(3, 1)};
  grid.SetRowCells(1, firstTwo);
  EXPECT_EQ(grid.Cell(0, 1), u"x");
  EXPECT_EQ(grid.Cell(1, 1), u"ast");
  EXPECT_EQ(grid.Cell(2, 1), u"first");
  EXPECT_EQ(grid.Cell(3, 1), u"ast");
  // Short rows live inside the table's own storage, which a row far below may make grow.
  grid.SetCell(0, 0, u"ab");
  const std::u16string_view fromAbove[] = {grid.Cell(0, 0), grid.Cell(0, 1)};
  grid.SetRowCells(500, fromAbove);
  EXPECT_EQ(grid.Cell(0, 500), u"ab");
  EXPECT_EQ(grid.Cell(1, 500), u"x");
}

TEST(StringGrid, WidthsExistForTheColumnsOnly) {
  StringGrid grid(u"ToDoGrid", nullptr, 3, 6, clipboard);
  grid.SetColWidth(2, 45);
  EXPECT_EQ(grid.ColWidth(2), 45);
  EXPECT_THROW(grid.SetColWidth(3, 10), std::out_of_range);
  grid.SetColCount(2);
  EXPECT_THROW(grid.ColWidth(2), std::out_of_range);
  grid.SetColCount(4);
  EXPECT_EQ(grid.ColWidth(2), StringGrid::defaultColWidth);  // an added column comes new
}

TEST(StringGrid, FixedRowsFollowTheRowCountAndMoveTheCurrentCell) {
  StringGrid grid(u"ToDoGrid", nullptr, 3, 6, clipboard);
  grid.SetSelection({2, 4, 2, 4});
  grid.SetRowCount(1);
  EXPECT_EQ(grid.FixedRows(), 0);
  EXPECT_EQ(grid.Selection(), (GridRect{0, 0, 0, 0}));
  grid.SetRowCount(5);
  grid.SetFixedRows(1);
  EXPECT_EQ(grid.Selection(), (GridRect{0, 1, 0, 1}));
  grid.SetSelection(GridRect{});
  EXPECT_EQ(grid.Col(), -1);
}

TEST(StringGrid, RepaintsGoToTheOwner) {
  StringGrid grid(u"ToDoGrid", nullptr, 3, 6, clipboard);
  std::vector<std::u16string> repainted;
  grid.OnRepaint([&](Control& control) { repainted.push_back(control.Name()); });
  grid.SetRowCount(2);
  grid.Repaint();
  EXPECT_EQ(repainted.size(), 2u);
}

TEST(PopupMenu, FindsItemsAtAnyDepth) {
  platform::MenuItem menu(u"PopupMenu");
  platform::MenuItem& columns = menu.Add(u"mnuColumn", u"&Column");
  columns.Add(u"mnuLeftAlign", u"&Left");
  menu.Add(u"mnuExit", u"E&xit");
  ASSERT_NE(menu.Find(u"mnuLeftAlign"), nullptr);
  EXPECT_EQ(menu.Find(u"mnuLeftAlign")->Caption(), u"&Left");
  EXPECT_EQ(menu.Find(u"mnuNothing"), nullptr);
  int clicks = 0;
  menu.Find(u"mnuExit")->OnClick([&] { ++clicks; });
  menu.Find(u"mnuExit")->Click();
  EXPECT_EQ(clicks, 1);
}

}  // namespace
}  // namespace tasklane::ui
