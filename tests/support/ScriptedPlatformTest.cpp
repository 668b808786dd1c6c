// The scripted platform behaves as the program will rely on a real one to behave.
#include <gtest/gtest.h>

#include <gmock/gmock.h>

#include "support/RecordingCanvas.h"
#include "support/ScriptedPlatform.h"

namespace tasklane::testing {
namespace {
namespace fs = std::filesystem;
using platform::MessageAnswer;
using platform::MessageButtons;
using platform::MessageIcon;
using platform::Rect;
using ::testing::ElementsAre;

struct Window : platform::WindowEvents {
  bool mayClose = false;
  int resized = 0;
  std::vector<int> ticks;
  std::function<void(int)> onTick;
  void TimerTick(int timerId) override {
    ticks.push_back(timerId);
    if (onTick) onTick(timerId);
  }
  bool CloseQuery() override { return mayClose; }
  void Resized() override { ++resized; }
  void SizeLimits(platform::Size& minimum, platform::Size& maximum) override {
    minimum = {50, 20};
    maximum = {400, 300};
  }
  platform::HitZone HitTest(platform::Point) override { return platform::HitZone::Client; }
  void Moved() override {}
  void Displaced() override {}
  void TrayClicked() override {}
  void TrayMenuRequested() override {}
};

TEST(ScriptedPlatformTest, SizeIsClampedToTheLimitsAndOnlyAChangeFiresResized) {
  ScriptedPlatform platform;
  Window window;
  platform.AttachWindow(window);
  EXPECT_EQ(platform.WindowBounds(), Rect::FromBounds(100, 100, 0, 0));
  EXPECT_FALSE(platform.WindowVisible());
  platform.SetWindowBounds(Rect::FromBounds(10, 10, 1000, 5));
  EXPECT_EQ(platform.WindowBounds(), Rect::FromBounds(10, 10, 400, 20));
  platform.SetWindowBounds(Rect::FromBounds(30, 40, 400, 20));
  EXPECT_EQ(platform.WindowBounds(), Rect::FromBounds(30, 40, 400, 20));
  EXPECT_EQ(window.resized, 1);
}

TEST(ScriptedPlatformTest, RequestCloseClosesOnlyWhenCloseQueryAgrees) {
  ScriptedPlatform platform;
  Window window;
  platform.AttachWindow(window);
  platform.ShowWindow(platform::WindowShow::Show);
  platform.RequestClose();
  EXPECT_FALSE(platform.Closed());
  EXPECT_TRUE(platform.WindowVisible());
  window.mayClose = true;
  platform.RequestClose();
  EXPECT_TRUE(platform.Closed());
  EXPECT_FALSE(platform.WindowVisible());
}

TEST(ScriptedPlatformTest, MessageBoxesAreRecordedAndAnsweredFromTheQueueThenByDefault) {
  ScriptedPlatform platform;
  platform.PushAnswer(MessageAnswer::Yes);
  platform.SetTopMost(true);
  EXPECT_EQ(platform.ShowMessage(u"T", u"Save?", MessageIcon::Question, MessageButtons::YesNo, false), MessageAnswer::Yes);
  EXPECT_EQ(platform.ShowMessage(u"T", u"Again?", MessageIcon::Question, MessageButtons::YesNo, true), MessageAnswer::No);
  platform.SetTopMost(false);
  EXPECT_EQ(platform.ShowMessage(u"T", u"Failed", MessageIcon::Error, MessageButtons::Ok, false), MessageAnswer::Ok);
  ASSERT_EQ(platform.Messages().size(), 3u);
  EXPECT_EQ(platform.Messages()[1].text, u"Again?");
  EXPECT_TRUE(platform.Messages()[1].ownerless);
  EXPECT_TRUE(platform.Messages()[1].windowTopMost);
  EXPECT_FALSE(platform.Messages()[2].windowTopMost);
  EXPECT_EQ(platform.Messages()[2].icon, MessageIcon::Error);
}

TEST(ScriptedPlatformTest, TimersTickOnlyWhileEnabledInIdOrder) {
  ScriptedPlatform platform;
  Window window;
  platform.AttachWindow(window);
  platform.SetTimer(2, 100, false);
  EXPECT_FALSE(platform.TickTimer(2));
  platform.SetTimer(2, 100, true);
  platform.SetTimer(1, 50, true);
  window.onTick = [&](int id) {
    if (window.ticks.size() == 3) platform.SetTimer(id, 50, false);
  };
  EXPECT_EQ(platform.RunTimers(5), 5);
  EXPECT_THAT(window.ticks, ElementsAre(1, 2, 1, 2, 2));
  platform.SetTimer(2, 100, false);
  EXPECT_EQ(platform.RunTimers(5), 0);
}

TEST(ScriptedPlatformTest, InjectedFaultStrikesOnceThenFilesWork) {
  ScriptedPlatform platform;
  FaultyFiles& files = platform.FileSystem();
  const fs::path tmp = platform.Folder() / "ToDoList.tmp", xml = platform.Folder() / "ToDoList.xml";
  files.FailNext(FaultyFiles::Operation::WriteWhole);
  EXPECT_THROW(files.WriteWhole(tmp, "<list/>"), platform::FileError);
  EXPECT_FALSE(fs::exists(tmp));
  files.WriteWhole(tmp, "<list/>");
  files.Replace(tmp, xml);
  EXPECT_EQ(files.ReadWhole(xml), "<list/>");
  EXPECT_THAT(files.CallTexts(), ElementsAre("WriteWhole " + tmp.string() + " (failed)", "WriteWhole " + tmp.string(),
                                             "Replace " + tmp.string() + " -> " + xml.string(), "ReadWhole " + xml.string()));
  files.SetHalfWriteOnFault(true);
  files.FailNext(FaultyFiles::Operation::WriteWhole, 1);
  files.WriteWhole(tmp, "abcd");
  EXPECT_THROW(files.WriteWhole(tmp, "123456"), platform::FileError);
  EXPECT_EQ(files.ReadWhole(tmp), "123");
}

TEST(ScriptedPlatformTest, ReadOnlyFileRefusesReplaceUntilCleared) {
  ScriptedPlatform platform;
  FaultyFiles& files = platform.FileSystem();
  const fs::path from = platform.Folder() / "new", to = platform.Folder() / "old";
  files.WriteWhole(from, "new");
  files.WriteWhole(to, "old");
  fs::permissions(to, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write, fs::perm_options::remove);
  EXPECT_THROW(files.Replace(from, to), platform::FileError);
  files.ClearReadOnly(to);
  files.Replace(from, to);
  EXPECT_EQ(files.ReadWhole(to), "new");
}

TEST(ScriptedPlatformTest, CurrentFolderIsRestoredAndTheFolderRemoved) {
  const fs::path before = fs::current_path();
  fs::path folder;
  {
    ScriptedPlatform platform;
    folder = platform.Folder();
    platform.SetCurrentFolder(platform.ExecutablePath().parent_path());
    platform.FileSystem().WriteWhole("ToDoList.xml", "x");
    EXPECT_TRUE(fs::exists(folder / "ToDoList.xml"));
  }
  EXPECT_EQ(fs::current_path(), before);
  EXPECT_FALSE(fs::exists(folder));
}

TEST(ScriptedPlatformTest, SecondInstanceFindsTheLockUntilTheFirstEnds) {
  auto desktop = std::make_shared<ScriptedDesktop>();
  auto first = std::make_unique<ScriptedPlatform>(desktop);
  ScriptedPlatform second(desktop);
  EXPECT_EQ(first->CreateInstanceLock(u"Tasklane"), platform::InstanceLock::Created);
  EXPECT_EQ(second.CreateInstanceLock(u"Tasklane"), platform::InstanceLock::AlreadyExists);
  first.reset();
  EXPECT_EQ(second.CreateInstanceLock(u"Tasklane"), platform::InstanceLock::Created);
}

TEST(ScriptedPlatformTest, GuidsAreUniqueInRegistryFormAndTextComparesIgnoringCase) {
  ScriptedPlatform platform;
  EXPECT_EQ(platform.NewGuid(), u"{00000000-0000-0000-0000-000000000001}");
  EXPECT_EQ(platform.NewGuid().size(), 38u);
  platform.SetNewGuidFails(true);
  EXPECT_THROW(platform.NewGuid(), std::runtime_error);
  EXPECT_TRUE(platform.SameTextIgnoringCase(u"Größe Ärger", u"GRößE äRGER"));
  EXPECT_FALSE(platform.SameTextIgnoringCase(u"Tasks", u"Task"));
}

TEST(ScriptedCanvasTest, RecordsClipInForceAndEstimatesWidths) {
  RecordingCanvas canvas({200, 100});
  canvas.PushClip(Rect::FromBounds(150, 10, 100, 50));
  canvas.Text(Rect::FromBounds(0, 0, 50, 20), u"Task", {}, {}, {});
  canvas.PopClip();
  ASSERT_NE(canvas.FindText(u"Task"), nullptr);
  EXPECT_EQ(canvas.FindText(u"Task")->clip, Rect::FromBounds(150, 10, 50, 50));
  EXPECT_EQ(canvas.OpenClips(), 0);
  EXPECT_EQ(canvas.TextWidth(u"Task", {u"Tahoma", 11, true}), 28);
}

}  // namespace
}  // namespace tasklane::testing
