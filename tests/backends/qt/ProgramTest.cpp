// The real program on the offscreen platform, as a user and the session see it: it saves its
// list once when it is told to end, brings back what it saved, and runs once per session.
#include <gtest/gtest.h>
#include <signal.h>

#include <QGuiApplication>
#include <QScreen>
#include <string>

#include "ProgramRun.h"
#include "mainwindow/ToDoUnit.h"

namespace tasklane::testing {
namespace {

std::string Crlf(const std::string& lf) {
  std::string text;
  for (const char c : lf) {
    if (c == '\n') text += '\r';
    text += c;
  }
  return text;
}

// A list as the program writes it, at a place and size of its own and with texts that need
// escaping, so that every value is seen to come back.
const std::string preparedList = Crlf(R"(<?xml version="1.0" encoding="iso-8859-1"?>
<ToDoList>
  <WindowPosition>
    <Left>50</Left>
    <Top>60</Top>
    <Width>400</Width>
    <Height>300</Height>
  </WindowPosition>
  <ColumnInfo>
    <RowCount>2</RowCount>
    <ColumnCount>3</ColumnCount>
    <HeaderTextBold>TRUE</HeaderTextBold>
    <DrawGridLines>FALSE</DrawGridLines>
  </ColumnInfo>
  <Skin>
    <SkinName>No Skin</SkinName>
    <SkinPath/>
  </Skin>
  <ColumnHeader>
    <Column>
      <ColumnCaption>When</ColumnCaption>
      <ColumnWidth>60</ColumnWidth>
      <ColumnAlignment>RIGHT</ColumnAlignment>
    </Column>
    <Column>
      <ColumnCaption>What</ColumnCaption>
      <ColumnWidth>198</ColumnWidth>
      <ColumnAlignment>LEFT</ColumnAlignment>
    </Column>
    <Column>
      <ColumnCaption>Who</ColumnCaption>
      <ColumnWidth>80</ColumnWidth>
      <ColumnAlignment>CENTER</ColumnAlignment>
    </Column>
  </ColumnHeader>
  <ToDoContent>
    <Column>
      <Text>Monday</Text>
      <Text>Buy milk &amp; bread</Text>
      <Text>J&#xFC;rgen</Text>
    </Column>
    <Column>
      <Text>Friday</Text>
      <Text>Call &lt;the office&gt;</Text>
      <Text>&quot;Ann&quot; O&apos;Neil</Text>
    </Column>
  </ToDoContent>
</ToDoList>
)");

QSize ScreenSize() { return QGuiApplication::primaryScreen()->geometry().size(); }

TEST(QtProgram, FirstStartWritesNothingUntilToldToEndThenSavesOnce) {
  ProgramFolder folder;
  SaveWatch watch(folder.Program());
  RunningProgram program(folder);
  ASSERT_TRUE(WaitUntilServing(folder)) << folder.LogText();
  EXPECT_EQ(folder.OtherFiles(), std::vector<std::string>{});
  EXPECT_EQ(watch.Saves(), 0);

  program.Signal(SIGTERM);
  ASSERT_EQ(program.WaitForExit(), 0) << folder.LogText();
  EXPECT_EQ(watch.Saves(), 1);
  EXPECT_EQ(folder.OtherFiles(), std::vector<std::string>{"ToDoList.xml"});

  // The first start stands 40 pixels from the screen's right edge, centred from top to bottom.
  const QSize screen = ScreenSize();
  const std::string list = ReadFile(folder.ListFile());
  EXPECT_NE(list.find("<ColumnCaption>Prio</ColumnCaption>"), std::string::npos) << list;
  EXPECT_NE(list.find("<Left>" + std::to_string(screen.width() - 370 - 40) + "</Left>"), std::string::npos) << list;
  EXPECT_NE(list.find("<Top>" + std::to_string(mainwindow::CentredStart(screen.height(), 211)) + "</Top>"),
            std::string::npos)
      << list;
  EXPECT_NE(list.find("<Width>370</Width>"), std::string::npos) << list;
  EXPECT_NE(list.find("<Height>211</Height>"), std::string::npos) << list;
}

class EndingSignal : public ::testing::TestWithParam<int> {};

TEST_P(EndingSignal, SavesOnceAndEnds) {
  ProgramFolder folder;
  SaveWatch watch(folder.Program());
  RunningProgram program(folder);
  ASSERT_TRUE(WaitUntilServing(folder)) << folder.LogText();
  program.Signal(GetParam());
  ASSERT_EQ(program.WaitForExit(), 0) << folder.LogText();
  EXPECT_EQ(watch.Saves(), 1);
  EXPECT_NE(ReadFile(folder.ListFile()).find("<ColumnCaption>Prio</ColumnCaption>"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(QtProgram, EndingSignal, ::testing::Values(SIGTERM, SIGINT, SIGHUP),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return std::string(info.param == SIGTERM ? "Term" : info.param == SIGINT ? "Int" : "Hup");
                         });

TEST(QtProgram, SignalsInQuickSuccessionSaveOnce) {
  ProgramFolder folder;
  SaveWatch watch(folder.Program());
  RunningProgram program(folder);
  ASSERT_TRUE(WaitUntilServing(folder)) << folder.LogText();
  program.Signal(SIGTERM);
  program.Signal(SIGHUP);
  program.Signal(SIGINT);
  ASSERT_EQ(program.WaitForExit(), 0) << folder.LogText();
  EXPECT_EQ(watch.Saves(), 1);
}

TEST(QtProgram, PreparedListComesBackAsItWas) {
  ProgramFolder folder;
  WriteFile(folder.ListFile(), preparedList);
  RunningProgram program(folder);
  ASSERT_TRUE(WaitUntilServing(folder)) << folder.LogText();
  program.Signal(SIGTERM);
  ASSERT_EQ(program.WaitForExit(), 0) << folder.LogText();
  EXPECT_EQ(ReadFile(folder.ListFile()), preparedList);
}

TEST(QtProgram, HiddenStartSavesOnSigterm) {
  ProgramFolder folder;
  WriteFile(folder.ListFile(), preparedList);
  SaveWatch watch(folder.Program());
  RunningProgram program(folder, {"-m"});
  ASSERT_TRUE(WaitUntilServing(folder)) << folder.LogText();
  program.Signal(SIGTERM);
  ASSERT_EQ(program.WaitForExit(), 0) << folder.LogText();
  EXPECT_EQ(watch.Saves(), 1);
  EXPECT_EQ(ReadFile(folder.ListFile()), preparedList);
}

TEST(QtProgram, SecondStartHandsOverToTheFirstAndEnds) {
  ProgramFolder folder;
  SaveWatch watch(folder.Program());
  RunningProgram first(folder);
  ASSERT_TRUE(WaitUntilServing(folder)) << folder.LogText();

  RunningProgram second(folder);
  EXPECT_EQ(second.WaitForExit(), 0) << folder.LogText();
  EXPECT_TRUE(first.Running());
  EXPECT_EQ(watch.Saves(), 0);
  EXPECT_TRUE(WaitUntilServing(folder)) << "the first one answers still";

  first.Signal(SIGTERM);
  ASSERT_EQ(first.WaitForExit(), 0) << folder.LogText();
  EXPECT_EQ(watch.Saves(), 1);
}

// A killed instance leaves its socket behind; the next start takes the session over all the
// same, and a start after that finds it.
TEST(QtProgram, StartAfterAKilledOneRunsAndIsFound) {
  ProgramFolder folder;
  {
    RunningProgram killed(folder);
    ASSERT_TRUE(WaitUntilServing(folder)) << folder.LogText();
    killed.Signal(SIGKILL);
    ASSERT_TRUE(killed.WaitForExit().has_value());
  }
  RunningProgram next(folder);
  ASSERT_TRUE(WaitUntilServing(folder)) << folder.LogText();
  RunningProgram third(folder);
  EXPECT_EQ(third.WaitForExit(), 0) << folder.LogText();
  EXPECT_TRUE(next.Running());
  next.Signal(SIGTERM);
  EXPECT_EQ(next.WaitForExit(), 0) << folder.LogText();
}

}  // namespace
}  // namespace tasklane::testing
