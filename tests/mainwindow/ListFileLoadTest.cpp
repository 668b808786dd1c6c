// Loading the list file: what comes back, what each damaged section does, and the reports.
#include "mainwindow/Program.h"

namespace tasklane::mainwindow {
namespace {

using platform::Rect;
using Places = std::vector<std::u16string>;
using RowTexts = std::vector<std::u16string>;

// A list file of two columns and two task rows; each section can be replaced.
struct ListText {
  std::string position =
      "<WindowPosition><Left>200</Left><Top>100</Top><Width>400</Width><Height>300</Height></WindowPosition>";
  std::string info =
      "<ColumnInfo><RowCount>2</RowCount><ColumnCount>2</ColumnCount><HeaderTextBold>TRUE</HeaderTextBold>"
      "<DrawGridLines>FALSE</DrawGridLines></ColumnInfo>";
  std::string skin = "<Skin><SkinName>No Skin</SkinName><SkinPath/></Skin>";
  std::string header =
      "<ColumnHeader><Column><ColumnCaption>A</ColumnCaption><ColumnWidth>80</ColumnWidth>"
      "<ColumnAlignment>RIGHT</ColumnAlignment></Column><Column><ColumnCaption>B</ColumnCaption>"
      "<ColumnWidth>90</ColumnWidth><ColumnAlignment>CENTER</ColumnAlignment></Column></ColumnHeader>";
  std::string content =
      "<ToDoContent><Column><Text>a1</Text><Text>b1</Text></Column><Column><Text>a2</Text><Text>b2</Text>"
      "</Column></ToDoContent>";
  std::string Text() const { return "<ToDoList>" + position + info + skin + header + content + "</ToDoList>"; }
};

std::string Position(int left, int top, int width, int height) {
  return "<WindowPosition><Left>" + std::to_string(left) + "</Left><Top>" + std::to_string(top) + "</Top><Width>" +
         std::to_string(width) + "</Width><Height>" + std::to_string(height) + "</Height></WindowPosition>";
}

Program& Started(Program& program, const std::string& file) {
  program.WriteListFile(file);
  program.Start();
  return program;
}

TEST(LoadList, EverythingComesBack) {
  Program program;
  TToDoForm& form = *Started(program, ListText().Text()).form;
  EXPECT_EQ(program.platform.WindowBounds(), Rect::FromBounds(200, 100, 400, 300));
  EXPECT_EQ(program.Rows(), (RowTexts{u"A|B", u"a1|b1", u"a2|b2"}));
  EXPECT_EQ(form.ToDoGrid.ColWidth(0), 80);
  EXPECT_EQ(form.ToDoGrid.ColWidth(1), 258);  // 90, then the second column fills the grid
  EXPECT_EQ(form.Values.ColumnAlignments, (std::vector<TCellAlignment>{ALIGNRIGHT, ALIGNCENTER}));
  EXPECT_TRUE(form.HeaderTextBold());
  EXPECT_FALSE(form.mnuMakeTitleBoldDeaktiv.Visible());
  EXPECT_FALSE(form.DrawGridLines());
  EXPECT_TRUE(form.mnuShowGridLinesDeaktiv.Visible());
  EXPECT_EQ(form.ToDoGrid.GridLineWidth(), 0);
  EXPECT_EQ(form.Values.CurrentSkinName, u"No Skin");
  EXPECT_EQ(form.Values.CurrentSkinPath, u"");
  EXPECT_EQ(form.ToDoGrid.ScrollBarSetting(), ui::ScrollBars::Both);
  EXPECT_TRUE(program.platform.Messages().empty());
}

TEST(LoadList, OnlyPositionsOnTheVirtualDesktopAreKept) {
  const struct {
    int left, top;
    Rect expected;
  } cases[] = {
      {1909, 100, Rect::FromBounds(1909, 100, 370, 211)},  // D.right - 11: inside
      {1910, 100, Rect::FromBounds(775, 100, 370, 211)},   // D.right - 10: outside, centred
      {-369, 100, Rect::FromBounds(-369, 100, 370, 211)},  // D.left - w + 1: inside
      {-370, 100, Rect::FromBounds(775, 100, 370, 211)},
      {100, 1069, Rect::FromBounds(100, 1069, 370, 211)},
      {100, 1070, Rect::FromBounds(100, 434, 370, 211)},
      {100, -210, Rect::FromBounds(100, -210, 370, 211)},
      {100, -211, Rect::FromBounds(100, 434, 370, 211)},
  };
  for (const auto& c : cases) {
    Program program;
    ListText text;
    text.position = Position(c.left, c.top, 370, 211);
    Started(program, text.Text());
    EXPECT_EQ(program.platform.WindowBounds(), c.expected) << c.left << ", " << c.top;
  }
}

TEST(LoadList, TheVirtualDesktopSpansEveryMonitor) {
  Program program;
  program.platform.SetVirtualDesktop(Rect{-1280, 0, 1920, 1080});
  ListText text;
  text.position = Position(-1000, 100, 370, 211);
  Started(program, text.Text());
  EXPECT_EQ(program.platform.WindowBounds().left, -1000);
}

TEST(LoadList, SizesBelowTheirFloorsGetTheDesignSize) {
  const struct {
    int width, height, expectedWidth, expectedHeight;
  } cases[] = {{29, 49, 370, 211}, {30, 50, 30, 50}, {0, -5, 370, 211}, {999, 888, 999, 888}};
  for (const auto& c : cases) {
    Program program;
    ListText text;
    text.position = Position(100, 100, c.width, c.height);
    Started(program, text.Text());
    EXPECT_EQ(program.platform.WindowBounds(), Rect::FromBounds(100, 100, c.expectedWidth, c.expectedHeight));
  }
}

TEST(LoadList, OnlyExactUpperCaseWordsCount) {
  Program program;
  ListText text;
  text.info =
      "<ColumnInfo><RowCount>2</RowCount><ColumnCount>2</ColumnCount><HeaderTextBold>true</HeaderTextBold>"
      "<DrawGridLines>True</DrawGridLines></ColumnInfo>";
  text.header =
      "<ColumnHeader><Column><ColumnCaption>A</ColumnCaption><ColumnWidth>0</ColumnWidth>"
      "<ColumnAlignment>center</ColumnAlignment></Column><Column><ColumnCaption>B</ColumnCaption>"
      "<ColumnWidth>1</ColumnWidth><ColumnAlignment>Right</ColumnAlignment></Column></ColumnHeader>";
  TToDoForm& form = *Started(program, text.Text()).form;
  EXPECT_FALSE(form.HeaderTextBold());
  EXPECT_TRUE(form.mnuMakeTitleBoldDeaktiv.Visible());
  EXPECT_FALSE(form.DrawGridLines());
  EXPECT_EQ(form.ToDoGrid.GridLineWidth(), 0);
  EXPECT_EQ(form.Values.ColumnAlignments, (std::vector<TCellAlignment>{ALIGNLEFT, ALIGNLEFT}));
  // The fitting after the load raises them further.
  EXPECT_EQ(form.ToDoGrid.ColWidth(0), 20);
  EXPECT_EQ(form.ToDoGrid.ColWidth(1), 336);
  form.Values.FoldState = Starting;  // as during start-up: no layout, no fitting
  form.ToDoGrid.SetColWidth(0, 50);
  form.XMLLaden(form.ListFile());
  EXPECT_EQ(form.ToDoGrid.ColWidth(0), 2);
  EXPECT_EQ(form.ToDoGrid.ColWidth(1), 2);
}

TEST(LoadList, NamesAreFoundInAnyCaseAndEntriesTakenByPosition) {
  Program program;
  std::string file = ListText().Text();
  for (std::string_view name : {"WindowPosition", "ColumnInfo", "RowCount", "Left", "SkinName"}) {
    std::string lower(name);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (std::size_t at; (at = file.find(name)) != std::string::npos;) file.replace(at, name.size(), lower);
  }
  for (std::size_t at; (at = file.find("<Text>")) != std::string::npos;) file.replace(at, 6, "<Cell>");
  for (std::size_t at; (at = file.find("</Text>")) != std::string::npos;) file.replace(at, 7, "</Cell>");
  Started(program, file);
  EXPECT_EQ(program.Rows(), (RowTexts{u"A|B", u"a1|b1", u"a2|b2"}));
  EXPECT_EQ(program.platform.WindowBounds(), Rect::FromBounds(200, 100, 400, 300));
  EXPECT_TRUE(program.platform.Messages().empty());
}

TEST(LoadList, AMissingColumnInfoGivesThreeColumnsAndFiveTaskRows) {
  Program program;
  ListText text;
  text.info.clear();
  TToDoForm& form = *Started(program, text.Text()).form;
  EXPECT_EQ(program.ReportPlaces(), (Places{u"Load ColumnInfo"}));
  EXPECT_EQ(form.ToDoGrid.ColCount(), 3);
  EXPECT_EQ(form.ToDoGrid.RowCount(), 6);
  EXPECT_EQ(program.Rows()[0], u"A|B|");
  EXPECT_EQ(program.Rows()[2], u"a2|b2|");
  EXPECT_FALSE(form.HeaderTextBold());
  EXPECT_TRUE(form.mnuMakeTitleBoldDeaktiv.Visible());
  EXPECT_TRUE(form.DrawGridLines());
  EXPECT_EQ(form.Values.ColumnAlignments.size(), 3u);
}

TEST(LoadList, ACountThatWasReadSurvivesTheFallback) {
  Program program;
  ListText text;
  text.info = "<ColumnInfo><RowCount>7</RowCount><ColumnCount>x</ColumnCount><DrawGridLines>FALSE</DrawGridLines>";
  text.info += "</ColumnInfo>";
  TToDoForm& form = *Started(program, text.Text()).form;
  // "x" reads as -1, a column count the grid raises to one; the second header entry is then
  // one too many.
  EXPECT_EQ(program.ReportPlaces(), (Places{u"Load ColumnHeader"}));
  EXPECT_EQ(form.ToDoGrid.RowCount(), 8);
  EXPECT_EQ(form.ToDoGrid.ColCount(), 1);
  EXPECT_EQ(form.ToDoGrid.ScrollBarSetting(), ui::ScrollBars::Vertical);

  Program missing;
  text.info = "<ColumnInfo><RowCount>7</RowCount></ColumnInfo>";
  TToDoForm& second = *Started(missing, text.Text()).form;
  EXPECT_EQ(missing.ReportPlaces(), (Places{u"Load ColumnInfo"}));
  EXPECT_EQ(second.ToDoGrid.RowCount(), 8);
  EXPECT_EQ(second.ToDoGrid.ColCount(), 3);
}

// Numbers no real list holds must neither crash nor hang the program.
TEST(LoadList, AbsurdNumbersAreBoundedNotObeyed) {
  Program program;
  ListText text;
  text.position = Position(100, 100, 2'000'000'000, 2'000'000'000);
  text.info = "<ColumnInfo><RowCount>99999999999999</RowCount><ColumnCount>2</ColumnCount></ColumnInfo>";
  text.header =
      "<ColumnHeader><Column><ColumnCaption>A</ColumnCaption><ColumnWidth>9223372036854775807</ColumnWidth>"
      "<ColumnAlignment>LEFT</ColumnAlignment></Column></ColumnHeader>";
  TToDoForm& form = *Started(program, text.Text()).form;
  EXPECT_EQ(program.ReportPlaces(), (Places{u"Load ColumnInfo"}));
  EXPECT_EQ(form.ToDoGrid.RowCount(), 6);
  EXPECT_EQ(form.ToDoGrid.ColCount(), 3);
  EXPECT_EQ(form.ToDoGrid.ColWidth(0), 32767);
  EXPECT_EQ(program.platform.WindowBounds(), Rect::FromBounds(100, 100, 32767, 32767));

  // Counts bounded by what a file of a few hundred bytes can hold, 2^31 rows among them.
  for (const char* counts : {"<RowCount>1000</RowCount><ColumnCount>1000000</ColumnCount>",
                             "<RowCount>2147483648</RowCount><ColumnCount>3</ColumnCount>"}) {
    Program declared;
    text.info = std::string("<ColumnInfo>") + counts + "</ColumnInfo>";
    TToDoForm& wide = *Started(declared, text.Text()).form;
    EXPECT_EQ(declared.ReportPlaces(), (Places{u"Load ColumnInfo"})) << counts;
    EXPECT_LE(wide.ToDoGrid.RowCount(), 1'001);
    EXPECT_EQ(wide.ToDoGrid.ColCount(), 3);
  }
}

// Counts at the ends of the 64-bit range: a negative one means the grid's floor of one, a
// positive one is refused, and neither may wrap around in the bound check.
TEST(LoadList, ExtremeCountsFromTheFileAreComparedWithoutOverflow) {
  struct Case {
    std::string rows, cols;
    bool refused;
    int rowCount, colCount;
  };
  const Case cases[] = {
      {"3", "-4611686018427387904", false, 4, 1},
      {"-9223372036854775808", "2", false, 1, 2},
      {"2", "9223372036854775807", true, 3, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rows + " x " + c.cols);
    Program program;
    ListText text;
    text.info = "<ColumnInfo><RowCount>" + c.rows + "</RowCount><ColumnCount>" + c.cols + "</ColumnCount></ColumnInfo>";
    text.header = "<ColumnHeader/>";
    text.content = "<ToDoContent/>";
    TToDoForm& form = *Started(program, text.Text()).form;
    EXPECT_EQ(program.ReportPlaces(), c.refused ? Places{u"Load ColumnInfo"} : Places{});
    EXPECT_EQ(form.ToDoGrid.RowCount(), c.rowCount);
    EXPECT_EQ(form.ToDoGrid.ColCount(), c.colCount);
  }
}

TEST(LoadList, SurplusHeaderEntriesStopTheSectionWithOneReport) {
  Program program;
  ListText text;
  text.info = "<ColumnInfo><RowCount>2</RowCount><ColumnCount>1</ColumnCount></ColumnInfo>";
  TToDoForm& form = *Started(program, text.Text()).form;
  EXPECT_EQ(program.ReportPlaces(), (Places{u"Load ColumnHeader"}));
  EXPECT_EQ(form.ToDoGrid.ColCount(), 1);
  EXPECT_EQ(form.ToDoGrid.ColWidth(0), 338);  // the only column fills the grid
  EXPECT_EQ(program.Rows(), (RowTexts{u"A", u"a1", u"a2"}));
}

TEST(LoadList, AOneColumnTableGetsTheVerticalBarAndTheFocus) {
  Program program;
  ListText text;
  text.info = "<ColumnInfo><RowCount>1</RowCount><ColumnCount>1</ColumnCount></ColumnInfo>";
  text.header = "<ColumnHeader><Column><ColumnCaption>Only</ColumnCaption><ColumnWidth>100</ColumnWidth>"
                "<ColumnAlignment>LEFT</ColumnAlignment></Column></ColumnHeader>";
  text.content = "<ToDoContent><Column><Text>x</Text></Column></ToDoContent>";
  TToDoForm& form = *Started(program, text.Text()).form;
  EXPECT_TRUE(program.platform.Messages().empty());
  EXPECT_EQ(form.ToDoGrid.ScrollBarSetting(), ui::ScrollBars::Vertical);
  EXPECT_EQ(form.ActiveControl, &form.ToDoGrid);
  EXPECT_EQ(program.Rows(), (RowTexts{u"Only", u"x"}));
}

TEST(LoadList, SurplusRowsAreKeptButNeitherShownNorWritten) {
  Program program;
  ListText text;
  text.info = "<ColumnInfo><RowCount>1</RowCount><ColumnCount>2</ColumnCount></ColumnInfo>";
  TToDoForm& form = *Started(program, text.Text()).form;
  EXPECT_EQ(program.Rows(), (RowTexts{u"A|B", u"a1|b1"}));
  EXPECT_EQ(form.ToDoGrid.Cell(0, 2), u"a2");
  program.Close();
  EXPECT_EQ(program.ListFileBytes().find("a2"), std::string::npos);
  EXPECT_NE(program.ListFileBytes().find("a1"), std::string::npos);
}

TEST(LoadList, SkinsThatAreGoneFallBackToNoSkin) {
  Program program;
  ListText text;
  text.skin = "<Skin><SkinName>Gone</SkinName><SkinPath>/nowhere/</SkinPath></Skin>";
  TToDoForm& form = *Started(program, text.Text()).form;
  EXPECT_EQ(form.Values.CurrentSkinName, u"No Skin");
  EXPECT_EQ(form.Values.CurrentSkinPath, u"");
  program.Close();
  EXPECT_NE(program.ListFileBytes().find("<SkinName>No Skin</SkinName>"), std::string::npos);

  Program present;
  std::filesystem::create_directories(present.platform.Folder() / "Skins" / "Blue");
  const std::string base = (present.platform.Folder() / "Skins").string() + "/";
  text.skin = "<Skin><SkinName>Blue</SkinName><SkinPath>" + base + "</SkinPath></Skin>";
  TToDoForm& skinned = *Started(present, text.Text()).form;
  EXPECT_EQ(skinned.Values.CurrentSkinName, u"Blue");
  EXPECT_EQ(skinned.Values.CurrentSkinPath, std::u16string(base.begin(), base.end()));

  Program nameless;
  text.skin = "<Skin><SkinPath>/x/</SkinPath></Skin>";
  TToDoForm& noName = *Started(nameless, text.Text()).form;
  EXPECT_EQ(noName.Values.CurrentSkinName, u"No Skin");  // "/x/" + "" is no folder
  Program noSkin;
  text.skin.clear();
  EXPECT_EQ(Started(noSkin, text.Text()).form->Values.CurrentSkinName, u"");
}

TEST(LoadList, AFailingSkinSectionKeepsWhatItSet) {
  Program program;
  ListText text;
  text.skin = "<Skin><SkinName>Blue</SkinName><SkinPath>/x/</SkinPath></Skin>";
  program.platform.FileSystem().FailNext(testing::FaultyFiles::Operation::FolderExists);
  TToDoForm& form = *Started(program, text.Text()).form;
  EXPECT_EQ(program.ReportPlaces(), (Places{u"Load Skin"}));
  EXPECT_EQ(form.Values.CurrentSkinName, u"Blue");
  EXPECT_EQ(program.Rows()[1], u"a1|b1");  // the later sections still load
}

TEST(LoadList, AnEmptyFileFailsSectionBySection) {
  for (std::string_view file : {"", "   ", "<?xml version=\"1.0\"?>"}) {
    Program program;
    TToDoForm& form = *Started(program, std::string(file)).form;
    EXPECT_EQ(program.ReportPlaces(),
              (Places{u"Load WindowPosition", u"Load ColumnInfo", u"Load ColumnHeader", u"Load ToDoContent"}));
    EXPECT_EQ(program.platform.WindowBounds(), Rect::FromBounds(775, 434, 370, 211));
    EXPECT_EQ(form.ToDoGrid.ColCount(), 3);
    EXPECT_EQ(form.ToDoGrid.RowCount(), 6);
    EXPECT_EQ(form.Values.CurrentSkinName, u"");
  }
}

TEST(LoadList, AnUnreadableFileLeavesTheDesignTable) {
  Program program;
  program.WriteListFile("<ToDoList><WindowPosition><Left>5</Left></WindowPos></ToDoList>");
  TToDoForm& form = program.Start();
  EXPECT_EQ(program.ReportPlaces(), (Places{u"XMLloadToDoList"}));
  EXPECT_EQ(program.platform.WindowBounds(), Rect::FromBounds(100, 100, 370, 211));
  EXPECT_EQ(program.Rows(), (RowTexts{u"||", u"||", u"||", u"||", u"||", u"||"}));
  EXPECT_EQ(form.ToDoGrid.ColWidth(1), 213);  // 235, fitted to the grid without lines
  EXPECT_FALSE(form.mnuMakeTitleBoldAktiv.Visible() || form.mnuMakeTitleBoldDeaktiv.Visible());
  EXPECT_FALSE(form.mnuShowGridLinesAktiv.Visible() || form.mnuShowGridLinesDeaktiv.Visible());
  EXPECT_EQ(form.Values.CurrentSkinName, u"");
  EXPECT_EQ(form.Values.ColumnAlignments.size(), 3u);
  EXPECT_NE(program.platform.Messages()[0].text.find(u"report the bug to the Quillbox team"), std::u16string::npos);
}

}  // namespace
}  // namespace tasklane::mainwindow
