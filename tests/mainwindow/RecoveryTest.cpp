// The recovery journal over whole runs: changes come back after a crash, and a journal that
// belongs elsewhere, cannot be read or is another Tasklane's is never applied or lost.
#include "mainwindow/Program.h"

namespace tasklane::mainwindow {
namespace {

namespace fs = std::filesystem;
using Op = testing::FaultyFiles::Operation;

const std::u16string restored =
    u"Tasklane did not close properly last time. Your changes since then have been restored.";

class Recovery : public ::testing::Test {
 protected:
  TToDoForm& form() { return *program.form; }
  void Flush() { program.platform.TickTimer(TToDoForm::recoveryTimerId); }
  // The program dies: nothing is saved or cleaned up, and its locks are let go.
  void Crash() { program.form.reset(); }
  fs::path Journal() const { return program.platform.Folder() / "ToDoList.xml.recovery"; }
  void Type(int col, int row, std::u16string_view text) {
    form().ToDoGrid.SetSelection({col, row, col, row});
    for (char16_t c : text) form().ToDoGrid.Char(c);
    form().ToDoGrid.KeyDown(platform::keys::Return, {});
  }
  std::vector<std::u16string> MessageTexts() const {
    std::vector<std::u16string> texts;
    for (const auto& message : program.platform.Messages()) texts.push_back(message.text);
    return texts;
  }
  Program program;
};

TEST_F(Recovery, EveryKindOfChangeComesBackAfterACrash) {
  program.Start();
  Type(1, 2, u"milk & \u00e9clairs");
  form().mnuAddRowClick();
  form().mnuAddColumnClick();
  form().ToDoGrid.SetCell(3, 0, u"Who");
  form().ToDoGrid.SetColWidth(0, 77);  // the second column takes up what the others leave
  form().ToDoGrid.SetSelection({0, 1, 0, 1});
  form().mnuRightAlignClick();
  form().mnuMakeTitleBoldClick();
  form().mnuShowGridLinesClick();
  form().SetBounds(300, 200, 500, 400);
  Flush();
  const std::vector<std::u16string> rows = program.Rows();
  const std::vector<TCellAlignment> alignments = form().Values.ColumnAlignments;
  Crash();

  program.Start();
  EXPECT_EQ(program.Rows(), rows);
  EXPECT_EQ(form().ToDoGrid.ColWidth(0), 77);
  EXPECT_EQ(form().Values.ColumnAlignments, alignments);
  EXPECT_TRUE(form().HeaderTextBold());
  EXPECT_FALSE(form().DrawGridLines());
  EXPECT_EQ(program.platform.WindowBounds(), platform::Rect::FromBounds(300, 200, 500, 400));
  ASSERT_FALSE(program.platform.Messages().empty());
  EXPECT_EQ(program.platform.Messages().back().text, restored);

  // A clean end saves the recovered list and leaves nothing to recover.
  program.Close();
  EXPECT_NE(program.ListFileBytes().find("milk &amp; &#xE9;clairs"), std::string::npos);
  EXPECT_FALSE(fs::exists(Journal()));
}

// Removing a row empties it: recovered, it must not bring its texts back when a row is added.
TEST_F(Recovery, ARemovedRowStaysRemoved) {
  program.Start();
  Type(1, 5, u"gone");
  Flush();
  Crash();
  program.Start();
  program.platform.PushAnswer(platform::MessageAnswer::Yes);
  form().mnuDeleteRowClick();
  Flush();
  Crash();
  program.Start();
  EXPECT_EQ(form().ToDoGrid.RowCount(), 5);
  form().mnuAddRowClick();
  EXPECT_EQ(program.Rows()[5], u"||");
}

TEST_F(Recovery, ARunWithoutChangesMakesNoJournal) {
  program.Start();
  program.platform.RunTimers(20);
  EXPECT_FALSE(fs::exists(Journal()));
  program.Close();
  EXPECT_FALSE(fs::exists(Journal()));
}

// The user put another ToDoList.xml in place, or the journal is damaged: it is not applied,
// but kept under a name of its own, and the notice says where.
TEST_F(Recovery, AJournalThatDoesNotFitIsKeptAside) {
  program.Start();
  Type(1, 1, u"lost?");
  Flush();
  Crash();
  program.WriteListFile("<ToDoList/>");
  program.Start();
  EXPECT_EQ(program.Rows()[1].find(u"lost?"), std::u16string::npos);
  const fs::path unused = program.platform.Folder() / "ToDoList.xml.recovery.unused";
  EXPECT_TRUE(fs::exists(unused));
  EXPECT_NE(MessageTexts().back().find(unused.u16string()), std::u16string::npos);
  Crash();

  std::ofstream(Journal(), std::ios::binary) << "not a journal";
  program.Start();
  const fs::path unreadable = program.platform.Folder() / "ToDoList.xml.recovery.unreadable";
  EXPECT_TRUE(fs::exists(unreadable));
  EXPECT_NE(MessageTexts().back().find(unreadable.u16string()), std::u16string::npos);
  EXPECT_TRUE(fs::exists(unused));
}

TEST_F(Recovery, AFailedSaveKeepsTheJournal) {
  program.Start();
  Type(1, 1, u"kept");
  program.platform.FileSystem().FailAlways(Op::WriteWhole);
  program.Close();  // the change had not reached the journal yet: closing puts it there
  EXPECT_EQ(program.platform.Messages().back().title, u"Error at saving");
  EXPECT_TRUE(fs::exists(Journal()));
  Crash();
  program.platform.FileSystem().HealAll();
  program.Start();
  EXPECT_EQ(program.Rows()[1], u"High|kept|10min");
}

// Another Tasklane on the same list holds the journal: it is neither applied nor removed.
TEST_F(Recovery, AnotherTasklanesJournalIsLeftAlone) {
  program.Start();
  Type(1, 1, u"theirs");
  Flush();
  Crash();
  const std::string journal = program.platform.FileSystem().ReadWhole(Journal());
  const auto other = platform::MakeSystemFiles()->TryLock(program.platform.Folder() / "ToDoList.xml.recovery.lock");
  ASSERT_NE(other, nullptr);
  program.Start();
  EXPECT_EQ(program.Rows()[1], u"High|...Click here for new task|10min");
  Type(1, 2, u"mine");
  Flush();
  program.Close();
  EXPECT_EQ(program.platform.FileSystem().ReadWhole(Journal()), journal);
}

// A journal that cannot be written is said once; the next write that works writes it whole.
TEST_F(Recovery, AFailedWriteIsSaidOnceAndMendedByTheNext) {
  program.Start();
  program.platform.FileSystem().FailAlways(Op::AppendDurably);
  Type(1, 1, u"one");
  Flush();
  Type(1, 2, u"two");
  Flush();
  int notices = 0;
  for (const std::u16string& text : MessageTexts()) notices += text.find(u"cannot write its recovery file") != std::u16string::npos;
  EXPECT_EQ(notices, 1);
  program.platform.FileSystem().HealAll();
  Type(1, 3, u"three");
  Flush();
  Crash();
  program.Start();
  EXPECT_EQ(program.Rows()[1], u"High|one|10min");
  EXPECT_EQ(program.Rows()[3], u"|three|");
}

// A long run of typing does not make the journal grow without bound.
TEST_F(Recovery, TheJournalIsWrittenAnewWhenItGrows) {
  program.Start();
  const std::u16string text(2'000, u'x');
  for (int i = 0; i < 400; ++i) {
    form().ToDoGrid.SetCell(1, 1, text + DecimalText(i));
    Flush();
  }
  EXPECT_LT(fs::file_size(Journal()), 1'100'000u);
  Crash();
  program.Start();
  EXPECT_EQ(form().ToDoGrid.Cell(1, 1), text + u"399");
}

// Another version brought in while the program ran is kept beside ours at the close; one that
// was only touched, or that this run saved itself, is not.
TEST_F(Recovery, AListChangedElsewhereIsKeptBesideOursAtTheClose) {
  program.Start();
  program.Close();
  const std::string saved = program.ListFileBytes();
  program.Start();
  Type(1, 1, u"ours");
  const std::string theirs = saved.substr(0, saved.size() - 12) + "<!--x-->" + saved.substr(saved.size() - 12);
  program.WriteListFile(theirs);
  program.Close();
  const fs::path kept = program.platform.Folder() / "ToDoList (changed elsewhere 2026-03-14 09-05).xml";
  EXPECT_EQ(program.platform.FileSystem().ReadWhole(kept), theirs);
  EXPECT_NE(program.ListFileBytes().find("ours"), std::string::npos);

  program.Start();
  EXPECT_NE(MessageTexts().back().find(u"changed by another program"), std::u16string::npos);
  EXPECT_NE(MessageTexts().back().find(kept.u16string()), std::u16string::npos);
  const std::size_t notices = MessageTexts().size();
  const fs::path list = program.platform.Folder() / "ToDoList.xml";
  fs::last_write_time(list, fs::last_write_time(list) - std::chrono::hours(1));
  program.Close();
  program.Start();
  program.Close();
  EXPECT_EQ(MessageTexts().size(), notices);
  EXPECT_EQ(std::distance(fs::directory_iterator(program.platform.Folder()), fs::directory_iterator()), 3);
}

// When the other version cannot be kept, it stays in place and the journal keeps ours.
TEST_F(Recovery, AVersionThatCannotBeKeptStopsTheSave) {
  program.Start();
  program.Close();
  program.Start();
  Type(1, 1, u"ours");
  program.WriteListFile("<ToDoList/>");
  program.platform.FileSystem().FailNext(Op::WriteWhole, 1);
  program.Close();
  EXPECT_EQ(program.ListFileBytes(), "<ToDoList/>");
  EXPECT_TRUE(fs::exists(Journal()));
}

}  // namespace
}  // namespace tasklane::mainwindow
