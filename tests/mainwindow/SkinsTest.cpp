// Skins as a user meets them: found beside the program on a first start, loaded as far as
// their files go, and chosen from the skin submenu.
#include <fstream>

#include "art/Art.h"
#include "mainwindow/Program.h"
#include "mainwindow/Skins.h"

namespace tasklane::mainwindow {
namespace {

namespace fs = std::filesystem;

// A 2 x 2 bitmap of 24 bits, bottom-up, each row padded to 8 bytes.
std::string TinyBmp() {
  std::string bytes = "BM";
  auto u32 = [&](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes += static_cast<char>(v >> (8 * i));
  };
  auto u16 = [&](std::uint16_t v) {
    bytes += static_cast<char>(v);
    bytes += static_cast<char>(v >> 8);
  };
  u32(54 + 16), u32(0), u32(54), u32(40), u32(2), u32(2), u16(1), u16(24), u32(0), u32(16), u32(0), u32(0), u32(0),
      u32(0);
  for (int row = 0; row < 2; ++row) bytes += std::string("\x10\x20\x30\x40\x50\x60\0\0", 8);
  return bytes;
}

void WriteFile(const fs::path& path, std::string_view bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

// A skin folder with every file, or without the ones named.
void MakeSkin(const fs::path& folder, std::initializer_list<std::string_view> leaveOut = {}) {
  fs::create_directories(folder);
  const std::string jpeg(art::Find("ImageTop.jpg"));
  for (std::string_view file : {"Right.JPG", "Top.JPG", "Down.JPG", "TopRight.JPG", "DownRight.JPG",
                                "LeftZoomCorner.bmp", "RightZoomCorner.bmp"}) {
    if (std::find(leaveOut.begin(), leaveOut.end(), file) != leaveOut.end()) continue;
    WriteFile(folder / file, std::string_view(file).ends_with(".bmp") ? TinyBmp() : jpeg);
  }
}

class Skins : public ::testing::Test {
 protected:
  // The program lives in Folder()/Tools/Todo, so that the folder above it is ours too.
  Skins() { program.platform.SetExecutablePath(Tools() / "Todo" / "tasklane"); }
  fs::path Tools() const { return program.platform.Folder() / "Tools"; }
  std::u16string Text(const fs::path& path) const { return path.u16string(); }
  TToDoForm& Start() { return program.Start(); }
  Program program;
};

TEST_F(Skins, TheParentFolderOfAPath) {
  fs::create_directories(Tools() / "Todo");
  TToDoForm& form = Start();
  const std::u16string d(1, pathDelimiter);
  EXPECT_EQ(form.EinenPfadAbziehenMitDelimeter(d + u"Tools" + d + u"Todo" + d), d + u"Tools" + d);
  EXPECT_EQ(form.EinenPfadAbziehenMitDelimeter(d + u"Tools" + d + u"Todo" + d + u"list.txt"), d + u"Tools" + d);
  EXPECT_EQ(form.EinenPfadAbziehenMitDelimeter(u"list.txt"), u"");
  if (windowsPaths) {
    EXPECT_EQ(form.EinenPfadAbziehenMitDelimeter(u"C:\\"), u"C:");
  }
}

TEST_F(Skins, AFirstStartTakesTheFirstKnownSkinBesideTheProgram) {
  MakeSkin(Tools() / "Todo" / "Skins" / "Vista");
  MakeSkin(Tools() / "Todo" / "Skins" / "Lime");
  TToDoForm& form = Start();
  EXPECT_EQ(form.Values.CurrentSkinPath, Text(Tools() / "Todo" / "Skins" / ""));
  EXPECT_EQ(form.Values.CurrentSkinName, u"Lime");
  EXPECT_TRUE(form.SkinLoaded);
  EXPECT_EQ(form.ImageRight.Bounds().Width(), 180);
  ASSERT_NE(form.ImageLeftZoomCorner.Picture(), nullptr);
  EXPECT_EQ(form.ImageLeftZoomCorner.Picture()->Width(), 2);
  EXPECT_TRUE(program.platform.Messages().empty());
}

TEST_F(Skins, TheOrganizersSkinsBesideTheProgramsFolderCountToo) {
  fs::create_directories(Tools() / "Todo");
  MakeSkin(Tools() / "Quillbox" / "Skins" / "Silver");
  TToDoForm& form = Start();
  EXPECT_EQ(form.Values.CurrentSkinPath, Text(Tools() / "Quillbox" / "Skins" / ""));
  EXPECT_EQ(form.Values.CurrentSkinName, u"Silver");
}

TEST_F(Skins, AnInstalledProgramFindsSkinsInItsDataFolder) {
  if (windowsPaths) GTEST_SKIP() << "the Windows program keeps everything beside itself";
  const fs::path data = program.platform.Folder() / "data" / "Tasklane";
  program.platform.SetUserDataFolder(data);
  MakeSkin(data / "Skins" / "Lime");
  fs::create_directories(Tools() / "Todo");
  fs::permissions(Tools() / "Todo", fs::perms::owner_write, fs::perm_options::remove);
  TToDoForm& form = Start();
  fs::permissions(Tools() / "Todo", fs::perms::owner_write, fs::perm_options::add);
  EXPECT_EQ(form.Values.CurrentSkinPath, Text(data / "Skins" / ""));
  EXPECT_EQ(form.Values.CurrentSkinName, u"Lime");
}

TEST_F(Skins, UnknownNamesOrMissingFilesLeaveTheDesignedFrame) {
  MakeSkin(Tools() / "Todo" / "Skins" / "Mine");
  TToDoForm& form = Start();
  EXPECT_EQ(form.Values.CurrentSkinName, u"No Skin");
  EXPECT_FALSE(form.SkinLoaded);

  MakeSkin(Tools() / "Todo" / "Skins" / "Half", {"Top.JPG"});
  const auto designedTop = form.ImageTop.Picture();
  const auto designedRight = form.ImageRight.Picture();
  form.Values.CurrentSkinName = u"Half";
  form.loadSkin();
  EXPECT_NE(form.ImageRight.Picture(), designedRight);
  EXPECT_EQ(form.ImageTop.Picture(), designedTop);
  EXPECT_FALSE(form.SkinLoaded);
  form.FormResize();
  EXPECT_EQ(form.ImageRight.Bounds().Width(), 30);

  MakeSkin(Tools() / "Todo" / "Skins" / "NoCorners", {"LeftZoomCorner.bmp", "RightZoomCorner.bmp"});
  form.Values.CurrentSkinName = u"NoCorners";
  form.loadSkin();
  EXPECT_TRUE(form.SkinLoaded);
}

class SkinMenu : public Skins {
 protected:
  SkinMenu() {
    MakeSkin(Tools() / "Todo" / "Skins" / "Lime");
    MakeSkin(Tools() / "Todo" / "Skins" / "Vista");
    fs::create_directories(Tools() / "Todo" / "Skins" / ".svn");
    WriteFile(Tools() / "Todo" / "Skins" / "readme.txt", "skins");
    Start();
  }
  TToDoForm& form() { return *program.form; }
  // The skin submenu's items as it opened, with a "*" on the ticked one.
  std::vector<std::u16string> Open() {
    form().FormMouseDown(platform::MouseButton::Right, {100, 100}, {.right = true}, false);
    std::vector<std::u16string> items;
    bool inSkins = false;
    for (const auto& item : program.platform.Menus().back().items) {
      if (item.depth == 0) inSkins = item.name == u"mnuSkin";
      else if (inSkins) items.push_back(item.caption + (item.checked ? u"*" : u""));
    }
    return items;
  }
};

TEST_F(SkinMenu, OffersTheSkinFoldersAndTicksTheOneInUse) {
  std::vector<std::u16string> items = Open();
  ASSERT_EQ(items.size(), 4u);
  std::sort(items.begin(), items.begin() + 2);  // in the file system's order
  EXPECT_EQ(items, (std::vector<std::u16string>{u"Lime*", u"Vista", u"-", u"No Skin"}));
  EXPECT_EQ(Open().size(), 4u);  // opening again replaces the items
  EXPECT_EQ(form().SkinMenuEntries.size(), 2u);

  form().Values.CurrentSkinName = u"Gone";
  items = Open();
  EXPECT_EQ(items.back(), u"No Skin*");
}

TEST_F(SkinMenu, ChoosingASkinLoadsItAtOnce) {
  Open();
  const std::u16string vista = form().SkinMenuEntries[0].NameVomSkin == u"Vista" ? u"mnuSkinEintrag1" : u"mnuSkinEintrag2";
  const auto before = form().ImageTop.Picture();
  program.platform.PushMenuChoice(vista);
  Open();
  EXPECT_EQ(form().Values.CurrentSkinName, u"Vista");
  EXPECT_NE(form().ImageTop.Picture(), before);
  EXPECT_TRUE(form().SkinLoaded);
}

TEST_F(SkinMenu, NoSkinAsksForARestartAndIsSavedAsSuch) {
  program.platform.PushMenuChoice(u"mnuNoSkin");
  Open();
  ASSERT_EQ(program.platform.Messages().size(), 1u);
  EXPECT_EQ(program.platform.Messages()[0].text, u"Skin was de-selected! Please restart Tasklane to unload the current skin!");
  EXPECT_FALSE(program.platform.Messages()[0].windowTopMost);
  EXPECT_TRUE(program.platform.TopMost());
  EXPECT_TRUE(form().SkinLoaded);  // the pictures stay until the next start
  form().mnuNoSkinClick();  // no skin again: nothing happens
  EXPECT_EQ(program.platform.Messages().size(), 1u);
  program.Close();
  std::ifstream in(Tools() / "Todo" / "ToDoList.xml", std::ios::binary);
  const std::string saved((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(saved.find("<SkinName>No Skin</SkinName>"), std::string::npos);
  EXPECT_NE(saved.find("<SkinPath> </SkinPath>"), std::string::npos);
}

}  // namespace
}  // namespace tasklane::mainwindow
