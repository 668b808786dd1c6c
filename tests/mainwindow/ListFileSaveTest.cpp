// Saving the list file: what it holds, and that no failure loses the list.
#include "mainwindow/Program.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace tasklane::mainwindow {
namespace {

using platform::MessageIcon;
using platform::Rect;
using testing::FaultyFiles;
using Op = FaultyFiles::Operation;

std::vector<std::filesystem::path> FolderContent(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(SaveList, EveryValueComesBackAtTheNextStart) {
  Program first;
  TToDoForm& form = first.Start();
  form.ToDoGrid.SetColCount(4);
  form.ResizeColumnAlignments();
  form.Values.ColumnAlignments[3] = ALIGNRIGHT;
  form.ToDoGrid.SetCell(3, 0, u"Wer?");
  const std::u16string awkward = u"F\u00fcr & <alle> \"x\" 'y' \u20ac \U0001F600 \t tab";
  form.ToDoGrid.SetCell(1, 2, awkward);
  form.ToDoGrid.SetCell(0, 3, u"line\r\nbreak");
  form.ToDoGrid.SetCell(2, 4, u"   ");
  form.ToDoGrid.SetColWidth(3, 77);
  form.SetHeaderTextBold(true);
  form.SetDrawGridLines(false);
  form.SetBounds(300, 200, 500, 400);
  first.Close();

  Program second;
  second.WriteListFile(first.ListFileBytes());
  TToDoForm& again = second.Start();
  EXPECT_TRUE(second.platform.Messages().empty());
  EXPECT_EQ(second.platform.WindowBounds(), Rect::FromBounds(300, 200, 500, 400));
  EXPECT_EQ(again.ToDoGrid.ColCount(), 4);
  EXPECT_EQ(again.ToDoGrid.RowCount(), 6);
  EXPECT_EQ(again.ToDoGrid.ColWidth(3), 77);
  EXPECT_EQ(again.Values.ColumnAlignments, (std::vector<TCellAlignment>{ALIGNCENTER, ALIGNLEFT, ALIGNCENTER, ALIGNRIGHT}));
  EXPECT_TRUE(again.HeaderTextBold());
  EXPECT_FALSE(again.DrawGridLines());
  EXPECT_EQ(again.ToDoGrid.Cell(3, 0), u"Wer?");
  EXPECT_EQ(again.ToDoGrid.Cell(1, 2), awkward);
  EXPECT_EQ(again.ToDoGrid.Cell(0, 3), u"line\r\nbreak");
  // Empty and blank cells come back as one blank: blank content reads as empty, and an
  // empty text takes its cell as " ".
  EXPECT_EQ(again.ToDoGrid.Cell(2, 4), u" ");
  EXPECT_EQ(again.ToDoGrid.Cell(0, 5), u" ");
  for (unsigned char c : first.ListFileBytes()) ASSERT_LT(c, 128u);
}

// However wide the commands made a list, it comes back whole.
TEST(SaveList, AWideListComesBackWhole) {
  Program first;
  TToDoForm& form = first.Start();
  form.ToDoGrid.SetColCount(1'001);
  form.ResizeColumnAlignments();
  form.ToDoGrid.SetCell(1'000, 0, u"last");
  form.ToDoGrid.SetCell(1'000, 5, u"far");
  first.Close();

  Program second;
  second.WriteListFile(first.ListFileBytes());
  TToDoForm& again = second.Start();
  EXPECT_TRUE(second.platform.Messages().empty());
  EXPECT_EQ(again.ToDoGrid.ColCount(), 1'001);
  EXPECT_EQ(again.ToDoGrid.Cell(1'000, 0), u"last");
  EXPECT_EQ(again.ToDoGrid.Cell(1'000, 5), u"far");
}

TEST(SaveList, AFoldedWindowSavesTheRectangleItUnfoldsTo) {
  Program program;
  TToDoForm& form = program.Start();
  form.Values.UnfoldedClientWidth = 370;
  form.Values.FoldState = Folded;
  form.SetBounds(1510 + 340, 434, 30, 211);
  program.Close();
  EXPECT_NE(program.ListFileBytes().find("<Left>1510</Left>\r\n    <Top>434</Top>\r\n    <Width>370</Width>"),
            std::string::npos);
}

TEST(SaveList, WritesTheTemporaryFileThenPutsItInPlace) {
  Program program;
  program.Start();
  program.platform.FileSystem().ClearCalls();
  program.Close();
  const auto& calls = program.platform.FileSystem().Calls();
  // The list file's stamp is looked at before it is replaced, and taken again after.
  ASSERT_EQ(calls.size(), 6u);
  EXPECT_EQ(calls[0].operation, Op::ClearReadOnly);
  EXPECT_EQ(calls[0].path, program.platform.Folder() / "ToDoList.xml");
  EXPECT_EQ(calls[1].operation, Op::FinalTarget);
  EXPECT_EQ(calls[2].operation, Op::WriteWhole);
  const std::u16string temporary = calls[2].path.filename().u16string();
  EXPECT_EQ(temporary, u"ToDoList~tmp~backup~{00000000-0000-0000-0000-000000000001}");
  EXPECT_EQ(calls[2].path.parent_path(), program.platform.Folder());
  EXPECT_EQ(calls[3].operation, Op::Stamp);
  EXPECT_EQ(calls[4].operation, Op::Replace);
  EXPECT_EQ(calls[4].path, calls[2].path);
  EXPECT_EQ(calls[4].to, program.platform.Folder() / "ToDoList.xml");
  EXPECT_TRUE(calls[4].path.is_absolute());
  EXPECT_EQ(calls[5].operation, Op::Stamp);
}

// A list kept in a synchronised folder through a link (here a chain of two, one of them
// relative) stays reachable through it; the file at the end of the chain is replaced.
TEST(SaveList, AListThatIsALinkStaysOneAndItsFileIsReplaced) {
#ifdef _WIN32
  GTEST_SKIP() << "symbolic links and mode bits are POSIX's";
#endif
  Program program;
  const std::filesystem::path folder = program.platform.Folder();
  std::filesystem::create_directory(folder / "sync");
  std::ofstream(folder / "sync" / "list.xml") << "<ToDoList/>";
  std::filesystem::create_symlink(folder / "sync" / "list.xml", folder / "chain");
  std::filesystem::create_symlink("chain", program.ListFile());
  program.Start();
  program.Close();
  EXPECT_EQ(program.platform.Messages().size(), 4u);  // the empty list's sections only
  ASSERT_TRUE(std::filesystem::is_symlink(program.ListFile()));
  EXPECT_EQ(std::filesystem::read_symlink(program.ListFile()), "chain");
  EXPECT_NE(program.ListFileBytes().find("<RowCount>5</RowCount>"), std::string::npos);
  EXPECT_EQ(FolderContent(folder), (std::vector<std::filesystem::path>{"ToDoList.xml", "chain", "sync"}));
  EXPECT_EQ(FolderContent(folder / "sync"), (std::vector<std::filesystem::path>{"list.xml"}));
}

// A link whose file is missing is written where it leads, when that folder exists.
TEST(SaveList, ALinkToAMissingFileCreatesItOnlyInAFolderThatExists) {
#ifdef _WIN32
  GTEST_SKIP() << "symbolic links and mode bits are POSIX's";
#endif
  Program program;
  const std::filesystem::path folder = program.platform.Folder();
  std::filesystem::create_directory(folder / "sync");
  std::filesystem::create_symlink("sync/list.xml", program.ListFile());
  program.Start();
  program.Close();
  EXPECT_TRUE(program.platform.Messages().empty());
  EXPECT_TRUE(std::filesystem::is_symlink(program.ListFile()));
  EXPECT_NE(program.ListFileBytes().find("<RowCount>5</RowCount>"), std::string::npos);

  Program gone;
  std::filesystem::create_symlink("gone/list.xml", gone.ListFile());
  gone.Start();
  gone.Close();
  ASSERT_EQ(gone.platform.Messages().size(), 1u);
  EXPECT_EQ(gone.platform.Messages()[0].title, u"Error at saving");
  EXPECT_EQ(std::filesystem::read_symlink(gone.ListFile()), "gone/list.xml");
  EXPECT_EQ(FolderContent(gone.platform.Folder()), (std::vector<std::filesystem::path>{"ToDoList.xml"}));
}

TEST(SaveList, AReadOnlyListIsMadeWritableAndReplaced) {
  Program program;
  program.WriteListFile("<ToDoList/>");
  std::filesystem::permissions(program.ListFile(), std::filesystem::perms::owner_read);
  program.Start();
  program.Close();
  EXPECT_TRUE(program.platform.Messages().size() >= 1);  // the empty list's section reports
  EXPECT_NE(program.ListFileBytes().find("<RowCount>5</RowCount>"), std::string::npos);
}

class SaveFailure : public ::testing::Test {
 protected:
  void SetUp() override {
    program_.WriteListFile(old_);
    program_.Start();
    ASSERT_EQ(program_.platform.Messages().size(), 4u);  // "<ToDoList/>" has no sections
  }
  // The one box a failed save shows, checked in full.
  void ExpectSaveErrorBox(std::u16string_view firstLine) {
    const auto& messages = program_.platform.Messages();
    ASSERT_EQ(messages.size(), 5u);
    const testing::ShownMessage& box = messages.back();
    EXPECT_EQ(box.title, u"Error at saving");
    EXPECT_EQ(box.text, std::u16string(firstLine) + (program_.platform.Folder() / "ToDoList.xml").u16string() +
                            u"\r\nIt is not possible to save!");
    EXPECT_EQ(box.icon, MessageIcon::Error);
    EXPECT_TRUE(box.ownerless);
    EXPECT_FALSE(box.windowTopMost);
    EXPECT_TRUE(program_.platform.TopMost());
    EXPECT_EQ(program_.ListFileBytes(), old_);
  }
  std::vector<std::filesystem::path> Temporaries() {
    std::vector<std::filesystem::path> found;
    for (const auto& name : FolderContent(program_.platform.Folder())) {
      if (name.string().starts_with("ToDoList~tmp~backup~")) found.push_back(name);
    }
    return found;
  }

  const std::string old_ = "<ToDoList/>";
  Program program_;
};

TEST_F(SaveFailure, AFolderThatTakesNoFileKeepsTheOldList) {
  program_.platform.FileSystem().FailAlways(Op::WriteWhole);
  program_.Close();
  ExpectSaveErrorBox(u"Cannot save this file correctly: \r\n");
  EXPECT_TRUE(program_.platform.Closed());
}

TEST_F(SaveFailure, ADiskThatFillsUpLeavesNoPartOfTheTemporaryFile) {
  program_.platform.FileSystem().SetHalfWriteOnFault(true);
  program_.platform.FileSystem().FailNext(Op::WriteWhole);
  program_.Close();
  ExpectSaveErrorBox(u"Cannot save this file correctly: \r\n");
  EXPECT_TRUE(Temporaries().empty());
}

TEST_F(SaveFailure, NoGuidNoSave) {
  program_.platform.SetNewGuidFails(true);
  program_.Close();
  ExpectSaveErrorBox(u"Cannot save this file correctly: \r\n");
}

// Replacing may fail where the list file is locked; the complete temporary file then holds
// the user's list and stays.
TEST_F(SaveFailure, ALockedListKeepsTheCompleteTemporaryFile) {
  program_.platform.FileSystem().FailAlways(Op::Replace);
  program_.Close();
  ExpectSaveErrorBox(u"Cannot save this file correctly: \r\n");
  const auto temporaries = Temporaries();
  ASSERT_EQ(temporaries.size(), 1u);
  xml::XmlTree kept;
  kept.LoadFromFile(program_.platform.Folder() / temporaries[0]);
  EXPECT_NE(kept.Root().Items().ChildNamed(u"ToDoContent"), nullptr);
}

// Only the folder's flush failed: the new list is in place, and no box may say otherwise.
TEST_F(SaveFailure, AnUnconfirmedReplacementIsNoFailedSave) {
  program_.platform.FileSystem().SetMoveOnReplaceFault(true);
  program_.platform.FileSystem().FailNext(Op::Replace);
  program_.Close();
  EXPECT_EQ(program_.platform.Messages().size(), 4u);
  EXPECT_NE(program_.ListFileBytes().find("<RowCount>5</RowCount>"), std::string::npos);
  EXPECT_TRUE(Temporaries().empty());
}

TEST_F(SaveFailure, WriteProtectionThatStaysIsNamedAsTheReason) {
  program_.platform.FileSystem().FailAlways(Op::ClearReadOnly);
  program_.platform.FileSystem().FailAlways(Op::Replace);
  program_.Close();
  ExpectSaveErrorBox(u"Cannot remove write protection of file: \r\n");
}

TEST_F(SaveFailure, WriteProtectionThatCannotBeClearedButDoesNotMatterIsNoFailure) {
  program_.platform.FileSystem().FailAlways(Op::ClearReadOnly);
  program_.Close();
  EXPECT_EQ(program_.platform.Messages().size(), 4u);
  EXPECT_NE(program_.ListFileBytes(), old_);
}

// A tree that could not be built completely must not replace the list that is there.
TEST_F(SaveFailure, ATreeThatCannotBeBuiltKeepsTheOldList) {
  program_.platform.FileSystem().ClearCalls();
  program_.platform.SetWindowBoundsFails(true);
  program_.Close();
  EXPECT_EQ(program_.ReportPlaces().back(), u"XMLsaveToDoList-create XML Node");
  EXPECT_EQ(program_.ListFileBytes(), old_);
  EXPECT_TRUE(Temporaries().empty());
}

TEST(SaveList, TheGermanBoxSpeaksGerman) {
  Program program;
  program.platform.SetLanguageResource(u"DEUTSCH");
  program.Start(false);
  program.platform.FileSystem().FailAlways(Op::WriteWhole);
  program.Close();
  ASSERT_EQ(program.platform.Messages().size(), 1u);
  EXPECT_EQ(program.platform.Messages()[0].title, u"Fehler beim Speichern");
  EXPECT_EQ(program.platform.Messages()[0].text,
            u"Problem bei speichern dieser Datei aufgetreten: \r\n" + (program.platform.Folder() / "ToDoList.xml").u16string() +
                u"\r\nSpeichern nicht m\u00f6glich!");
}

// A list that could not be read may be damaged in one byte only; the first save keeps it.
TEST(SaveList, AnUnreadableListIsKeptBesideTheNewOne) {
  Program program;
  const std::string damaged = "<ToDoList><ColumnInfo></ColumnInf></ToDoList>";
  program.WriteListFile(damaged);
  program.WriteListFile(damaged);
  std::ofstream(program.platform.Folder() / "ToDoList.xml.unreadable") << "older";
  program.Start();
  program.Close();
  EXPECT_EQ(FolderContent(program.platform.Folder()),
            (std::vector<std::filesystem::path>{"ToDoList.xml", "ToDoList.xml.unreadable", "ToDoList.xml.unreadable.2"}));
  std::ifstream kept(program.platform.Folder() / "ToDoList.xml.unreadable.2", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), damaged);
  EXPECT_NE(program.ListFileBytes().find("<RowCount>5</RowCount>"), std::string::npos);

  // A list read without a failure is replaced as it is.
  Program readable;
  readable.WriteListFile("<ToDoList/>");
  readable.Start();
  readable.Close();
  EXPECT_EQ(FolderContent(readable.platform.Folder()), (std::vector<std::filesystem::path>{"ToDoList.xml"}));
}

// An unreadable list that cannot be copied is moved aside; where even that fails the new
// list replaces it, so that the next close is no failure again.
TEST(SaveList, AnUnreadableListThatCannotBeCopiedDoesNotStopSaving) {
  for (const bool renameFails : {false, true}) {
    SCOPED_TRACE(renameFails ? "rename fails" : "rename works");
    Program program;
    program.WriteListFile("<ToDoList><a></b></ToDoList>");
    program.Start();
    program.platform.FileSystem().FailAlways(Op::Copy);
    if (renameFails) program.platform.FileSystem().FailAlways(Op::Rename);
    program.Close();
    EXPECT_NE(program.ListFileBytes().find("<RowCount>5</RowCount>"), std::string::npos);
    EXPECT_TRUE(program.platform.Messages().empty() ||
                program.platform.Messages().back().title != u"Error at saving");
    const auto expected = renameFails ? std::vector<std::filesystem::path>{"ToDoList.xml"}
                                      : std::vector<std::filesystem::path>{"ToDoList.xml", "ToDoList.xml.unreadable"};
    EXPECT_EQ(FolderContent(program.platform.Folder()), expected);
  }
}

// A list file whose mode lets nobody read it: the new list is readable by its owner again.
TEST(SaveList, AListWithoutReadPermissionIsReplacedByAReadableOne) {
#ifdef _WIN32
  GTEST_SKIP() << "mode bits are POSIX's";
#else
  if (::geteuid() == 0) GTEST_SKIP() << "root reads any file";
  Program program;
  program.WriteListFile("<ToDoList/>");
  std::filesystem::permissions(program.ListFile(), std::filesystem::perms::none);
  program.Start();
  program.Close();
  EXPECT_NE(program.ListFileBytes().find("<RowCount>5</RowCount>"), std::string::npos);
  const auto perms = std::filesystem::status(program.ListFile()).permissions();
  EXPECT_NE(perms & std::filesystem::perms::owner_read, std::filesystem::perms::none);
  EXPECT_TRUE(std::filesystem::exists(program.platform.Folder() / "ToDoList.xml.unreadable"));
#endif
}

}  // namespace
}  // namespace tasklane::mainwindow
