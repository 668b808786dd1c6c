// The real program's main window as the window system shows it: entering the message loop
// shows it, after a failed start-up too, and "-m" hides it again at once.
#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <thread>

#include "ProgramRun.h"
#include "XDisplay.h"

namespace tasklane::testing {
namespace {

bool Eventually(const std::function<bool()>& condition) {
  const auto deadline = std::chrono::steady_clock::now() + patience;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(20ms);
  }
  return true;
}

class ProgramWindows : public ::testing::Test {
 protected:
  // The main window once the program has one; message boxes are dialogs, the main window is not.
  std::optional<XWindow> MainWindow() {
    for (const XWindow& window : display.WindowsOf("tasklane")) {
      if (window.title == "Tasklane" && window.type != "_NET_WM_WINDOW_TYPE_DIALOG") return window;
    }
    return std::nullopt;
  }
  std::vector<XWindow> ShownBoxes() {
    std::vector<XWindow> boxes;
    for (const XWindow& window : display.WindowsOf("tasklane")) {
      if (window.viewable && window.type == "_NET_WM_WINDOW_TYPE_DIALOG") boxes.push_back(window);
    }
    return boxes;
  }
  bool MainWindowShown() {
    const std::optional<XWindow> window = MainWindow();
    return window && window->viewable;
  }
  void End(RunningProgram& program) {
    program.Signal(SIGTERM);
    EXPECT_EQ(program.WaitForExit(), 0) << folder->LogText();
  }

  VirtualDisplay display;
  std::optional<ProgramFolder> folder;
};

TEST_F(ProgramWindows, ANormalStartIsShownAndMinusMHidesItAfterItsFirstMoment) {
  folder.emplace();
  {
    RunningProgram program(*folder, {}, display.Name());
    ASSERT_TRUE(WaitUntilServing(*folder)) << folder->LogText();
    EXPECT_TRUE(Eventually([&] { return MainWindowShown(); }));
    EXPECT_TRUE(ShownBoxes().empty());
    End(program);
  }
  RunningProgram hidden(*folder, {"-m"}, display.Name());
  ASSERT_TRUE(WaitUntilServing(*folder)) << folder->LogText();
  // The window exists only once it was shown; then the start timer hides it.
  EXPECT_TRUE(Eventually([&] { return MainWindow() && !MainWindow()->viewable; }));
  End(hidden);
}

TEST_F(ProgramWindows, AFailedStartUpShowsItsOneReportThenTheWindowWhatever) {
  folder.emplace(TASKLANE_FAILING_START_PROGRAM);
  RunningProgram program(*folder, {"-m"}, display.Name());
  ASSERT_TRUE(Eventually([&] { return !ShownBoxes().empty(); })) << folder->LogText();
  const std::vector<XWindow> reports = ShownBoxes();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].title, "Tasklane");
  display.Close(reports[0].id);

  EXPECT_TRUE(Eventually([&] { return MainWindowShown(); })) << folder->LogText();
  ASSERT_TRUE(WaitUntilServing(*folder)) << folder->LogText();
  EXPECT_TRUE(MainWindowShown()) << "\"-m\" has no effect after a failed start-up";
  EXPECT_TRUE(ShownBoxes().empty());
  End(program);
}

// A move the program did not make itself reaches the recovery file like any other change.
TEST_F(ProgramWindows, AWindowMovedByTheWindowSystemKeepsItsPlaceThroughACrash) {
  folder.emplace();
  {
    RunningProgram program(*folder, {}, display.Name());
    ASSERT_TRUE(WaitUntilServing(*folder)) << folder->LogText();
    ASSERT_TRUE(Eventually([&] { return MainWindowShown(); }));
    display.Move(MainWindow()->id, 123, 45);
    const std::filesystem::path journal = folder->Program() / "ToDoList.xml.recovery";
    ASSERT_TRUE(Eventually([&] { return std::filesystem::exists(journal); })) << folder->LogText();
    program.Signal(SIGKILL);
    program.WaitForExit();
  }
  RunningProgram program(*folder, {}, display.Name());
  ASSERT_TRUE(WaitUntilServing(*folder)) << folder->LogText();
  End(program);
  std::ifstream in(folder->ListFile());
  const std::string list((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(list.find("<Left>123</Left>\r\n    <Top>45</Top>"), std::string::npos) << list;
}

}  // namespace
}  // namespace tasklane::testing
