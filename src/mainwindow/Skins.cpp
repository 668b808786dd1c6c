// Skins: folders of pictures that dress the frame. Where the skin base folder is looked for
// on a first start, and how a skin's pictures replace the frame's.
#include "mainwindow/Skins.h"

#include "mainwindow/ToDoUnit.h"
#include "pictures/PictureFile.h"

namespace tasklane::mainwindow {

namespace {

constexpr std::u16string_view knownSkins[] = {u"Lime", u"Vista",     u"Longhorn", u"Navyl", u"Eldorado", u"XPSilver",
                                              u"Technical", u"Lite", u"XPBlue",   u"THT",   u"Silver"};

bool IsDelimiter(char16_t c) { return c == pathDelimiter || (windowsPaths && c == u':'); }

// The text up to and including the last delimiter; empty without one.
std::u16string_view FolderPart(std::u16string_view path) {
  for (std::size_t i = path.size(); i > 0; --i) {
    if (IsDelimiter(path[i - 1])) return path.substr(0, i);
  }
  return {};
}

}  // namespace

std::u16string WithDelimiter(std::u16string path) {
  if (path.empty() || path.back() != pathDelimiter) path += pathDelimiter;
  return path;
}

std::u16string TToDoForm::EinenPfadAbziehenMitDelimeter(std::u16string_view path) {
  std::u16string parent;
  Guarded(u"EinenPfadAbziehenMitDelimeter", Team::Quillbox, [&] {
    std::u16string_view folder = FolderPart(path);
    if (!folder.empty() && folder.back() == pathDelimiter) folder.remove_suffix(1);
    parent = FolderPart(folder);
  });
  return parent;
}

bool TToDoForm::FolderExists(std::u16string_view path) {
  return platform_.FileSystem().FolderExists(std::filesystem::path(std::u16string(path)));
}

std::u16string TToDoForm::ProgramFolderText() const { return Values.ProgramFolder.u16string(); }

std::vector<std::u16string> TToDoForm::OwnSkinFolders() const {
  std::vector<std::u16string> folders{ProgramFolderText() + u"Skins"};
  if (Values.ListFolder != Values.ProgramFolder) folders.push_back(Values.ListFolder.u16string() + u"Skins");
  return folders;
}

// The places a skin base folder may be, nearest first: beside the program, then where the
// organizer the skins come with is installed.
std::vector<std::u16string> TToDoForm::StartSkinCandidates() {
  const std::u16string parent = EinenPfadAbziehenMitDelimeter(ProgramFolderText());
  const std::u16string d(1, pathDelimiter);
  std::vector<std::u16string> candidates = OwnSkinFolders();
  candidates.insert(candidates.end(), {parent + u"Skins" + d, parent + u"Quillbox" + d + u"Skins" + d});
  if (windowsPaths) {
    candidates.insert(candidates.end(), {u"C:\\Program Files (x86)\\Quillbox\\Skins\\",
                                         u"C:\\Program Files\\Quillbox\\Skins\\", u"C:\\Programme\\Quillbox\\Skins\\"});
  } else {
    candidates.insert(candidates.end(),
                      {u"/opt/Quillbox/Skins/", u"/opt/quillbox/Skins/", u"/usr/share/quillbox/Skins/"});
  }
  candidates.push_back(parent + u"QB" + d + u"Skins" + d);
  return candidates;
}

void TToDoForm::testStartSkin() {
  Guarded(u"testStartSkin", Team::Quillbox, [&] {
    for (const std::u16string& candidate : StartSkinCandidates()) {
      if (!FolderExists(candidate)) continue;
      Values.CurrentSkinPath = WithDelimiter(candidate);
      break;
    }
    if (!FolderExists(Values.CurrentSkinPath)) return;
    Values.CurrentSkinPath = WithDelimiter(Values.CurrentSkinPath);
    for (std::u16string_view name : knownSkins) {
      if (!FolderExists(Values.CurrentSkinPath + std::u16string(name))) continue;
      Values.CurrentSkinName = name;
      break;
    }
    if (!Values.CurrentSkinName.empty()) loadSkin();
  });
}

namespace {

std::shared_ptr<const platform::Picture> SkinPicture(const std::u16string& folder, std::u16string_view file) {
  return std::make_shared<const platform::Picture>(
      pictures::LoadPictureFile(std::filesystem::path(folder + std::u16string(file))));
}

}  // namespace

// A missing or broken file ends the loading there, silently: what loaded stays, and the
// skin counts as loaded only once the five frame pictures are in.
void TToDoForm::loadSkin() {
  const std::u16string folder = WithDelimiter(Values.CurrentSkinPath + Values.CurrentSkinName);
  try {
    ImageRight.SetPicture(SkinPicture(folder, u"Right.JPG"));
    const platform::Rect right = ImageRight.Bounds();
    ImageRight.SetBounds(platform::Rect::FromBounds(right.left, right.top, 180, right.Height()));
    ImageTop.SetPicture(SkinPicture(folder, u"Top.JPG"));
    ImageBottom.SetPicture(SkinPicture(folder, u"Down.JPG"));
    ImageTopRight.SetPicture(SkinPicture(folder, u"TopRight.JPG"));
    const platform::Rect topRight = ImageTopRight.Bounds();
    ImageTopRight.SetBounds(platform::Rect::FromBounds(ImageRight.Bounds().left - 70, topRight.top,
                                                       topRight.Width(), topRight.Height()));
    ImageBottomRight.SetPicture(SkinPicture(folder, u"DownRight.JPG"));
    const platform::Rect bottomRight = ImageBottomRight.Bounds();
    ImageBottomRight.SetBounds(platform::Rect::FromBounds(ImageRight.Bounds().left - 70, ImageBottom.Bounds().top - 70,
                                                          bottomRight.Width(), bottomRight.Height()));
    SkinLoaded = true;
    PanelMinKnopf.Repaint();
    PanelShrinkKnopf.Repaint();
    PanelDeleteKnopf.Repaint();
    ImageLeftZoomCorner.SetPicture(SkinPicture(folder, u"LeftZoomCorner.bmp"));
    ImageRightZoomCorner.SetPicture(SkinPicture(folder, u"RightZoomCorner.bmp"));
  } catch (const std::exception&) {
  }
  platform_.Repaint();
}

}  // namespace tasklane::mainwindow
