// The window as screen readers are shown it, and what they are told after each event.
#include "mainwindow/Program.h"

namespace tasklane::mainwindow {
namespace {

namespace k = platform::keys;
using platform::AccessibleChange;
using platform::AccessibleEvent;

class AccessibleViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    program.Start();
    events().clear();
  }
  TToDoForm& form() { return *program.form; }
  AccessibleView& view() { return form().Accessible; }
  std::vector<AccessibleEvent>& events() { return program.platform.AccessibilityEvents(); }
  // The events since the last look, as "change col,row" words.
  std::vector<std::string> Told() {
    std::vector<std::string> told;
    for (const AccessibleEvent& e : events()) {
      const char* names[] = {"focus", "editor", "text", "edit", "caret", "shape", "state"};
      told.push_back(std::string(names[static_cast<int>(e.change)]) + " " + std::to_string(e.col) + "," +
                     std::to_string(e.row));
    }
    events().clear();
    return told;
  }
  std::vector<std::u16string> ButtonNames() {
    std::vector<std::u16string> names;
    for (const auto& button : view().Buttons()) names.push_back(button.name);
    return names;
  }
  Program program;
};

TEST_F(AccessibleViewTest, DescribesTheTableAndTheButtonsAsTheyAreShown) {
  EXPECT_EQ(view().WindowName(), u"Tasklane");
  EXPECT_EQ(view().WindowDescription(), u"");
  ASSERT_TRUE(view().TableShown());
  EXPECT_EQ(view().ColumnCount(), form().ToDoGrid.ColCount());
  EXPECT_EQ(view().CellText(1, 0), form().ToDoGrid.Cell(1, 0));
  EXPECT_EQ(view().CellText(1, 1), u"...Click here for new task");
  EXPECT_EQ(view().CellText(view().ColumnCount(), 1), u"");
  view().SelectCell(1, 1);
  form().mnuRightAlignClick();
  EXPECT_EQ(view().ColumnAlignment(1), ALIGNRIGHT);
  // A cell's place is inside the table's, in window coordinates.
  const platform::Rect cell = view().CellBounds(1, 1);
  EXPECT_TRUE(view().TableBounds().Contains({cell.left, cell.top}));
  EXPECT_EQ(ButtonNames(), (std::vector<std::u16string>{u"To make small click on the red bar", u"Make small",
                                                        u"Minimize", u"Exit", u"Add Row", u"Delete Row",
                                                        u"Add Column", u"Delete Column"}));

  const int rows = view().RowCount();
  view().PressButton(view().Buttons()[4].id);
  EXPECT_EQ(view().RowCount(), rows + 1);
  view().PressButton(0);
  program.platform.RunTimers(40);
  EXPECT_TRUE(view().Folded());
  EXPECT_FALSE(view().TableShown());
  EXPECT_EQ(view().WindowDescription(), u"Folded");
  EXPECT_EQ(ButtonNames().front(), u"To make big click on the red bar");
  EXPECT_EQ(Told().back(), "state -1,-1");
}

TEST_F(AccessibleViewTest, TellsOfTheFocusTheEditorAndTheTexts) {
  form().SetActiveControl(&form().ToDoGrid);
  view().SelectCell(1, 2);
  EXPECT_EQ(Told(), std::vector<std::string>{"focus 1,2"});
  form().FormKeyDown(k::Down, {});
  EXPECT_EQ(Told(), std::vector<std::string>{"focus 1,3"});

  form().FormChar(u'a');
  EXPECT_EQ(Told(), std::vector<std::string>{"editor 1,3"});
  form().FormChar(u'b');
  ASSERT_EQ(events().size(), 2u);
  EXPECT_EQ(events()[0].inserted, u"b");
  EXPECT_EQ(events()[0].position, 1);
  EXPECT_EQ(Told(), (std::vector<std::string>{"edit 1,3", "caret 1,3"}));
  view().ReplaceEditorText(0, 1, u"xy");
  ASSERT_FALSE(events().empty());
  EXPECT_EQ(events()[0].removed, u"a");
  EXPECT_EQ(events()[0].inserted, u"xy");
  EXPECT_EQ(view().EditorText(), u"xyb");
  events().clear();

  // Closing the editor tells of the row's cells once, then of the focus back on the cell.
  form().FormKeyDown(k::Return, {});
  const std::vector<std::string> closed = Told();
  EXPECT_EQ(closed.back(), "focus 1,3");
  EXPECT_EQ(std::count(closed.begin(), closed.end(), "text 1,3"), 1);
  EXPECT_EQ(view().CellText(1, 3), u"xyb");

  view().PressButton(view().Buttons()[6].id);  // Add Column
  ASSERT_FALSE(events().empty());
  EXPECT_EQ(Told().front(), "shape -1,-1");
}

// A reader's requests act only where a click would: never on the title row, never behind a
// message box. A window that loses the keyboard sends the reader nowhere; getting it back
// names the current cell.
TEST_F(AccessibleViewTest, RequestsActWhereAClickWouldAndTheFocusFollowsTheWindow) {
  form().SetActiveControl(&form().ToDoGrid);
  view().SelectCell(1, 2);
  view().SelectCell(1, 0);
  EXPECT_EQ(view().CurrentRow(), 2);
  program.platform.takesInput = false;
  const int rows = view().RowCount();
  view().SelectCell(1, 1);
  view().PressButton(view().Buttons()[4].id);  // Add Row
  EXPECT_EQ(view().CurrentRow(), 2);
  EXPECT_EQ(view().RowCount(), rows);
  program.platform.takesInput = true;

  form().FormChar(u'a');
  Told();
  form().ToDoGrid.SetFocused(false);
  view().TellChanges();
  for (const std::string& told : Told()) EXPECT_NE(told.substr(0, 5), "focus") << told;
  form().ToDoGrid.SetFocused(true);
  view().TellChanges();
  EXPECT_EQ(Told(), std::vector<std::string>{"focus 1,2"});
}

}  // namespace
}  // namespace tasklane::mainwindow
