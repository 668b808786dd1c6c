#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/Files.h"

namespace tasklane::platform {
namespace {

namespace fs = std::filesystem;

// A fresh folder of its own for each test, removed afterwards.
class FilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = fs::temp_directory_path() / ("tasklane-" + std::to_string(::getpid()) + "-" +
                                           test->test_suite_name() + "-" + test->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }
  fs::path At(const std::string& name) const { return folder_ / name; }

  // The message of the FileError that `action` throws; a test failure when it throws none.
  template <class Action>
  static std::string FileErrorOf(Action action) {
    try {
      action();
    } catch (const FileError& e) {
      return e.what();
    }
    ADD_FAILURE() << "no FileError thrown";
    return "";
  }

  std::unique_ptr<Files> files_ = MakeSystemFiles();
  fs::path folder_;
};

#define EXPECT_NAMES(message, path) EXPECT_NE((message).find((path).string()), std::string::npos) << (message)

using FilesReadWrite = FilesTest;
using FilesErrors = FilesTest;
using FilesMoving = FilesTest;
using FilesAttributes = FilesTest;
using FilesLinks = FilesTest;

TEST_F(FilesReadWrite, RoundTripsEveryByteValueAndAnEmptyFile) {
  std::string bytes;
  for (int round = 0; round < 3; ++round) {
    for (int b = 0; b < 256; ++b) bytes += static_cast<char>(b);
  }
  bytes += "\r\n\n\r";
  files_->WriteWhole(At("all.bin"), bytes);
  EXPECT_EQ(files_->ReadWhole(At("all.bin")), bytes);
  EXPECT_EQ(fs::file_size(At("all.bin")), bytes.size());

  files_->WriteWhole(At("empty"), "");
  EXPECT_TRUE(files_->FileExists(At("empty")));
  EXPECT_EQ(files_->ReadWhole(At("empty")), "");
}

TEST_F(FilesReadWrite, RoundTripsAFileLargerThanOneReadChunk) {
  std::string bytes(3'000'017, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7 % 251);
  files_->WriteWhole(At("large"), bytes);
  EXPECT_TRUE(files_->ReadWhole(At("large")) == bytes);
}

// Pieces of every size, gathered or not, arrive in order; a producer that fails leaves what
// it wrote so far and its failure.
TEST_F(FilesReadWrite, WritesPiecesInOrderAndPassesAFailureOn) {
  const std::string large(3'000'000, 'L');
  files_->WriteWhole(At("pieces"), [&](const platform::Files::ByteWriter& write) {
    write("a");
    write(large);
    write(std::string(700'000, 'm'));
    write(std::string(700'000, 'n'));
    write("z");
  });
  EXPECT_TRUE(files_->ReadWhole(At("pieces")) == "a" + large + std::string(700'000, 'm') + std::string(700'000, 'n') + "z");

  struct Stop {};
  EXPECT_THROW(files_->WriteWhole(At("stopped"), [&](const platform::Files::ByteWriter& write) {
    write(large);
    throw Stop{};
  }),
               Stop);
  EXPECT_EQ(files_->ReadWhole(At("stopped")).size(), large.size());
}

// What was read stays as it was read when another program cuts the file short afterwards
// (a mapped file would take the process down on its next look at a lost page).
TEST_F(FilesReadWrite, BytesReadOutliveTheFileBeingCutShort) {
  std::string bytes(3'000'017, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7 % 251);
  files_->WriteWhole(At("f"), bytes);
  const std::string read = files_->ReadWhole(At("f"));
  std::filesystem::resize_file(At("f"), 10);
  EXPECT_TRUE(read == bytes);
}

TEST_F(FilesReadWrite, AppendMakesTheFileAndAddsAtItsEnd) {
  files_->AppendDurably(At("journal"), "one ");
  files_->AppendDurably(At("journal"), "two");
  EXPECT_EQ(files_->ReadWhole(At("journal")), "one two");
  EXPECT_NAMES(FileErrorOf([&] { files_->AppendDurably(At("missing") / "x", "y"); }), At("missing") / "x");
}

// A lock is refused to a second holder, this process's own included, until it is let go.
TEST_F(FilesReadWrite, ALockIsHeldByOneHolderAtATime) {
  std::unique_ptr<platform::FileLock> first = files_->TryLock(At("lock"));
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(files_->TryLock(At("lock")), nullptr);
  first.reset();
  EXPECT_NE(files_->TryLock(At("lock")), nullptr);
}

TEST_F(FilesReadWrite, WriteTruncatesALongerFile) {
  files_->WriteWhole(At("f"), std::string(1000, 'x'));
  files_->WriteWhole(At("f"), "short");
  EXPECT_EQ(files_->ReadWhole(At("f")), "short");
}

TEST_F(FilesReadWrite, ExistenceTellsFilesFromFolders) {
  files_->WriteWhole(At("file"), "1");
  fs::create_directory(At("folder"));
  EXPECT_TRUE(files_->FileExists(At("file")));
  EXPECT_FALSE(files_->FolderExists(At("file")));
  EXPECT_FALSE(files_->FileExists(At("folder")));
  EXPECT_TRUE(files_->FolderExists(At("folder")));
  EXPECT_FALSE(files_->FileExists(At("missing")));
  EXPECT_FALSE(files_->FolderExists(At("missing")));
  EXPECT_FALSE(files_->FileExists(At("file") / "below"));
}

TEST_F(FilesErrors, WriteIntoAMissingFolderNamesThePath) {
  const fs::path path = At("missing") / "list.xml";
  const std::string message = FileErrorOf([&] { files_->WriteWhole(path, "x"); });
  EXPECT_NAMES(message, path);
  EXPECT_NE(message.find("Cannot write file"), std::string::npos) << message;
}

TEST_F(FilesErrors, WriteOverAFolderNamesThePathAndKeepsTheFolder) {
  fs::create_directory(At("folder"));
  EXPECT_NAMES(FileErrorOf([&] { files_->WriteWhole(At("folder"), "x"); }), At("folder"));
  EXPECT_TRUE(fs::is_directory(At("folder")));
}

TEST_F(FilesErrors, ReadOfAMissingFileOrAFolderNamesThePath) {
  EXPECT_NAMES(FileErrorOf([&] { files_->ReadWhole(At("missing")); }), At("missing"));
  fs::create_directory(At("folder"));
  EXPECT_NAMES(FileErrorOf([&] { files_->ReadWhole(At("folder")); }), At("folder"));
}

TEST_F(FilesMoving, CopyReplacesAnExistingTargetAndKeepsTheSource) {
  files_->WriteWhole(At("from"), "new");
  files_->WriteWhole(At("to"), "the old and longer content");
  files_->Copy(At("from"), At("to"));
  EXPECT_EQ(files_->ReadWhole(At("to")), "new");
  EXPECT_EQ(files_->ReadWhole(At("from")), "new");
  EXPECT_NAMES(FileErrorOf([&] { files_->Copy(At("missing"), At("to")); }), At("missing"));
}

TEST_F(FilesMoving, ReplaceReplacesOrCreatesTheTargetAndLeavesNoSource) {
  files_->WriteWhole(At("from"), "new");
  files_->WriteWhole(At("to"), "the old and longer content");
  files_->Replace(At("from"), At("to"));
  EXPECT_EQ(files_->ReadWhole(At("to")), "new");
  EXPECT_FALSE(fs::exists(At("from")));

  files_->WriteWhole(At("from"), "newer");
  files_->Replace(At("from"), At("created"));
  EXPECT_EQ(files_->ReadWhole(At("created")), "newer");
  EXPECT_FALSE(fs::exists(At("from")));
}

TEST_F(FilesMoving, ReplaceTakesPathsRelativeToTheCurrentFolder) {
  const fs::path before = fs::current_path();
  fs::current_path(folder_);
  files_->WriteWhole("from", "new");
  EXPECT_NO_THROW(files_->Replace("from", "to"));
  fs::current_path(before);
  EXPECT_EQ(files_->ReadWhole(At("to")), "new");
  EXPECT_FALSE(fs::exists(At("from")));
}

TEST_F(FilesMoving, ReplaceOfAMissingSourceThrowsAndKeepsTheTarget) {
  files_->WriteWhole(At("to"), "old");
  EXPECT_NAMES(FileErrorOf([&] { files_->Replace(At("missing"), At("to")); }), At("missing"));
  EXPECT_EQ(files_->ReadWhole(At("to")), "old");
}

TEST_F(FilesMoving, ReplaceKeepsThePermissionsOfTheReplacedFile) {
#ifdef _WIN32
  GTEST_SKIP() << "symbolic links and mode bits are POSIX's";
#endif
  for (const fs::perms mode : {fs::perms::owner_read | fs::perms::owner_write,
                               fs::perms::owner_all | fs::perms::group_read | fs::perms::others_exec}) {
    files_->WriteWhole(At("to"), "old");
    fs::permissions(At("to"), mode, fs::perm_options::replace);
    files_->WriteWhole(At("from"), "new");
    fs::permissions(At("from"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read,
                    fs::perm_options::replace);
    files_->Replace(At("from"), At("to"));
    EXPECT_EQ(fs::status(At("to")).permissions(), mode);
    EXPECT_EQ(files_->ReadWhole(At("to")), "new");
  }
}

TEST_F(FilesMoving, RenameMovesToAFreeNameAndRefusesAnExistingOne) {
  files_->WriteWhole(At("a"), "A");
  files_->Rename(At("a"), At("b"));
  EXPECT_FALSE(fs::exists(At("a")));
  EXPECT_EQ(files_->ReadWhole(At("b")), "A");

  files_->WriteWhole(At("c"), "C");
  EXPECT_NAMES(FileErrorOf([&] { files_->Rename(At("c"), At("b")); }), At("b"));
  EXPECT_EQ(files_->ReadWhole(At("b")), "A");
  EXPECT_EQ(files_->ReadWhole(At("c")), "C");
}

TEST_F(FilesMoving, DeleteRemovesAFileAndRefusesAMissingOne) {
  files_->WriteWhole(At("f"), "x");
  files_->Delete(At("f"));
  EXPECT_FALSE(fs::exists(At("f")));
  EXPECT_NAMES(FileErrorOf([&] { files_->Delete(At("f")); }), At("f"));
}

TEST_F(FilesAttributes, ClearReadOnlyGivesTheOwnerWriteAccess) {
#ifdef _WIN32
  GTEST_SKIP() << "symbolic links and mode bits are POSIX's";
#endif
  files_->WriteWhole(At("f"), "x");
  fs::permissions(At("f"), fs::perms::owner_read | fs::perms::group_read, fs::perm_options::replace);
  files_->ClearReadOnly(At("f"));
  EXPECT_EQ(fs::status(At("f")).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_NO_THROW(files_->ClearReadOnly(At("missing")));
}

TEST_F(FilesAttributes, ListFolderListsFilesAndFoldersSortedByName) {
  files_->WriteWhole(At("b.txt"), "");
  files_->WriteWhole(At("C"), "");
  fs::create_directory(At("a"));
  files_->WriteWhole(At("a") / "inside", "");
  const std::vector<FolderEntry> entries = files_->ListFolder(folder_);
  std::string listed;
  for (const FolderEntry& e : entries) listed += e.name.string() + (e.isFolder ? "/ " : " ");
  EXPECT_EQ(listed, "C a/ b.txt ");
  EXPECT_NAMES(FileErrorOf([&] { files_->ListFolder(At("missing")); }), At("missing"));
}

TEST_F(FilesLinks, FinalTargetFollowsAbsoluteAndRelativeLinksToTheEnd) {
#ifdef _WIN32
  GTEST_SKIP() << "symbolic links and mode bits are POSIX's";
#endif
  fs::create_directories(At("sync") / "deep");
  files_->WriteWhole(At("sync") / "deep" / "list.xml", "x");
  files_->WriteWhole(At("plain"), "x");
  fs::create_symlink("../sync/deep/list.xml", At("sync") / "relative");
  fs::create_symlink(At("sync") / "relative", At("absolute"));
  fs::create_symlink("absolute", At("list"));
  EXPECT_TRUE(fs::equivalent(files_->FinalTarget(At("list")), At("sync") / "deep" / "list.xml"));
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(files_->FinalTarget(At("list")))));
  EXPECT_EQ(files_->FinalTarget(At("plain")), At("plain"));
  EXPECT_EQ(files_->FinalTarget(At("missing")), At("missing"));
}

TEST_F(FilesLinks, FinalTargetOfADanglingLinkIsWhereItLeads) {
#ifdef _WIN32
  GTEST_SKIP() << "symbolic links and mode bits are POSIX's";
#endif
  fs::create_symlink("gone/list.xml", At("dangling"));
  EXPECT_EQ(files_->FinalTarget(At("dangling")), At("gone/list.xml"));
}

TEST_F(FilesLinks, FinalTargetRefusesALoop) {
#ifdef _WIN32
  GTEST_SKIP() << "symbolic links and mode bits are POSIX's";
#endif
  fs::create_symlink("b", At("a"));
  fs::create_symlink("a", At("b"));
  EXPECT_NAMES(FileErrorOf([&] { files_->FinalTarget(At("a")); }), At("a"));
}

}  // namespace
}  // namespace tasklane::platform
