// The row and column commands and the context menu, used as a user would: through the menu
// the platform offers and the frame's picture buttons.
#include "mainwindow/Program.h"
#include "xml/XmlTree.h"

namespace tasklane::mainwindow {
namespace {

using platform::MessageAnswer;
using platform::MouseButton;

class Commands : public ::testing::Test {
 protected:
  Program program;
  TToDoForm& form = program.Start();
  ui::StringGrid& grid() { return form.ToDoGrid; }

  void Choose(std::u16string name) {
    program.platform.PushMenuChoice(std::move(name));
    RightPressOnGrid();
  }
  void RightPressOnGrid() {
    const platform::Point point{100, 100};
    form.FormMouseDown(MouseButton::Right, point, {.right = true}, false);
    form.FormMouseUp(MouseButton::Right, point, {});
  }
  void ClickPanel(ui::Panel& panel) {
    const platform::Point point{panel.Bounds().left + 4, panel.Bounds().top + 4};
    form.FormMouseMove(point, {});
    form.FormMouseDown(MouseButton::Left, point, {.left = true}, false);
    form.FormMouseUp(MouseButton::Left, point, {});
  }
  const testing::OfferedMenu& LastMenu() { return program.platform.Menus().back(); }
  const testing::OfferedItem& Offered(std::u16string_view name) {
    const testing::OfferedItem* item = LastMenu().Item(name);
    EXPECT_NE(item, nullptr);
    return *item;
  }
};

TEST_F(Commands, RemovingARowAsksOnlyWhenItHoldsTextAndNoKeepsIt) {
  grid().SetRowCount(3);
  grid().SetCell(1, 2, u" \t ");
  form.mnuDeleteRowClick();
  EXPECT_TRUE(program.platform.Messages().empty());
  EXPECT_EQ(grid().RowCount(), 2);

  form.mnuDeleteRowClick();  // the default task row, answered No
  ASSERT_EQ(program.platform.Messages().size(), 1u);
  const testing::ShownMessage& question = program.platform.Messages()[0];
  EXPECT_EQ(question.text, u"Do you really want to delete the row?\r\nContent: High, ...Click here for new task, 10min");
  EXPECT_TRUE(question.confirmation);
  EXPECT_EQ(question.title, u"") << "the platform titles a confirmation";
  EXPECT_EQ(question.icon, platform::MessageIcon::Question);
  EXPECT_EQ(question.buttons, platform::MessageButtons::YesNo);
  EXPECT_FALSE(question.windowTopMost);
  EXPECT_TRUE(program.platform.TopMost());
  EXPECT_EQ(grid().RowCount(), 2);
  EXPECT_EQ(grid().Cell(0, 1), u"High");
}

TEST_F(Commands, TheLastRowsAndTheOnlyColumnGoDownToOneBlankedCell) {
  grid().SetRowCount(2);
  program.platform.PushAnswer(MessageAnswer::Yes);
  form.mnuDeleteRowClick();
  EXPECT_EQ(grid().RowCount(), 1);
  EXPECT_EQ(grid().FixedRows(), 0);
  EXPECT_EQ(grid().Selection(), (ui::GridRect{0, 0, 0, 0}));
  EXPECT_EQ(program.Rows(), (std::vector<std::u16string>{u"Prio|Task|Time"}));

  program.platform.PushAnswer(MessageAnswer::Yes);
  form.mnuDeleteRowClick();
  EXPECT_EQ(program.platform.Messages().back().text, u"Do you really want to delete the row?\r\nContent: Prio, Task, Time");
  EXPECT_EQ(program.Rows(), (std::vector<std::u16string>{u"||"}));

  grid().SetCell(0, 0, u"only");
  form.mnuDeleteColumnClick();  // empty: no question
  form.mnuDeleteColumnClick();
  program.platform.PushAnswer(MessageAnswer::Yes);
  form.mnuDeleteColumnClick();
  EXPECT_EQ(program.platform.Messages().back().text, u"Do you really want to delete the column?\r\nContent: only");
  EXPECT_EQ(grid().ColCount(), 1);
  EXPECT_EQ(program.Rows(), (std::vector<std::u16string>{u""}));
  EXPECT_EQ(form.Values.ColumnAlignments.size(), 1u);
}

TEST_F(Commands, AColumnTakesHalfTheLastOneAndComesBackEmptyAndLeftAligned) {
  ASSERT_EQ(grid().ColWidth(2), 45);
  form.mnuAddColumnClick();
  ASSERT_EQ(grid().ColCount(), 4);
  EXPECT_EQ(grid().ColWidth(2), 21);
  EXPECT_EQ(grid().ColWidth(3), 21);
  EXPECT_EQ(form.Values.ColumnAlignments.back(), ALIGNLEFT);

  grid().SetCell(3, 0, u"Who");
  grid().SetCell(3, 3, u"me");
  form.Values.ColumnAlignments[3] = ALIGNRIGHT;
  program.platform.PushAnswer(MessageAnswer::Yes);
  form.mnuDeleteColumnClick();
  EXPECT_EQ(program.platform.Messages().back().text, u"Do you really want to delete the column?\r\nContent: Who, me");
  EXPECT_EQ(form.Values.ColumnAlignments.size(), 3u);
  form.mnuAddColumnClick();
  EXPECT_EQ(grid().Cell(3, 0), u"");
  EXPECT_EQ(grid().Cell(3, 3), u"");
  EXPECT_EQ(form.Values.ColumnAlignments[3], ALIGNLEFT);
  EXPECT_FALSE(std::filesystem::exists(program.ListFile()));  // only closing saves
}

TEST_F(Commands, ThePictureButtonsRunTheCommands) {
  const int rows = grid().RowCount();
  ClickPanel(form.PanelPlusRow);
  EXPECT_EQ(grid().RowCount(), rows + 1);
  ClickPanel(form.PanelMinusRow);
  EXPECT_EQ(grid().RowCount(), rows);
  ClickPanel(form.PanelPlusColumn);
  EXPECT_EQ(grid().ColCount(), 4);
  ClickPanel(form.PanelMinusColumn);
  EXPECT_EQ(grid().ColCount(), 3);
}

TEST_F(Commands, AnEditorInARemovedRowClosesAndTheCurrentCellStaysInTheTable) {
  const int last = grid().RowCount() - 1;
  grid().SetSelection({1, last, 1, last});
  grid().KeyDown(platform::keys::F2, {});
  ASSERT_TRUE(grid().EditorMode());
  form.mnuDeleteRowClick();
  EXPECT_FALSE(grid().EditorMode());
  EXPECT_EQ(grid().Selection(), (ui::GridRect{1, last - 1, 1, last - 1}));
}

TEST_F(Commands, TheMenuOffersItsItemsInOrderWithPicturesAndTheFlagPairs) {
  RightPressOnGrid();
  ASSERT_EQ(program.platform.Menus().size(), 1u);
  EXPECT_EQ(LastMenu().at, program.platform.CursorPosition());
  std::vector<std::u16string> names;
  for (const auto& item : LastMenu().items) {
    if (item.depth == 0 && item.visible) names.push_back(item.name);
  }
  EXPECT_EQ(names, (std::vector<std::u16string>{
                       u"mnuChangeTitle", u"mnuMakeTitleBoldDeaktiv", u"mnuShowGridLinesAktiv", u"mnuSeperator3",
                       u"mnuThisColumn", u"N1", u"mnuAddRow", u"mnuDeleteRow", u"mnuSeperator4", u"mnuAddColumn",
                       u"mnuDeleteColumn", u"mnuSeperator2", u"mnuSkin", u"N2", u"mnuOpenFolderHere", u"mnuAbout",
                       u"mnuSeparator1", u"mnuExit"}));
  EXPECT_EQ(Offered(u"mnuAddColumn").caption, u"A&dd Column");
  EXPECT_EQ(Offered(u"mnuShowGridLinesAktiv").picture, u"mnuShowGridLinesAktiv.png");
  EXPECT_EQ(Offered(u"mnuRightAlign").caption, u"RightAlign");
  EXPECT_EQ(Offered(u"mnuRightAlign").radioGroup, Offered(u"mnuLeftAlign").radioGroup);
  EXPECT_EQ(Offered(u"mnuNoSkin").caption, u"No Skin");
  EXPECT_FALSE(Offered(u"mnuThisColumn").enabled);  // no current cell after the start
}

TEST_F(Commands, TheColumnSubmenuTicksTheCurrentColumnsAlignment) {
  grid().SetSelection({2, 1, 2, 1});
  form.Values.ColumnAlignments[2] = ALIGNRIGHT;
  RightPressOnGrid();
  EXPECT_TRUE(Offered(u"mnuThisColumn").enabled);
  EXPECT_TRUE(Offered(u"mnuRightAlign").checked);
  EXPECT_FALSE(Offered(u"mnuCenterAlign").checked);
  EXPECT_FALSE(Offered(u"mnuLeftAlign").checked);

  Choose(u"mnuCenterAlign");
  EXPECT_EQ(form.Values.ColumnAlignments[2], ALIGNCENTER);
  EXPECT_TRUE(form.mnuCenterAlign.Checked());
  EXPECT_FALSE(form.mnuRightAlign.Checked());
}

TEST_F(Commands, TheEnglishBuildNeverLimitsTheRowAndColumnItems) {
  grid().SetRowCount(150);
  RightPressOnGrid();
  EXPECT_TRUE(Offered(u"mnuAddRow").enabled);
  grid().SetRowCount(1);
  RightPressOnGrid();
  EXPECT_TRUE(Offered(u"mnuDeleteRow").enabled);
}

TEST(GermanMenu, CaptionsAndLimitsFollowTheTable) {
  Program program;
  TToDoForm& form = program.Start(false);
  ui::StringGrid& grid = form.ToDoGrid;
  auto open = [&] {
    form.FormMouseDown(MouseButton::Right, {100, 100}, {.right = true}, false);
    return program.platform.Menus().back();
  };
  grid.SetRowCount(100);
  grid.SetColCount(1);
  testing::OfferedMenu menu = open();
  EXPECT_EQ(menu.Item(u"mnuAddRow")->caption, u"Neue Zeile hinzuf\u00fcgen");
  EXPECT_EQ(menu.Item(u"mnuThisColumn")->caption, u"Spalte...");
  EXPECT_EQ(menu.Item(u"mnuNoSkin")->caption, u"Kein Skin");
  EXPECT_EQ(menu.Item(u"mnuAbout")->caption, u"\u00dcber Tasklane");
  EXPECT_TRUE(menu.Item(u"mnuTitleFettDeaktiv")->visible);
  EXPECT_FALSE(menu.Item(u"mnuMakeTitleBoldDeaktiv")->visible);
  EXPECT_FALSE(menu.Item(u"mnuAddRow")->enabled);
  EXPECT_TRUE(menu.Item(u"mnuDeleteRow")->enabled);
  EXPECT_TRUE(menu.Item(u"mnuAddColumn")->enabled);
  EXPECT_FALSE(menu.Item(u"mnuDeleteColumn")->enabled);
  grid.SetRowCount(2);
  grid.SetColCount(100);
  menu = open();
  EXPECT_TRUE(menu.Item(u"mnuAddRow")->enabled);
  EXPECT_FALSE(menu.Item(u"mnuDeleteRow")->enabled);
  EXPECT_FALSE(menu.Item(u"mnuAddColumn")->enabled);
  EXPECT_TRUE(menu.Item(u"mnuDeleteColumn")->enabled);
}

TEST_F(Commands, BoldAndGridLinesSwitchTheirPairs) {
  Choose(u"mnuMakeTitleBoldDeaktiv");
  EXPECT_TRUE(form.HeaderTextBold());
  EXPECT_TRUE(form.mnuMakeTitleBoldAktiv.Visible());
  Choose(u"mnuMakeTitleBoldAktiv");
  EXPECT_FALSE(form.HeaderTextBold());
  EXPECT_TRUE(form.mnuMakeTitleBoldDeaktiv.Visible());

  Choose(u"mnuShowGridLinesAktiv");
  EXPECT_EQ(grid().GridLineWidth(), 0);
  EXPECT_TRUE(form.mnuShowGridLinesDeaktiv.Visible());
  Choose(u"mnuShowGridLinesDeaktiv");
  EXPECT_EQ(grid().GridLineWidth(), 1);
}

TEST_F(Commands, WithoutTheBoldSettingTheMenuHasNoBoldItem) {
  form.mnuMakeTitleBoldDeaktiv.SetVisible(false);
  RightPressOnGrid();
  EXPECT_FALSE(Offered(u"mnuMakeTitleBoldDeaktiv").visible);
  EXPECT_FALSE(Offered(u"mnuMakeTitleBoldAktiv").visible);
  EXPECT_FALSE(form.HeaderTextBold());
}

TEST_F(Commands, TitleFolderAboutAndExit) {
  Choose(u"mnuChangeTitle");
  EXPECT_EQ(grid().FixedRows(), 0);
  EXPECT_EQ(grid().Selection(), (ui::GridRect{0, 0, 0, 0}));

  Choose(u"mnuOpenFolderHere");
  EXPECT_EQ(program.platform.BrowsedFiles(),
            std::vector<std::filesystem::path>{form.Values.ProgramFolder / "ToDoList.xml"});

  Choose(u"mnuAbout");
  EXPECT_TRUE(program.platform.TopMost());

  Choose(u"mnuExit");
  EXPECT_TRUE(program.platform.Closed());
}

// A user's session, kept in the saved file.
TEST(CommandSession, RowsColumnsFormattingAndTitlesComeBackAfterClosing) {
  Program first;
  TToDoForm& form = first.Start();
  const int rows = form.ToDoGrid.RowCount();
  auto choose = [&](std::u16string name, platform::Point at = {100, 100}) {
    first.platform.PushMenuChoice(std::move(name));
    form.FormMouseDown(MouseButton::Right, at, {.right = true}, false);
  };
  auto click = [&](int col, int row) {
    const platform::Rect cell = form.ToDoGrid.CellRect(col, row);
    const platform::Point point{31 + cell.left + 3, 31 + cell.top + 3};
    form.FormMouseDown(MouseButton::Left, point, {.left = true}, false);
    form.FormMouseUp(MouseButton::Left, point, {});
  };
  auto type = [&](std::u16string_view text) {
    for (char16_t c : text) form.FormChar(c);
    form.FormKeyDown(platform::keys::Return, {});
  };
  choose(u"mnuAddRow");
  choose(u"mnuAddRow");
  choose(u"mnuAddColumn");
  form.ToDoGrid.ScrollView(true, rows - 1);
  click(1, rows + 1);
  type(u"Water plants");
  click(3, rows + 1);
  type(u"today");
  choose(u"mnuRightAlign");
  choose(u"mnuMakeTitleBoldDeaktiv");
  choose(u"mnuShowGridLinesAktiv");
  choose(u"mnuChangeTitle");
  click(3, 0);
  type(u"When");
  first.Close();

  Program second;
  second.WriteListFile(first.ListFileBytes());
  TToDoForm& again = second.Start();
  EXPECT_TRUE(second.platform.Messages().empty());
  EXPECT_EQ(again.ToDoGrid.RowCount(), rows + 2);
  EXPECT_EQ(again.ToDoGrid.ColCount(), 4);
  EXPECT_EQ(again.ToDoGrid.Cell(1, rows + 1), u"Water plants");
  EXPECT_EQ(again.ToDoGrid.Cell(3, rows + 1), u"today");
  EXPECT_EQ(again.ToDoGrid.Cell(3, 0), u"When");
  EXPECT_EQ(again.ToDoGrid.Cell(0, 0), u"Prio");
  EXPECT_EQ(again.Values.ColumnAlignments, (std::vector<TCellAlignment>{ALIGNCENTER, ALIGNLEFT, ALIGNCENTER, ALIGNRIGHT}));
  EXPECT_TRUE(again.HeaderTextBold());
  EXPECT_FALSE(again.DrawGridLines());
}

}  // namespace
}  // namespace tasklane::mainwindow
