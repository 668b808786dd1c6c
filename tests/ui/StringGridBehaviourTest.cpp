// The grid as its owner meets it: keys, the editor's key routing, mouse, wheel, the order of
// notifications, and painting.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/RecordingCanvas.h"
#include "ui/StringGrid.h"

namespace tasklane::ui {
namespace {

namespace k = platform::keys;
using platform::MouseButton;
using platform::Point;
using platform::Rect;
using platform::ShiftState;

class TestClipboard : public platform::Clipboard {
 public:
  std::u16string Text() override { return text; }
  void SetText(std::u16string_view t) override { text = t; }
  std::u16string text;
};

// A 3 x 6 grid, 400 x 200 on the window, that logs every notification.
class GridTest : public ::testing::Test {
 protected:
  GridTest() : grid(u"ToDoGrid", nullptr, 3, 6, clipboard) {
    grid.SetBounds(Rect::FromBounds(0, 0, 400, 200));
    grid.SetColWidth(0, 50);
    grid.SetColWidth(1, 235);
    grid.SetColWidth(2, 45);
    grid.SetFocused(true);
    grid.OnSelectCell = [this](int col, int row, bool&) { Log("select " + std::to_string(col) + "," + std::to_string(row)); };
    grid.OnClick = [this] { Log("click"); };
    grid.OnDblClick = [this] { Log("dblclick"); };
    grid.OnMouseDown = [this](MouseButton, ShiftState, Point) { Log("down"); };
    grid.OnMouseUp = [this](MouseButton, ShiftState, Point) { Log("up"); };
    grid.OnKeyDown = [this](int& key, ShiftState) { Log("key " + std::to_string(key)); };
    grid.OnTabOut = [this](bool) { Log("tab"); };
  }
  void Log(std::string entry) { log.push_back(std::move(entry)); }
  void Current(int col, int row) { grid.SetSelection({col, row, col, row}); }
  std::pair<int, int> Cell() const { return {grid.Col(), grid.Row()}; }
  // The middle of a cell, in grid client coordinates.
  Point At(int col, int row) const {
    const Rect r = grid.CellRect(col, row);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }

  TestClipboard clipboard;
  StringGrid grid;
  std::vector<std::string> log;
};

TEST_F(GridTest, KeysMoveTheCurrentCellAndClampIt) {
  const struct {
    int key;
    bool ctrl;
    std::pair<int, int> from, to;
  } cases[] = {
      {k::Up, false, {1, 2}, {1, 1}},    {k::Up, false, {1, 1}, {1, 1}},     {k::Down, false, {1, 5}, {1, 5}},
      {k::Left, false, {0, 2}, {0, 2}},  {k::Right, false, {1, 2}, {2, 2}},  {k::Home, false, {2, 3}, {0, 3}},
      {k::End, false, {0, 3}, {2, 3}},   {k::Next, false, {0, 1}, {0, 5}},   {k::Prior, false, {0, 5}, {0, 1}},
      {k::Home, true, {2, 4}, {0, 1}},   {k::End, true, {0, 1}, {2, 5}},     {k::Down, false, {-1, -1}, {0, 1}},
      {'A', false, {-1, -1}, {0, 1}},    {k::Up, true, {1, 3}, {1, 3}},
  };
  for (const auto& c : cases) {
    Current(c.from.first, c.from.second);
    grid.KeyDown(c.key, ShiftState{.ctrl = c.ctrl});
    EXPECT_EQ(Cell(), c.to) << "key " << c.key << " from " << c.from.first << "," << c.from.second;
  }
}

TEST_F(GridTest, AMoveAsksFirstAndClicksAfter) {
  Current(0, 1);
  grid.KeyDown(k::Down, {});
  EXPECT_EQ(log, (std::vector<std::string>{"key 40", "select 0,2", "click"}));
  log.clear();
  grid.KeyDown(k::Up, {});
  grid.KeyDown(k::Up, {});  // already on the first task row: no move, no notification
  EXPECT_EQ(log, (std::vector<std::string>{"key 38", "select 0,1", "click", "key 38"}));
}

TEST_F(GridTest, TheEditorOpensByKeysAndTypingGoesIntoTheCell) {
  grid.SetCell(1, 2, u"old");
  Current(1, 2);
  grid.KeyDown(k::F2, {});
  ASSERT_TRUE(grid.EditorMode());
  EXPECT_EQ(grid.Editor().SelectionLength(), 0);
  EXPECT_EQ(grid.Editor().Caret(), 3);
  grid.KeyDown(k::Return, {});
  EXPECT_FALSE(grid.EditorMode());
  grid.KeyDown(k::Return, {});
  EXPECT_EQ(grid.Editor().SelectionLength(), 3);
  grid.Char(u'n');
  EXPECT_EQ(grid.Cell(1, 2), u"n");  // written at once
  grid.KeyDown(k::Down, {});         // goes to the grid: the editor closes, the text stays
  EXPECT_FALSE(grid.EditorMode());
  EXPECT_EQ(Cell(), std::make_pair(1, 3));
  EXPECT_EQ(grid.Cell(1, 2), u"n");
}

TEST_F(GridTest, ACharacterWithNoCurrentCellOpensTheFirstTaskCell) {
  grid.SetSelection(GridRect{});
  grid.SetCell(0, 1, u"replaced");
  grid.KeyDown('X', ShiftState{.shift = true});
  grid.Char(u'X');
  EXPECT_EQ(Cell(), std::make_pair(0, 1));
  EXPECT_TRUE(grid.EditorMode());
  EXPECT_EQ(grid.Cell(0, 1), u"X");
  grid.KeyDown(k::Back, {});
  EXPECT_EQ(grid.Cell(0, 1), u"");
}

TEST_F(GridTest, EditorKeysGoWhereTheyBelong) {
  grid.SetCell(0, 1, u"abc");
  Current(0, 1);
  grid.KeyDown(k::F2, {});
  log.clear();
  grid.KeyDown(k::Left, {});  // the editor's alone
  grid.KeyDown(k::Home, {});
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(grid.Editor().Caret(), 0);
  grid.KeyDown(k::Delete, {});  // the program hears it, then the editor deletes
  EXPECT_EQ(log, (std::vector<std::string>{"key 46"}));
  EXPECT_EQ(grid.Cell(0, 1), u"bc");
  grid.KeyDown(k::Tab, {});
  EXPECT_FALSE(grid.EditorMode());
  EXPECT_EQ(log.back(), "tab");
}

TEST_F(GridTest, MousePressesOnCells) {
  grid.SetCell(1, 3, u"text");
  grid.MouseDown(MouseButton::Left, At(1, 3), {}, false);
  EXPECT_EQ(Cell(), std::make_pair(1, 3));
  EXPECT_FALSE(grid.EditorMode());
  EXPECT_EQ(log, (std::vector<std::string>{"select 1,3", "click", "down"}));
  grid.MouseDown(MouseButton::Left, At(1, 3), {}, false);  // the current cell: edit it
  EXPECT_TRUE(grid.EditorMode());
  EXPECT_EQ(grid.Editor().SelectionLength(), 4);
  log.clear();
  grid.MouseDown(MouseButton::Left, At(1, 0), {}, false);  // a title: nothing selected
  EXPECT_FALSE(grid.EditorMode());
  EXPECT_EQ(Cell(), std::make_pair(1, 3));
  grid.MouseDown(MouseButton::Right, At(2, 4), {}, false);
  EXPECT_EQ(Cell(), std::make_pair(1, 3));
  grid.MouseDown(MouseButton::Left, At(2, 4), {}, true);
  grid.MouseUp(MouseButton::Left, At(2, 4), {});
  EXPECT_EQ(log, (std::vector<std::string>{"down", "down", "dblclick", "up"}));
}

TEST_F(GridTest, ColumnBordersAreDraggedInTheFixedHeaderOnly) {
  const int border = grid.CellRect(0, 0).right;  // 50
  grid.MouseDown(MouseButton::Left, {border + 4, 10}, {}, false);
  grid.MouseMove({border + 34, 10}, ShiftState{.left = true});
  grid.MouseUp(MouseButton::Left, {border + 34, 10}, {});
  EXPECT_EQ(grid.ColWidth(0), 80);
  grid.MouseDown(MouseButton::Left, {80 - 4, 10}, {}, false);  // 4 before the border: too far
  grid.MouseMove({120, 10}, ShiftState{.left = true});
  EXPECT_EQ(grid.ColWidth(0), 80);
  grid.MouseUp(MouseButton::Left, {120, 10}, {});
  grid.MouseDown(MouseButton::Left, {80, At(0, 2).y}, {}, false);  // a task row's border
  grid.MouseMove({120, At(0, 2).y}, ShiftState{.left = true});
  EXPECT_EQ(grid.ColWidth(0), 80);
  grid.SetFixedRows(0);
  grid.MouseDown(MouseButton::Left, {80, 10}, {}, false);
  grid.MouseMove({120, 10}, ShiftState{.left = true});
  EXPECT_EQ(grid.ColWidth(0), 80);
}

TEST_F(GridTest, TheWheelMovesOneRowWithinTheTaskRows) {
  Current(2, 4);
  grid.MouseWheel(true, {}, {});
  EXPECT_EQ(Cell(), std::make_pair(2, 5));
  grid.MouseWheel(true, {}, {});
  EXPECT_EQ(Cell(), std::make_pair(2, 5));
  Current(2, 1);
  grid.MouseWheel(false, {}, {});
  EXPECT_EQ(Cell(), std::make_pair(2, 1));
  grid.SetSelection(GridRect{});
  grid.MouseWheel(true, {}, {});
  EXPECT_EQ(grid.Col(), -1);
}

TEST_F(GridTest, PaintingPreparesEachCellAndDrawsTheLines) {
  testing::RecordingCanvas canvas;
  std::vector<CellPreparation> preparations;
  grid.OnDrawCell = [&](platform::Canvas&, int, int, const Rect&, const CellPreparation& prep) {
    preparations.push_back(prep);
  };
  Current(1, 2);
  grid.Paint(canvas, false);
  ASSERT_EQ(preparations.size(), 18u);
  EXPECT_EQ(preparations[0].brush, grid.FixedColor);
  EXPECT_EQ(preparations[3].brush, grid.Color);
  EXPECT_EQ(preparations[7].brush, grid.Colors.highlight);  // selected, not focused
  EXPECT_EQ(preparations[7].fontColor, grid.Colors.highlightText);
  EXPECT_TRUE(canvas.CallsOf(testing::DrawKind::FocusRect).empty());
  const auto lines = canvas.CallsOf(testing::DrawKind::Line);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0].color, (platform::Color{0, 0, 0}));  // under the header
  EXPECT_EQ(lines[0].from.y, 24);
  EXPECT_EQ(lines[1].color, StringGrid::silver);

  canvas.Clear();
  preparations.clear();
  grid.Paint(canvas, true);
  EXPECT_EQ(canvas.CallsOf(testing::DrawKind::FocusRect).size(), 1u);
  EXPECT_EQ(canvas.CallsOf(testing::DrawKind::FocusRect)[0].rect, grid.CellRect(1, 2));

  grid.SetGridLineWidth(0);
  grid.KeyDown(k::F2, {});
  canvas.Clear();
  preparations.clear();
  grid.Paint(canvas, true);
  for (const auto& line : canvas.CallsOf(testing::DrawKind::Line)) {
    EXPECT_NE(line.color, StringGrid::silver) << "no grid lines at width 0";
    if (line.color == platform::Color{0, 0, 0}) {
      EXPECT_EQ(line.from.x, line.to.x) << "only the caret is black";
    }
  }
  EXPECT_EQ(preparations.size(), 17u);  // the editor covers the current cell
}

TEST_F(GridTest, ScrollBarsMoveTheViewAndTheViewFollowsTheCurrentCell) {
  grid.SetRowCount(31);
  Current(0, 1);
  const int visible = grid.VisibleRowCount();
  ASSERT_GT(visible, 2);
  for (int i = 0; i < 20; ++i) grid.KeyDown(k::Down, {});
  EXPECT_EQ(grid.Row(), 21);
  EXPECT_EQ(grid.TopRow(), 21 - visible + 1);  // the current row is the last one in view
  grid.KeyDown(k::Home, ShiftState{.ctrl = true});
  EXPECT_EQ(grid.TopRow(), 1);

  const platform::Size client = grid.ClientSize();
  const int x = client.width + StringGrid::scrollBarSize / 2;
  grid.MouseDown(MouseButton::Left, {x, client.height - 5}, {}, false);  // the down arrow
  EXPECT_EQ(grid.TopRow(), 2);
  EXPECT_EQ(grid.Row(), 1);  // the current cell stays
  grid.MouseDown(MouseButton::Left, {x, client.height - StringGrid::scrollBarSize - 2}, {}, false);  // the track
  EXPECT_EQ(grid.TopRow(), 2 + visible);
  grid.MouseDown(MouseButton::Left, {x, 5}, {}, false);  // the up arrow
  EXPECT_EQ(grid.TopRow(), 1 + visible);
  grid.ScrollView(true, 1);
  grid.MouseDown(MouseButton::Left, {x, StringGrid::scrollBarSize + 2}, {}, false);  // grab the thumb
  grid.MouseMove({x, client.height}, ShiftState{.left = true});
  grid.MouseUp(MouseButton::Left, {x, client.height}, {});
  EXPECT_EQ(grid.TopRow(), 31 - visible);
  EXPECT_EQ(std::count(log.begin(), log.end(), "down"), 0);  // presses on a bar are no presses on cells
}

// The editor never stands over another row's text: it scrolls with its cell and hides while
// the cell is out of view.
TEST_F(GridTest, TheEditorFollowsItsCellWhenTheViewScrolls) {
  grid.SetRowCount(31);
  grid.SetCell(1, 2, u"mine");
  Current(1, 2);
  grid.KeyDown(k::F2, {});
  const Rect opened = grid.Editor().Bounds();
  grid.KeyDown(k::Down, ShiftState{.ctrl = true});
  ASSERT_EQ(grid.TopRow(), 2);
  EXPECT_TRUE(grid.EditorMode());
  EXPECT_EQ(grid.Editor().Bounds(), grid.CellRect(1, 2));
  EXPECT_EQ(grid.Editor().Bounds().top, opened.top - (StringGrid::defaultRowHeight + 1));
  grid.KeyDown(k::Down, ShiftState{.ctrl = true});
  EXPECT_TRUE(grid.Editor().Bounds().IsEmpty());
  testing::RecordingCanvas canvas;
  grid.Paint(canvas, true);
  for (const auto& call : canvas.CallsOf(testing::DrawKind::Text)) EXPECT_NE(call.text, u"mine");
  grid.Char(u'x');  // still the editor's, and still its own cell's
  EXPECT_EQ(grid.Cell(1, 2), u"minex");
  grid.KeyDown(k::Up, ShiftState{.ctrl = true});
  EXPECT_EQ(grid.Editor().Bounds(), grid.CellRect(1, 2));
}

// Removing rows under an open editor moves the current cell as any move does: asked first,
// the editor closed, so later keys never land in a title.
TEST_F(GridTest, ShrinkingTheTableClosesTheEditorFirst) {
  Current(1, 5);
  grid.KeyDown(k::F2, {});
  log.clear();
  grid.SetRowCount(3);
  EXPECT_FALSE(grid.EditorMode());
  EXPECT_EQ(log, (std::vector<std::string>{"select 1,2"}));
  EXPECT_EQ(Cell(), std::make_pair(1, 2));

  grid.SetRowCount(2);
  grid.SetCell(0, 0, u"Prio");
  grid.SetCell(0, 1, u"task");
  Current(0, 1);
  grid.KeyDown(k::F2, {});
  grid.SetRowCount(1);  // the header row becomes the one editable row, and current
  EXPECT_FALSE(grid.EditorMode());
  EXPECT_EQ(Cell(), std::make_pair(0, 0));
  grid.KeyDown(k::Right, {});
  EXPECT_EQ(grid.Cell(0, 0), u"Prio");
}

}  // namespace
}  // namespace tasklane::ui
