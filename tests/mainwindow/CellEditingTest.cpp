// Whole-cell clipboard keys, Delete, Escape, blank cells and the wheel, through the grid as
// the keys and clicks arrive.
#include "mainwindow/Program.h"
#include "support/RecordingCanvas.h"

namespace tasklane::mainwindow {
namespace {

namespace k = platform::keys;
using platform::ShiftState;
using platform::TextAlign;

constexpr ShiftState ctrl{.ctrl = true};

class CellEditing : public ::testing::Test {
 protected:
  void SetUp() override {
    program_.Start();
    grid().SetBounds(platform::Rect::FromBounds(0, 0, 332, 170));
  }
  TToDoForm& form() { return *program_.form; }
  ui::StringGrid& grid() { return form().ToDoGrid; }
  std::u16string& clipboard() { return program_.platform.ClipboardService().text; }
  void Current(int col, int row) { grid().SetSelection({col, row, col, row}); }

  Program program_;
};

TEST_F(CellEditing, CopyAndCutTakeWholeCellsAndLeaveEmptyOnesAlone) {
  clipboard() = u"kept";
  Current(0, 2);
  grid().KeyDown('C', ctrl);
  grid().KeyDown('X', ctrl);
  EXPECT_EQ(clipboard(), u"kept");
  EXPECT_EQ(program_.platform.ClipboardService().writes, 0);
  Current(1, 1);
  grid().KeyDown('C', ShiftState{.shift = true, .ctrl = true});
  EXPECT_EQ(clipboard(), u"...Click here for new task");
  Current(2, 1);
  grid().KeyDown('X', ctrl);
  EXPECT_EQ(clipboard(), u"10min");
  EXPECT_EQ(grid().Cell(2, 1), u"");
}

TEST_F(CellEditing, PasteMakesOneLineOfTheClipboard) {
  Current(1, 3);
  clipboard() = u"first\r\nsecond\r\n \t ";
  grid().KeyDown('V', ctrl);
  EXPECT_EQ(grid().Cell(1, 3), u"first  second");
  EXPECT_EQ(clipboard(), u"first\r\nsecond\r\n \t ");
  clipboard().clear();
  grid().KeyDown('V', ctrl);
  EXPECT_EQ(grid().Cell(1, 3), u"");
  EXPECT_EQ(form().DeleteLineBreaks(u"  lead\ntrail\r"), u"  lead trail");
}

TEST_F(CellEditing, PasteWhileEditingLeavesTheOneLineTextOnTheClipboard) {
  grid().SetCell(1, 2, u"ab");
  Current(1, 2);
  grid().KeyDown(k::F2, {});
  clipboard() = u"x\r\ny\n";
  grid().KeyDown('V', ctrl);
  EXPECT_EQ(clipboard(), u"x  y");
  EXPECT_EQ(grid().Cell(1, 2), u"abx  y");
}

TEST_F(CellEditing, PastingOnlyLineBreaksWhileEditingReplacesTheSelection) {
  grid().SetCell(1, 2, u"abc");
  Current(1, 2);
  grid().KeyDown(k::Return, {});  // the editor opens with its whole text selected
  clipboard() = u"\r\n\n";
  grid().KeyDown('V', ctrl);
  EXPECT_EQ(grid().Cell(1, 2), u"");
  EXPECT_EQ(clipboard(), u"");
  grid().Char(u'z');
  clipboard().clear();  // a clipboard without text pastes nothing
  grid().KeyDown(k::Home, ShiftState{.shift = true});
  grid().KeyDown('V', ctrl);
  EXPECT_EQ(grid().Cell(1, 2), u"z");
}

TEST_F(CellEditing, WithoutACurrentCellClipboardKeysAndDeleteDoNothing) {
  form().ClearGridSelection();
  clipboard() = u"clip";
  const auto before = program_.Rows();
  for (int key : {int('C'), int('X'), int('V')}) {
    form().ClearGridSelection();
    int code = key;
    form().OnKeyDown(code, ctrl);
  }
  int del = k::Delete;
  form().OnKeyDown(del, {});
  EXPECT_EQ(program_.Rows(), before);
  EXPECT_EQ(clipboard(), u"clip");
}

// A failure no handler catches itself shows its own message, and nothing is lost: a busy
// clipboard empties no cell.
TEST_F(CellEditing, ABusyClipboardShowsWhyAndTheCellStays) {
  form().SetActiveControl(&grid());
  Current(1, 1);
  program_.platform.ClipboardService().busy = true;
  form().FormKeyDown('V', ctrl);
  EXPECT_EQ(grid().Cell(1, 1), u"...Click here for new task");
  ASSERT_FALSE(program_.platform.Messages().empty());
  EXPECT_EQ(program_.platform.Messages().back().text, u"The clipboard is held by another program.");
  program_.platform.ClipboardService().busy = false;
  form().FormKeyDown('C', ctrl);
  EXPECT_EQ(clipboard(), u"...Click here for new task");
}

TEST_F(CellEditing, ShiftInsertPastesOneLineAsCtrlVDoes) {
  grid().SetCell(1, 2, u"ab");
  Current(1, 2);
  grid().KeyDown(k::F2, {});
  clipboard() = u"x\r\ny\n";
  grid().KeyDown(k::Insert, ShiftState{.shift = true});
  EXPECT_EQ(grid().Cell(1, 2), u"abx  y");
}

// Tab puts the focus on the off-screen button: the table hears no keys until it has it back.
TEST_F(CellEditing, KeysWhileTheFocusButtonHasTheFocusLeaveTheTableAlone) {
  form().SetActiveControl(&grid());
  Current(1, 1);
  form().FormKeyDown(k::Tab, {});
  ASSERT_EQ(form().ActiveControl, &form().ButtonForFocus);
  clipboard() = u"clip";
  const auto before = program_.Rows();
  for (int key : {int('C'), int('X'), int('V')}) form().FormKeyDown(key, ctrl);
  form().FormKeyDown(k::Delete, {});
  form().FormKeyDown(k::Escape, {});
  form().FormChar(u'a');
  EXPECT_EQ(program_.Rows(), before);
  EXPECT_EQ(clipboard(), u"clip");
  EXPECT_EQ(form().Values.FoldState, Unfolded);
  form().FormKeyDown(k::Tab, {});
  EXPECT_EQ(form().ActiveControl, &grid());
}

TEST_F(CellEditing, DeleteEmptiesTheCellOrIsTheEditors) {
  Current(0, 1);
  grid().KeyDown(k::Delete, {});
  EXPECT_EQ(grid().Cell(0, 1), u"");
  Current(1, 1);
  grid().KeyDown(k::F2, {});
  grid().KeyDown(k::Home, {});
  grid().KeyDown(k::Delete, {});
  EXPECT_EQ(grid().Cell(1, 1), u"..Click here for new task");
}

TEST_F(CellEditing, EscapeWhileEditingKeepsTheTextAndMovesToTheFirstCell) {
  Current(1, 3);
  grid().Char(u'n');
  grid().Char(u'e');
  grid().KeyDown(k::Escape, {});
  EXPECT_FALSE(grid().EditorMode());
  EXPECT_EQ(grid().Cell(1, 3), u"ne");
  EXPECT_EQ(grid().Selection(), (ui::GridRect{0, 1, 0, 1}));

  grid().SetFixedRows(0);  // the title command makes the header editable
  Current(2, 0);
  grid().KeyDown(k::F2, {});
  grid().Char(u'!');
  grid().KeyDown(k::Escape, {});
  EXPECT_EQ(grid().Cell(2, 0), u"Time!");
  EXPECT_EQ(grid().Selection(), (ui::GridRect{0, 0, 0, 0}));
  EXPECT_EQ(grid().FixedRows(), 0);
}

TEST_F(CellEditing, EscapeWithTheEditorClosedRunsTheRedBarAndTheGridSelectsAgain) {
  Current(2, 4);
  grid().KeyDown(k::Escape, {});
  EXPECT_EQ(grid().Selection(), (ui::GridRect{0, 1, 0, 1}));
}

TEST_F(CellEditing, AClickOnATaskCellFixesAnEditableHeader) {
  grid().SetFixedRows(0);
  const platform::Rect cell = grid().CellRect(2, 3);
  grid().MouseDown(platform::MouseButton::Left, {cell.left + 5, cell.top + 5}, {}, false);
  EXPECT_EQ(grid().FixedRows(), 1);
  EXPECT_EQ(grid().Selection(), (ui::GridRect{0, 1, 0, 1}));
}

TEST_F(CellEditing, ABlankCellIsEmptyOnceItBecomesCurrent) {
  grid().SetCell(0, 3, u" \t ");
  grid().SetCell(0, 4, u" x ");
  Current(0, 2);
  grid().KeyDown(k::Down, {});
  EXPECT_EQ(grid().Cell(0, 3), u"");
  grid().KeyDown(k::Down, {});
  EXPECT_EQ(grid().Cell(0, 4), u" x ");
}

TEST_F(CellEditing, TheFirstWheelEventSelectsTheFirstTaskCell) {
  form().ClearGridSelection();
  grid().MouseWheel(true, {}, {});
  EXPECT_EQ(grid().Selection(), (ui::GridRect{0, 2, 0, 2}));
  EXPECT_TRUE(form().WheelSelectionDone);
  grid().MouseWheel(false, {}, {});
  grid().MouseWheel(false, {}, {});
  EXPECT_EQ(grid().Selection(), (ui::GridRect{0, 1, 0, 1}));
  form().ClearGridSelection();
  grid().MouseWheel(true, {}, {});  // no current cell any more: nothing to move
  EXPECT_EQ(grid().Col(), -1);
}

// The first wheel event of a run makes another cell current: the editor closes, and what
// is typed next never reaches a cell it was not opened on.
TEST_F(CellEditing, TheFirstWheelEventWhileEditingClosesTheEditor) {
  Current(2, 1);
  grid().KeyDown(k::F2, {});
  grid().MouseWheel(false, {}, {});
  EXPECT_FALSE(grid().EditorMode());
  grid().Char(u'5');
  grid().KeyDown(k::Return, {});
  EXPECT_EQ(grid().Cell(2, 1), u"10min");
  EXPECT_EQ(grid().Cell(0, 1), u"5");
}

// A fold reversed before it ends clears the selection twice and hides no open editor.
TEST_F(CellEditing, FoldingClosesTheEditorWhateverFollows) {
  Current(1, 1);
  grid().KeyDown(k::F2, {});
  grid().Char(u'!');
  form().ImageRedButtonAufklapperClick();
  form().ImageRedButtonAufklapperClick();
  EXPECT_FALSE(grid().EditorMode());
  EXPECT_EQ(grid().Cell(1, 1), u"...Click here for new task!");
  program_.platform.RunTimers(100);
  grid().Char(u'a');  // a key opens the editor on a current cell again
  EXPECT_TRUE(grid().EditorMode());
  EXPECT_EQ(grid().Cell(grid().Col(), grid().Row()), u"a");
}

TEST_F(CellEditing, TheFirstWheelEventStaysInsideAOneRowTable) {
  grid().SetRowCount(1);
  form().ClearGridSelection();
  grid().MouseWheel(false, {}, {});
  EXPECT_EQ(grid().Selection(), (ui::GridRect{0, 0, 0, 0}));
}

// An idle program has no timer running: the caret's runs only while the editor is open in
// the focused grid.
TEST_F(CellEditing, TheCaretBlinksWhileTheEditorIsOpenAndNoTimerRunsOtherwise) {
  EXPECT_EQ(program_.platform.RunTimers(10), 0);
  Current(1, 2);
  grid().KeyDown(k::F2, {});
  ASSERT_TRUE(grid().Editor().CaretShown());
  program_.platform.TickTimer(TToDoForm::caretTimerId);
  EXPECT_FALSE(grid().Editor().CaretShown());
  grid().Char(u'x');  // typing shows it again
  EXPECT_TRUE(grid().Editor().CaretShown());
  auto caretTimerRuns = [&] { return program_.platform.Timer(TToDoForm::caretTimerId)->enabled; };
  grid().SetFocused(false);  // another window became active
  EXPECT_FALSE(caretTimerRuns());
  grid().SetFocused(true);
  grid().KeyDown(k::F2, {});
  EXPECT_TRUE(caretTimerRuns());
  grid().KeyDown(k::Return, {});
  EXPECT_FALSE(caretTimerRuns());
  program_.platform.RunTimers(10);  // the typing goes to the recovery file, then all is still
  EXPECT_EQ(program_.platform.RunTimers(10), 0);
}

TEST_F(CellEditing, MouseActionsRepaintTheFourButtonsInOrder) {
  std::vector<std::u16string> repainted;
  for (ui::Control* panel : {&form().PanelMinusRow, &form().PanelPlusRow, &form().PanelMinusColumn, &form().PanelPlusColumn}) {
    panel->OnRepaint([&](ui::Control& control) { repainted.push_back(control.Name()); });
  }
  grid().MouseUp(platform::MouseButton::Left, {}, {});
  EXPECT_EQ(repainted, (std::vector<std::u16string>{u"PanelMinusRow", u"PanelPlusRow", u"PanelMinusColumn",
                                                     u"PanelPlusColumn"}));
}

class CellDrawing : public CellEditing {
 protected:
  // The text call of one cell's drawing.
  testing::DrawCall TextOf(int col, int row, bool active = true) {
    testing::RecordingCanvas canvas;
    const platform::Rect rect = grid().CellRect(col, row);
    grid().Paint(canvas, active);
    for (const auto& call : canvas.CallsOf(testing::DrawKind::Text)) {
      if (call.rect == rect) return call;
    }
    ADD_FAILURE() << "no text drawn for " << col << "," << row;
    return {};
  }
  platform::Color LastFillOf(int col, int row) {
    testing::RecordingCanvas canvas;
    grid().Paint(canvas, true);
    platform::Color color;
    for (const auto& call : canvas.CallsOf(testing::DrawKind::FillRect)) {
      if (call.rect == grid().CellRect(col, row)) color = call.color;
    }
    return color;
  }
};

TEST_F(CellDrawing, TaskTextsFollowTheirColumnTitlesStayCentred) {
  form().Values.ColumnAlignments[2] = ALIGNRIGHT;
  EXPECT_EQ(TextOf(2, 1).format.align, TextAlign::Right);
  EXPECT_EQ(TextOf(0, 1).format.align, TextAlign::Center);
  EXPECT_EQ(TextOf(1, 1).format.align, TextAlign::Left);
  EXPECT_EQ(TextOf(2, 0).format.align, TextAlign::Center);
  EXPECT_TRUE(TextOf(1, 1).format.verticalCenter);
  EXPECT_EQ(TextOf(1, 1).text, u"...Click here for new task");
}

TEST_F(CellDrawing, TheHeaderIsBoldOnlyWithTheFlag) {
  EXPECT_FALSE(TextOf(0, 0).font.bold);
  form().SetHeaderTextBold(true);
  EXPECT_TRUE(TextOf(0, 0).font.bold);
  EXPECT_EQ(TextOf(0, 0).font.pixelHeight, 17);
  EXPECT_FALSE(TextOf(0, 1).font.bold);
}

TEST_F(CellDrawing, BackgroundsByRowAndHeaderState) {
  EXPECT_EQ(LastFillOf(1, 2), (platform::Color{255, 255, 255}));
  EXPECT_EQ(LastFillOf(1, 0), (platform::Color{215, 228, 242}));
  grid().SetFixedRows(0);
  EXPECT_EQ(LastFillOf(1, 0), (platform::Color{245, 245, 255}));
}

TEST_F(CellDrawing, TheCurrentCellOfAnInactiveGridKeepsWhiteAndTakesTheHighlightText) {
  Current(1, 2);
  grid().SetCell(1, 2, u"me");
  const testing::DrawCall text = TextOf(1, 2, false);
  EXPECT_EQ(text.color, grid().Colors.highlightText);
}

TEST_F(CellDrawing, AnAmpersandShowsAsItStands) {
  grid().SetCell(1, 2, u"milk & eggs");
  grid().SetCell(1, 0, u"R&D");
  EXPECT_FALSE(TextOf(1, 2).format.showMnemonics);
  EXPECT_EQ(TextOf(1, 2).text, u"milk & eggs");
  EXPECT_FALSE(TextOf(1, 0).format.showMnemonics);
}

TEST_F(CellDrawing, ALineBreakShowsAsAMarkOnTheOneLine) {
  grid().SetCell(1, 2, u"one\r\ntwo\nthree");
  EXPECT_EQ(TextOf(1, 2).text, u"one\u00b6two\u00b6three");
}

}  // namespace
}  // namespace tasklane::mainwindow

namespace tasklane::mainwindow {
namespace {

// A user's few minutes with the table, through the window's own input, and what the file
// holds afterwards.
TEST(UserSession, ClickTypeMoveCopyPasteDeleteAndClose) {
  Program program;
  TToDoForm& form = program.Start();
  auto key = [&](int code, platform::ShiftState shift = {}) { form.FormKeyDown(code, shift); };
  auto type = [&](std::u16string_view text) {
    for (char16_t c : text) form.FormChar(c);
  };
  const platform::Rect cell = form.ToDoGrid.CellRect(1, 2);
  const platform::Point point{30 + 1 + cell.left + 10, 30 + 1 + cell.top + 10};
  form.FormMouseDown(platform::MouseButton::Left, point, {}, false);
  form.FormMouseUp(platform::MouseButton::Left, point, {});
  type(u"Buy milk");
  key(k::Return);
  key(k::Up);
  key('C', ShiftState{.ctrl = true});
  key(k::Down);
  key(k::Down);
  key('V', ShiftState{.ctrl = true});
  key(k::Left);
  type(u"7");
  key(k::Return);
  key(k::Up);
  key(k::Up);
  key(k::Delete);
  form.mnuExit.Click();

  xml::XmlTree saved;
  saved.LoadFromBytes(program.ListFileBytes());
  std::vector<std::u16string> rows;
  xml::XmlElementList& content = saved.Root().Items().ChildNamed(u"ToDoContent")->Items();
  for (int r = 0; r < 3; ++r) {
    std::u16string line;
    for (int c = 0; c < 3; ++c) (line += c ? u"|" : u"") += content.ChildAt(r).Items().ChildAt(c).Value();
    rows.push_back(line);
  }
  EXPECT_EQ(rows, (std::vector<std::u16string>{u"|...Click here for new task|10min", u"|Buy milk|",
                                                u"7|...Click here for new task|"}));
}

}  // namespace
}  // namespace tasklane::mainwindow
