// Start-up, the start timer and closing, as a user meets them.
#include <fstream>
#include <iterator>

#include "mainwindow/Program.h"
#include "mainwindow/Skins.h"

namespace tasklane::mainwindow {
namespace {

using platform::MessageIcon;
using platform::Rect;
using platform::WindowShow;
using testing::FaultyFiles;

const std::string firstStartFile = Lines({
    "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>",
    "<ToDoList>",
    "  <WindowPosition>",
    "    <Left>1510</Left>",
    "    <Top>434</Top>",
    "    <Width>370</Width>",
    "    <Height>211</Height>",
    "  </WindowPosition>",
    "  <ColumnInfo>",
    "    <RowCount>5</RowCount>",
    "    <ColumnCount>3</ColumnCount>",
    "    <HeaderTextBold>FALSE</HeaderTextBold>",
    "    <DrawGridLines>TRUE</DrawGridLines>",
    "  </ColumnInfo>",
    "  <Skin>",
    "    <SkinName>No Skin</SkinName>",
    "    <SkinPath/>",
    "  </Skin>",
    "  <ColumnHeader>",
    "    <Column>",
    "      <ColumnCaption>Prio</ColumnCaption>",
    "      <ColumnWidth>50</ColumnWidth>",
    "      <ColumnAlignment>CENTER</ColumnAlignment>",
    "    </Column>",
    "    <Column>",
    "      <ColumnCaption>Task</ColumnCaption>",
    "      <ColumnWidth>210</ColumnWidth>",
    "      <ColumnAlignment>LEFT</ColumnAlignment>",
    "    </Column>",
    "    <Column>",
    "      <ColumnCaption>Time</ColumnCaption>",
    "      <ColumnWidth>45</ColumnWidth>",
    "      <ColumnAlignment>CENTER</ColumnAlignment>",
    "    </Column>",
    "  </ColumnHeader>",
    "  <ToDoContent>",
    "    <Column>",
    "      <Text>High</Text>",
    "      <Text>...Click here for new task</Text>",
    "      <Text>10min</Text>",
    "    </Column>",
    "    <Column>", "      <Text/>", "      <Text/>", "      <Text/>", "    </Column>",
    "    <Column>", "      <Text/>", "      <Text/>", "      <Text/>", "    </Column>",
    "    <Column>", "      <Text/>", "      <Text/>", "      <Text/>", "    </Column>",
    "    <Column>", "      <Text/>", "      <Text/>", "      <Text/>", "    </Column>",
    "  </ToDoContent>",
    "</ToDoList>",
});

TEST(StartUp, FirstStartShowsTheDefaultDocumentAndClosingWritesItOnce) {
  Program program;
  TToDoForm& form = program.Start();
  EXPECT_EQ(program.platform.WindowBounds(), Rect::FromBounds(1510, 434, 370, 211));
  EXPECT_TRUE(program.platform.TopMost());
  EXPECT_TRUE(program.platform.WindowVisible());
  EXPECT_EQ(form.Values.ProgramFolder, program.platform.Folder() / "");
  EXPECT_EQ(std::filesystem::current_path(), program.platform.Folder());
  EXPECT_EQ(form.Values.FoldedClientWidth, 30);
  EXPECT_EQ(form.Values.FoldState, Unfolded);
  EXPECT_EQ(program.Rows(), (std::vector<std::u16string>{u"Prio|Task|Time", u"High|...Click here for new task|10min",
                                                          u"||", u"||", u"||", u"||"}));
  EXPECT_EQ(form.Values.ColumnAlignments, (std::vector<TCellAlignment>{ALIGNCENTER, ALIGNLEFT, ALIGNCENTER}));
  EXPECT_FALSE(form.HeaderTextBold());
  EXPECT_TRUE(form.mnuMakeTitleBoldDeaktiv.Visible());
  EXPECT_TRUE(form.DrawGridLines());
  EXPECT_FALSE(form.mnuShowGridLinesDeaktiv.Visible());
  EXPECT_EQ(form.ToDoGrid.Selection(), ui::GridRect{});
  EXPECT_TRUE(program.platform.Messages().empty());
  EXPECT_FALSE(std::filesystem::exists(program.ListFile()));

  form.mnuExit.Click();
  EXPECT_TRUE(program.platform.Closed());
  EXPECT_TRUE(program.platform.Terminated());
  EXPECT_EQ(program.platform.ProcessMessagesCalls(), 1);
  EXPECT_EQ(program.ListFileBytes(), firstStartFile);
  EXPECT_EQ(program.platform.FileSystem().CallCount(FaultyFiles::Operation::Replace), 1);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(program.platform.Folder()), {}), 1)
      << "no temporary file stays behind";
}

TEST(StartUp, TheDefaultDocumentStandsCentredWithHalvesToEven) {
  Program program;
  program.platform.SetPrimaryScreenSize({1366, 768});
  program.Start();
  // (768 - 211) / 2 = 278.5, which goes to the even 278.
  EXPECT_EQ(program.platform.WindowBounds(), Rect::FromBounds(1366 - 370 - 40, 278, 370, 211));
}

TEST(StartUp, OnlyAnExactMinusMFirstArgumentStartsHidden) {
  const struct {
    std::vector<std::u16string> arguments;
    bool hidden;
  } cases[] = {
      {{u"-m"}, true},       {{u"-M"}, false},        {{u"/m"}, false}, {{u"-min"}, false},
      {{u"x", u"-m"}, false}, {{u"-m", u"x"}, true},  {{}, false},
  };
  for (const auto& c : cases) {
    Program program;
    program.platform.SetCommandLineArguments(c.arguments);
    TToDoForm& form = program.Start();
    EXPECT_EQ(form.Values.StartHidden, c.hidden);
    EXPECT_EQ(program.platform.WindowVisible(), !c.hidden);
    // Entering the loop shows the window first; the tick then decides, once.
    EXPECT_EQ(program.platform.ShowCalls().front(), WindowShow::Show);
    EXPECT_FALSE(program.platform.Timer(TToDoForm::startTimerId)->enabled);
  }
}

TEST(StartUp, AFailureEndsStartUpWithOneReportAndTheWindowStaysVisible) {
  Program program;
  program.platform.SetCommandLineArguments({u"-m"});
  program.platform.FileSystem().FailNext(FaultyFiles::Operation::FileExists);
  TToDoForm& form = program.Start();
  ASSERT_EQ(program.platform.Messages().size(), 1u);
  const auto& report = program.platform.Messages()[0];
  EXPECT_EQ(report.title, u"Tasklane");
  EXPECT_EQ(report.text,
            u"Exception in FormCreate: This is - likely - an undiscovered bug!\r\nPlease report the bug to the "
            u"development team at:\r\nbugs@tasklane.org    Thank you!");
  EXPECT_FALSE(program.platform.Timer(TToDoForm::startTimerId)->enabled);
  EXPECT_TRUE(program.platform.WindowVisible());
  EXPECT_FALSE(form.Values.StartHidden);
  EXPECT_EQ(form.Values.FoldState, Starting);
}

TEST(StartUp, AFailingStartTimerTickIsReportedOnce) {
  Program program;
  program.form = std::make_unique<TToDoForm>(program.platform);
  program.form->FormCreate();
  program.platform.SetShowWindowFails(true);
  program.platform.TickTimer(TToDoForm::startTimerId);
  EXPECT_EQ(program.ReportPlaces(), (std::vector<std::u16string>{u"tmrAnwendungsStartOnTimerTimer"}));
  EXPECT_NE(program.platform.Messages()[0].text.find(u"development team"), std::u16string::npos);
  EXPECT_FALSE(program.platform.TickTimer(TToDoForm::startTimerId));  // it ticks once
}

TEST(StartUp, ClosingSavesOnceHoweverTheCloseComes) {
  Program program;
  TToDoForm& form = program.Start();
  EXPECT_TRUE(form.CloseQuery());
  EXPECT_EQ(program.ListFileBytes(), firstStartFile);
  Program second;
  second.Start();
  second.Close();
  EXPECT_EQ(second.platform.FileSystem().CallCount(FaultyFiles::Operation::WriteWhole), 1);
}

TEST(StartUp, AFailingSaveIsReportedAndTheWindowClosesAllTheSame) {
  Program program;
  TToDoForm& form = program.Start();
  form.Values.ColumnAlignments.clear();
  program.platform.SetNewGuidFails(true);
  program.Close();
  EXPECT_TRUE(program.platform.Closed());
  ASSERT_EQ(program.platform.Messages().size(), 1u);
  EXPECT_EQ(program.platform.Messages()[0].title, u"Error at saving");
}

TEST(StartUp, ButtonForFocusWritesTheFirstColumnsWidthIntoItsCaption) {
  Program program;
  TToDoForm& form = program.Start();
  EXPECT_EQ(form.ButtonForFocus.Bounds(), Rect::FromBounds(-100, 48, 75, 25));
  EXPECT_EQ(form.ButtonForFocus.Caption(), u"ButtonForFocus");
  form.ButtonForFocus.Click();
  EXPECT_EQ(form.ButtonForFocus.Caption(), u"50");
}

TEST(Language, TheGermanBuildSpeaksGerman) {
  Program program;
  program.platform.SetLanguageResource(u"DEUTSCH");
  TToDoForm& form = program.Start(false);
  EXPECT_EQ(program.Rows()[0], u"Prio|Aufgabe|Zeit");
  EXPECT_EQ(program.Rows()[1], u"Hoch|...Klicken f\u00fcr neue Aufgabe|10min");
  EXPECT_TRUE(form.mnuTitleFettDeaktiv.Visible());
  EXPECT_FALSE(form.mnuMakeTitleBoldDeaktiv.Visible());
  EXPECT_EQ(form.PanelMinusColumn.Hint(), u"Letzte Spalte entfernen");
  EXPECT_EQ(form.ImageRedButtonAufklapper.Hint(), u"Zum Verkleinern auf den roten Balken klicken");
  EXPECT_TRUE(program.platform.Messages().empty());
}

TEST(Language, AResourceOfTheOtherLanguageIsReportedAndStartUpGoesOn) {
  Program english;
  english.platform.SetLanguageResource(u"DEUTSCH");
  english.Start();
  ASSERT_EQ(english.platform.Messages().size(), 1u);
  EXPECT_EQ(english.platform.Messages()[0].text, u"Wrong constants!\r\n\r\nExpected:  ENGLISH\r\nFound:  DEUTSCH");
  EXPECT_EQ(english.form->PanelMinusColumn.Hint(), u"Delete Column");

  Program german;
  german.platform.SetLanguageResource(u"ENGLISH");
  german.Start(false);
  ASSERT_EQ(german.platform.Messages().size(), 1u);
  EXPECT_EQ(german.platform.Messages()[0].title, u"Tasklane");
  EXPECT_EQ(german.platform.Messages()[0].text, u"Wrong constants!\r\n\r\nExpected:  DEUTSCH\r\nFound:  ENGLISH");
  EXPECT_EQ(german.Rows()[0], u"Prio|Aufgabe|Zeit");
  EXPECT_TRUE(german.platform.WindowVisible());
}

// An installed program: its folder is read-only, and the user has a data folder.
class ListFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    if (windowsPaths) GTEST_SKIP() << "a folder's permissions mean nothing to Windows, whose program keeps its list beside itself";
  }
  std::filesystem::path Bin() const { return program.platform.Folder() / "bin"; }
  std::filesystem::path Data() const { return program.platform.Folder() / "data" / "Tasklane"; }
  void Install() {
    std::filesystem::create_directories(Bin());
    program.platform.SetExecutablePath(Bin() / "tasklane");
    program.platform.SetUserDataFolder(Data());
  }
  void ReadOnly(bool on) {
    std::filesystem::permissions(Bin(), std::filesystem::perms::owner_write,
                                 on ? std::filesystem::perm_options::remove : std::filesystem::perm_options::add);
  }
  void SaveAndClose() { program.form->mnuExit.Click(); }
  Program program;
};

TEST_F(ListFolder, AnInstalledProgramKeepsTheListInAPrivateDataFolderMadeOnTheFirstSave) {
  Install();
  ReadOnly(true);
  TToDoForm& form = program.Start();
  EXPECT_FALSE(std::filesystem::exists(Data())) << "made on first use, not at start";
  form.mnuOpenFolderHere.Click();
  EXPECT_EQ(program.platform.BrowsedFiles(), std::vector<std::filesystem::path>{Data() / "ToDoList.xml"});
  SaveAndClose();
  ReadOnly(false);
  EXPECT_EQ(std::filesystem::status(Data()).permissions() & std::filesystem::perms::all, std::filesystem::perms::owner_all);
  EXPECT_FALSE(std::filesystem::exists(Bin() / "ToDoList.xml"));

  std::ifstream in(Data() / "ToDoList.xml", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), firstStartFile);
}

TEST_F(ListFolder, AProgramFolderTheUserMayWriteKeepsTheListBesideTheProgram) {
  Install();
  program.Start();
  SaveAndClose();
  EXPECT_TRUE(std::filesystem::exists(Bin() / "ToDoList.xml"));
  EXPECT_FALSE(std::filesystem::exists(Data()));
}

// Laid out as the package installs it, the program keeps the list in the data folder even
// where it may write its own (root may write any folder).
TEST_F(ListFolder, AnInstalledLayoutKeepsTheListInTheDataFolderForEveryUser) {
  Install();
  const std::filesystem::path applications = program.platform.Folder() / "share" / "applications";
  std::filesystem::create_directories(applications);
  std::ofstream(applications / "tasklane.desktop") << "[Desktop Entry]\n";
  program.Start();
  SaveAndClose();
  EXPECT_TRUE(std::filesystem::exists(Data() / "ToDoList.xml"));
  EXPECT_FALSE(std::filesystem::exists(Bin() / "ToDoList.xml"));
}

TEST_F(ListFolder, AListBesideACopyNowReadOnlyIsReadFromThereAndSavedToTheDataFolder) {
  Install();
  std::string besideCopy = firstStartFile;
  besideCopy.replace(besideCopy.find("High"), 4, "Kept");
  std::ofstream(Bin() / "ToDoList.xml", std::ios::binary) << besideCopy;
  ReadOnly(true);
  program.Start();
  EXPECT_EQ(program.Rows()[1], u"Kept|...Click here for new task|10min");
  SaveAndClose();
  ReadOnly(false);
  std::ifstream in(Data() / "ToDoList.xml", std::ios::binary);
  EXPECT_NE(std::string(std::istreambuf_iterator<char>(in), {}).find("<Text>Kept</Text>"), std::string::npos);
  EXPECT_TRUE(program.platform.Messages().empty());
}

}  // namespace
}  // namespace tasklane::mainwindow
