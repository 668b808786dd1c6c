// The skin submenu: rebuilt from the skin base folder each time it opens, with the skin in
// use ticked; a choice loads that skin at once, no skin takes effect at the next start.
#include "mainwindow/Skins.h"
#include "mainwindow/ToDoUnit.h"

namespace tasklane::mainwindow {

namespace {

constexpr std::u16string_view skinItemPrefix = u"mnuSkinEintrag";

std::u16string SkinItemName(int number) { return std::u16string(skinItemPrefix) + DecimalText(number); }

}  // namespace

void TToDoForm::mnuSkinClick() {
  RecordChange(-1);  // the skin path may change
  for (int k = 1;; ++k) {
    platform::MenuItem* old = mnuSkin.Find(SkinItemName(k));
    if (!old) break;
    mnuSkin.Remove(*old);
  }
  const std::u16string parent = EinenPfadAbziehenMitDelimeter(ProgramFolderText());
  const std::u16string d(1, pathDelimiter);
  std::vector<std::u16string> candidates = OwnSkinFolders();
  candidates.insert(candidates.end(),
                    {parent + u"Skins" + d, parent + u"Quillbox" + d + u"Skins" + d, parent + u"QB" + d + u"Skins" + d});
  for (const std::u16string& candidate : candidates) {
    if (!FolderExists(candidate)) continue;
    Values.CurrentSkinPath = WithDelimiter(candidate);
    break;
  }
  if (!FolderExists(Values.CurrentSkinPath)) return;
  Values.CurrentSkinPath = WithDelimiter(Values.CurrentSkinPath);
  mnuNoSkin.SetChecked(true);
  SkinMenuEntries.clear();
  int k = 1;
  std::vector<platform::FolderEntry> entries;
  try {
    entries = platform_.FileSystem().ListFolder(std::filesystem::path(Values.CurrentSkinPath));
  } catch (const std::exception&) {
    return;  // a folder that vanished or refuses listing offers no skins
  }
  for (const platform::FolderEntry& entry : entries) {
    const std::u16string name = entry.name.u16string();
    if (!entry.isFolder || name.starts_with(u'.')) continue;
    try {
      platform::MenuItem& item = mnuSkin.Insert(k - 1, SkinItemName(k), name);
      ++k;
      item.OnClick([this, &item] { mnuSelectedSkinClick(item); });
      if (Values.CurrentSkinName == name) {
        item.SetChecked(true);
        mnuNoSkin.SetChecked(false);
      }
      SkinMenuEntries.push_back({k - 2, name});
    } catch (const std::exception&) {
      // that folder is left out
    }
  }
}

void TToDoForm::mnuSelectedSkinClick(const platform::MenuItem& sender) {
  RecordChange(-1);
  const bool done = Guarded(u"mnuSelectedSkinClick", Team::Quillbox, [&] {
    Values.CurrentSkinName = u"No Skin";
    const int position = mnuSkin.IndexOf(sender);
    for (const TSkinMenüEintrag& entry : SkinMenuEntries) {
      if (entry.Nummer == position) Values.CurrentSkinName = entry.NameVomSkin;
    }
    if (Values.CurrentSkinName == u"No Skin") return;
    loadSkin();
    ToDoGrid.Repaint();
    RepaintRowColumnButtons();
  });
  if (!done) SkinLoaded = false;
}

void TToDoForm::mnuNoSkinClick() {
  if (Values.CurrentSkinName == u"No Skin") return;
  Values.CurrentSkinName = u"No Skin";
  Values.CurrentSkinPath = u" ";
  RecordChange(-1);
  SetTopMost(false);
  platform_.ShowMessage(caption,
                        EnglishUI ? u"Skin was de-selected! Please restart Tasklane to unload the current skin!"
                                  : u"Skin wurde abgew\u00e4hlt! Sie m\u00fc\u00dfen Tasklane neu starten um diese "
                                    u"Einstellung zu \u00fcbernehmen",
                        platform::MessageIcon::None, platform::MessageButtons::Ok, false);
  SetTopMost(true);
}

}  // namespace tasklane::mainwindow
