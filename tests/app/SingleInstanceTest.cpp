// One Tasklane per logon session: a second start brings the first to the front and ends.
#include <gtest/gtest.h>

#include "app/ToDoProject.h"
#include "support/ScriptedPlatform.h"

namespace tasklane::app {
namespace {

using platform::TopLevelWindow;
using testing::ScriptedDesktop;
using testing::ScriptedPlatform;

struct Start {
  int exitCode = -1;
  bool windowCreated = false;
};

Start StartOn(ScriptedPlatform& platform) {
  Start start;
  start.exitCode = RunTasklane(platform, [&](mainwindow::TToDoForm&) { start.windowCreated = true; });
  return start;
}

TEST(SingleInstance, TheFirstStartTakesTheLock) {
  ScriptedPlatform platform;
  const Start start = StartOn(platform);
  EXPECT_TRUE(start.windowCreated);
  EXPECT_EQ(start.exitCode, 0);
  EXPECT_EQ(platform.Desktop().lockNames, (std::vector<std::u16string>{u"ToDoMutex"}));
  EXPECT_TRUE(platform.HoldsInstanceLock());
  EXPECT_EQ(platform.Desktop().lockCloses, 0);
}

TEST(SingleInstance, ASecondStartBringsTheFirstWindowToTheFront) {
  auto desktop = std::make_shared<ScriptedDesktop>();
  desktop->lockExists = true;
  desktop->windows = {{1, u"Tasklane", u"Notepad"},
                      {2, u"Untitled", u"TToDoForm"},
                      {3, u"TASKLANE", u"ttodoform"},
                      {4, u"Tasklane", u"TToDoForm"}};
  ScriptedPlatform second(desktop);
  const Start start = StartOn(second);
  EXPECT_EQ(start.exitCode, 0);
  EXPECT_FALSE(start.windowCreated);
  EXPECT_EQ(second.AttachedEvents(), nullptr);
  EXPECT_EQ(desktop->lockCloses, 1);
  EXPECT_EQ(desktop->shownNormalAndForeground, (std::vector<std::uintptr_t>{3}));
}

TEST(SingleInstance, WithoutAMatchingWindowTheStartGoesOn) {
  const std::vector<std::vector<TopLevelWindow>> desktops = {
      {},
      {{1, u"Tasklane", u"TToDoFormX"}, {2, u"Tasklane - Copy", u"TToDoForm"}},
  };
  for (const auto& windows : desktops) {
    auto desktop = std::make_shared<ScriptedDesktop>();
    desktop->lockExists = true;
    desktop->windows = windows;
    ScriptedPlatform platform(desktop);
    EXPECT_TRUE(StartOn(platform).windowCreated);
    EXPECT_TRUE(desktop->shownNormalAndForeground.empty());
    EXPECT_EQ(desktop->lockCloses, 1);
  }
}

TEST(SingleInstance, FailuresOfTheCheckNeverStopTheStart) {
  for (int failure = 0; failure < 4; ++failure) {
    auto desktop = std::make_shared<ScriptedDesktop>();
    desktop->lockExists = true;
    desktop->windows = {{7, u"Tasklane", u"TToDoForm"}};
    desktop->lockFails = failure == 0;
    desktop->createLockThrows = failure == 1;
    desktop->topLevelWindowsThrows = failure == 2;
    desktop->closeLockThrows = failure == 3;
    ScriptedPlatform platform(desktop);
    const Start start = StartOn(platform);
    EXPECT_TRUE(start.windowCreated) << "failure " << failure;
    EXPECT_TRUE(desktop->shownNormalAndForeground.empty()) << "failure " << failure;
    EXPECT_TRUE(platform.Messages().empty());
  }
}

}  // namespace
}  // namespace tasklane::app
