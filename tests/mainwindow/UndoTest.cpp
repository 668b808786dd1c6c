// Undo and redo, as rows of a table: a script of keys and commands on the design table, then
// the rows it leaves and the current cell. Script words: @C,R makes a cell current, 'text'
// types it, Enter, F2, Del, ^X, ^V (pastes "XY"), ^Z, ^Y and ^+Z are keys, +row, -row, +col,
// -col and right are the commands.
#include <sstream>

#include "mainwindow/Program.h"

namespace tasklane::mainwindow {
namespace {

namespace k = platform::keys;
using platform::ShiftState;

struct UndoCase {
  const char* name;
  const char* script;
  std::vector<std::u16string> rows;  // the rows that differ from the design table's: "N:text"
  int col, row;                      // the current cell afterwards
  bool editing = false;              // the editor is still open
};

const UndoCase cases[] = {
    {"TypingIsOneStep", "@1,2 'milk' Enter ^Z", {}, 1, 2},
    {"RedoTypesItAgain", "@1,2 'milk' Enter ^Z ^Y", {u"2:|milk|"}, 1, 2},
    {"CtrlShiftZRedoes", "@1,2 'milk' Enter ^Z ^+Z", {u"2:|milk|"}, 1, 2},
    {"TheEditorUndoesItsOwnStepsFirst", "@1,2 'ab' ^V ^Z", {u"2:|ab|"}, 1, 2, true},
    {"AndRedoesThem", "@1,2 'ab' ^V ^Z ^Z ^Y ^Y", {u"2:|abXY|"}, 1, 2, true},
    {"BackToItsOpeningTextTheTableFollows", "@1,2 'a' Enter @1,3 'b' ^Z ^Z", {}, 1, 2},
    {"EditedTextsComeBackOneByOne", "@1,2 F2 'x' Enter @1,2 F2 'y' Enter ^Z", {u"2:|x|"}, 1, 2},
    {"DeletionsRunAsOneStep", "@1,1 F2 'ab' Enter @1,1 F2 Back Back Back ^Z",
     {u"1:High|...Click here for new taskab|10min"}, 1, 1, true},
    {"WholeCellCommandsEachOneStep", "@2,1 ^X @0,1 Del @1,3 ^V ^Z ^Z", {u"1:High|...Click here for new task|"}, 0, 1},
    {"ARemovedRowComesBackWithItsTexts", "@1,5 'last' Enter -row ^Z", {u"5:|last|"}, 1, 5},
    {"AndGoesAgain", "@1,5 'last' Enter -row ^Z ^Y", {u"-5"}, 1, 4},
    {"AnAddedRowIsTakenBack", "+row ^Z", {}, 0, 5},
    {"ARemovedColumnComesBackWithItsTexts", "@2,2 'soon' Enter -col ^Z", {u"2:||soon"}, 2, 2},
    {"AnAddedColumnIsTakenBack", "+col ^Z", {}, 2, 1},
    {"AlignmentIsAStep", "@1,1 right ^Z ^Y", {}, 1, 1},
    {"ANewChangeEndsTheRedo", "@1,2 'a' Enter ^Z @1,3 'b' Enter ^Y", {u"3:|b|"}, 1, 3},
    {"NothingToUndoDoesNothing", "@1,2 ^Z ^Y", {}, 1, 2},
};

void PrintTo(const UndoCase& c, std::ostream* out) { *out << c.script; }

class Undo : public ::testing::TestWithParam<UndoCase> {
 protected:
  void SetUp() override {
    program.Start();
    form().ToDoGrid.SetBounds(platform::Rect::FromBounds(0, 0, 332, 170));
    design = program.Rows();
  }
  TToDoForm& form() { return *program.form; }
  void Run(const std::string& script) {
    std::istringstream words(script);
    for (std::string word; words >> word;) Do(word);
  }
  void Do(const std::string& word) {
    ui::StringGrid& grid = form().ToDoGrid;
    if (word[0] == '@') {
      const int col = word[1] - '0';
      const int row = word[3] - '0';
      grid.SetSelection({col, row, col, row});
    } else if (word[0] == '\'') {
      for (char c : word.substr(1, word.size() - 2)) grid.Char(static_cast<char16_t>(c));
    } else if (word[0] == '^') {
      program.platform.ClipboardService().text = u"XY";
      grid.KeyDown(word.back(), ShiftState{.shift = word[1] == '+', .ctrl = true});
    } else if (word == "Enter") grid.KeyDown(k::Return, {});
    else if (word == "F2") grid.KeyDown(k::F2, {});
    else if (word == "Del") grid.KeyDown(k::Delete, {});
    else if (word == "Back") grid.KeyDown(k::Back, {});
    else if (word == "+row") form().mnuAddRowClick();
    else if (word == "+col") form().mnuAddColumnClick();
    else if (word == "right") form().mnuRightAlignClick();
    else if (word == "-row" || word == "-col") {
      program.platform.PushAnswer(platform::MessageAnswer::Yes);
      word == "-row" ? form().mnuDeleteRowClick() : form().mnuDeleteColumnClick();
    } else FAIL() << "no such script word: " << word;
  }
  Program program;
  std::vector<std::u16string> design;
};

TEST_P(Undo, LeavesTheTableAndTheCurrentCell) {
  const UndoCase& c = GetParam();
  std::vector<std::u16string> expected = design;
  for (const std::u16string& row : c.rows) {
    if (row[0] == u'-') expected.resize(static_cast<std::size_t>(row[1] - u'0'));
    else expected[static_cast<std::size_t>(row[0] - u'0')] = row.substr(2);
  }
  Run(c.script);
  EXPECT_EQ(program.Rows(), expected);
  EXPECT_EQ(form().ToDoGrid.Col(), c.col);
  EXPECT_EQ(form().ToDoGrid.Row(), c.row);
  EXPECT_EQ(form().ToDoGrid.EditorMode(), c.editing);
  EXPECT_EQ(form().Values.ColumnAlignments.size(), static_cast<std::size_t>(form().ToDoGrid.ColCount()));
}

INSTANTIATE_TEST_SUITE_P(Steps, Undo, ::testing::ValuesIn(cases),
                         [](const ::testing::TestParamInfo<UndoCase>& info) { return std::string(info.param.name); });

TEST_F(Undo, AColumnComesBackWithItsAlignmentAndAFoldedWindowHearsNoKeys) {
  Run("@2,1 right -col ^Z");
  EXPECT_EQ(form().Values.ColumnAlignments.back(), ALIGNRIGHT);
  form().ImageRedButtonAufklapperClick();
  form().FormKeyDown('Z', ShiftState{.ctrl = true});
  EXPECT_EQ(program.Rows(), design);
  EXPECT_EQ(form().Values.ColumnAlignments.back(), ALIGNRIGHT);
}

// Many steps back, and the undone state is what the recovery file keeps.
TEST_F(Undo, AHundredStepsBackAndTheRecoveryFileFollows) {
  for (int i = 0; i < 150; ++i) Run("@1,2 ^V Del");
  for (int i = 0; i < 299; ++i) Run("^Z");
  EXPECT_EQ(program.Rows()[2], u"|XY|");
  program.platform.TickTimer(TToDoForm::recoveryTimerId);
  program.form.reset();
  program.Start();
  EXPECT_EQ(program.Rows()[2], u"|XY|");
}

}  // namespace
}  // namespace tasklane::mainwindow
