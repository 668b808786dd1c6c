// The table's helpers and the two flags that live in menu items.
#include "mainwindow/Program.h"

namespace tasklane::mainwindow {
namespace {

TEST(DocumentModel, AppendToRowFillsTheFirstEmptyCellAndDropsTheSurplus) {
  Program program;
  TToDoForm& form = program.Start();
  form.AppendToRow(3, u"");
  form.AppendToRow(3, u"b");
  form.AppendToRow(3, u"c");
  form.AppendToRow(3, u"dropped");
  EXPECT_EQ(program.Rows()[3], u" |b|c");
  form.AppendToRow(9, u"beyond");  // kept outside the table until it grows
  EXPECT_EQ(form.ToDoGrid.Cell(0, 9), u"beyond");
  form.ToDoGrid.SetRowCount(10);
  EXPECT_EQ(program.Rows()[9], u"beyond||");
}

TEST(DocumentModel, AlignmentsFollowTheColumnCount) {
  Program program;
  TToDoForm& form = program.Start();
  form.ToDoGrid.SetColCount(5);
  form.ResizeColumnAlignments();
  EXPECT_EQ(form.Values.ColumnAlignments,
            (std::vector<TCellAlignment>{ALIGNCENTER, ALIGNLEFT, ALIGNCENTER, ALIGNLEFT, ALIGNLEFT}));
  form.ToDoGrid.SetColCount(2);
  form.ResizeColumnAlignments();
  EXPECT_EQ(form.Values.ColumnAlignments, (std::vector<TCellAlignment>{ALIGNCENTER, ALIGNLEFT}));
}

// Before a flag is first set, both of its items are hidden and it reads false; the saver
// then writes FALSE, while the grid keeps drawing its lines.
TEST(DocumentModel, FlagsThatWereNeverSetReadFalse) {
  Program program;
  program.WriteListFile("<ToDoList><ColumnInfo><RowCount>1</RowCount><ColumnCount>1</ColumnCount></ColumnInfo>"
                        "</ToDoList>");
  TToDoForm& form = program.Start();
  EXPECT_FALSE(form.HeaderTextBold());
  EXPECT_FALSE(form.DrawGridLines());
  EXPECT_FALSE(form.mnuShowGridLinesAktiv.Visible() || form.mnuShowGridLinesDeaktiv.Visible());
  EXPECT_EQ(form.ToDoGrid.GridLineWidth(), 1);
  program.Close();
  EXPECT_NE(program.ListFileBytes().find("<HeaderTextBold>FALSE</HeaderTextBold>\r\n"
                                         "    <DrawGridLines>FALSE</DrawGridLines>"),
            std::string::npos);
}

TEST(DocumentModel, EitherLanguagesBoldItemCountsWhenReading) {
  Program program;
  TToDoForm& form = program.Start();
  form.mnuMakeTitleBoldDeaktiv.SetVisible(false);
  form.mnuTitleFettAktiv.SetVisible(true);
  EXPECT_TRUE(form.HeaderTextBold());
}

TEST(Shutdown, AFailureWhileClosingIsReportedAndTheWindowClosesAllTheSame) {
  Program program;
  program.Start();
  program.platform.SetWhileProcessingMessages([] { throw std::runtime_error("stuck"); });
  program.Close();
  EXPECT_TRUE(program.platform.Closed());
  EXPECT_EQ(program.ReportPlaces(), (std::vector<std::u16string>{u"FormCloseQuery"}));
  EXPECT_NE(program.platform.Messages()[0].text.find(u"Quillbox team"), std::u16string::npos);
  EXPECT_TRUE(std::filesystem::exists(program.ListFile()));
}

}  // namespace
}  // namespace tasklane::mainwindow
