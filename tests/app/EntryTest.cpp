// Entering the message loop: the window shows, and the start timer's first tick keeps it or
// hides it.
#include <gtest/gtest.h>

#include "app/ToDoProject.h"
#include "support/ScriptedPlatform.h"

namespace tasklane::app {
namespace {

using testing::FaultyFiles;
using testing::ScriptedPlatform;

struct Seen {
  bool visibleOnEntry = false;
  bool visibleAfterTicks = false;
};

Seen RunOn(ScriptedPlatform& platform) {
  Seen seen;
  RunTasklane(platform, [&](mainwindow::TToDoForm&) {
    seen.visibleOnEntry = platform.WindowVisible();
    platform.RunTimers(10);
    seen.visibleAfterTicks = platform.WindowVisible();
  });
  return seen;
}

TEST(Entry, TheLoopShowsTheWindowAndMinusMHidesItAtTheFirstTick) {
  ScriptedPlatform normal;
  const Seen normalStart = RunOn(normal);
  EXPECT_TRUE(normalStart.visibleOnEntry);
  EXPECT_TRUE(normalStart.visibleAfterTicks);

  ScriptedPlatform hidden;
  hidden.SetCommandLineArguments({u"-m"});
  const Seen hiddenStart = RunOn(hidden);
  EXPECT_TRUE(hiddenStart.visibleOnEntry);
  EXPECT_FALSE(hiddenStart.visibleAfterTicks);
}

TEST(Entry, AFailedStartUpStillShowsTheWindowWithOneReport) {
  ScriptedPlatform platform;
  platform.SetCommandLineArguments({u"-m"});
  platform.FileSystem().FailNext(FaultyFiles::Operation::FileExists);
  const Seen seen = RunOn(platform);
  EXPECT_TRUE(seen.visibleOnEntry);
  EXPECT_TRUE(seen.visibleAfterTicks) << "\"-m\" has no effect after a failure";
  ASSERT_EQ(platform.Messages().size(), 1u);
  EXPECT_EQ(platform.Messages()[0].text.rfind(u"Exception in FormCreate:", 0), 0u);
}

}  // namespace
}  // namespace tasklane::app
