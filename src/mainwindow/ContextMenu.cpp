// The window's one menu: its items, how it is brought up to date each time it opens, and the
// formatting commands it carries.
#include "mainwindow/ToDoUnit.h"

namespace tasklane::mainwindow {

using platform::MenuItem;

namespace {

constexpr int alignmentGroup = 1;

struct MenuLine {
  std::u16string_view name;
  std::u16string_view caption;
  std::u16string_view picture;  // a file of the artwork; none for an empty name
  int depth = 0;                // 1 for the items of the submenu above
};

constexpr std::u16string_view separator = u"-";

// The menu as designed, top to bottom.
constexpr MenuLine menuLines[] = {
    {u"mnuChangeTitle", u"Change &Title Text", u"mnuChangeTitle.png"},
    {u"mnuMakeTitleBoldDeaktiv", u"Title &Bold", u"mnuMakeTitleBoldDeaktiv.png"},
    {u"mnuMakeTitleBoldAktiv", u"Title &Bold", u"mnuMakeTitleBoldAktiv.png"},
    {u"mnuTitleFettDeaktiv", u"Titelzeile Fett", u"mnuTitleFettDeaktiv.png"},
    {u"mnuTitleFettAktiv", u"Titelzeile Fett", u"mnuTitleFettAktiv.png"},
    {u"mnuShowGridLinesDeaktiv", u"Draw &Grid Lines", u"mnuShowGridLinesDeaktiv.png"},
    {u"mnuShowGridLinesAktiv", u"Draw &Grid Lines", u"mnuShowGridLinesAktiv.png"},
    {u"mnuSeperator3", separator, {}},
    {u"mnuThisColumn", u"&Column ...", u"mnuThisColumn.png"},
    {u"mnuLeftAlign", u"Left Align", {}, 1},
    {u"mnuCenterAlign", u"Center Align", {}, 1},
    {u"mnuRightAlign", u"RightAlign", {}, 1},
    {u"N1", separator, {}},
    {u"mnuAddRow", u"&Add Row", u"mnuAddRow.png"},
    {u"mnuDeleteRow", u"&Delete Row", u"mnuDeleteRow.png"},
    {u"mnuSeperator4", separator, {}},
    {u"mnuAddColumn", u"A&dd Column", u"mnuAddColumn.png"},
    {u"mnuDeleteColumn", u"D&elete Column", u"mnuDeleteColumn.png"},
    {u"mnuSeperator2", separator, {}},
    {u"mnuSkin", u"&Skin ...", u"mnuSkin.png"},
    {u"N3", separator, {}, 1},
    {u"mnuNoSkin", u"No Skin", {}, 1},
    {u"N2", separator, {}},
    {u"mnuOpenFolderHere", u"&Open File Folder", u"mnuOpenFolderHere.png"},
    {u"mnuAbout", u"&About Tasklane", u"mnuAbout.png"},
    {u"mnuSeparator1", separator, {}},
    {u"mnuExit", u"E&xit", u"mnuExit.png"},
};

// The German captions, in the order the menu sets them.
constexpr std::pair<std::u16string_view, std::u16string_view> germanCaptions[] = {
    {u"mnuChangeTitle", u"Titelzeile \u00e4ndern"},
    {u"mnuShowGridLinesDeaktiv", u"Tabellen-Linien malen"},
    {u"mnuShowGridLinesAktiv", u"Tabellen-Linien malen"},
    {u"mnuAddRow", u"Neue Zeile hinzuf\u00fcgen"},
    {u"mnuDeleteRow", u"Letzte Zeile entfernen"},
    {u"mnuAddColumn", u"Neue Spalte hinzuf\u00fcgen"},
    {u"mnuDeleteColumn", u"Letzte Spalte entfernen"},
    {u"mnuOpenFolderHere", u"Datei-Ordner \u00f6ffnen"},
    {u"mnuAbout", u"\u00dcber Tasklane"},
    {u"mnuExit", u"Beenden"},
    {u"mnuThisColumn", u"Spalte..."},
    {u"mnuLeftAlign", u"Links"},
    {u"mnuCenterAlign", u"Zentriert"},
    {u"mnuRightAlign", u"Rechts"},
    {u"mnuNoSkin", u"Kein Skin"},
};

void BuildMenu(MenuItem& menu) {
  MenuItem* submenuOwner = nullptr;
  for (const MenuLine& line : menuLines) {
    MenuItem& item = (line.depth == 0 ? menu : *submenuOwner).Add(line.name, line.caption);
    if (line.depth == 0) submenuOwner = &item;
    item.SetPicture(line.picture);
    if (item.Name().ends_with(u"ktiv")) item.SetVisible(false);  // the flags decide which of a pair shows
    if (line.depth == 1 && submenuOwner->Name() == u"mnuThisColumn") item.SetRadioGroup(alignmentGroup);
  }
}

}  // namespace

MenuItem& TToDoForm::MenuEntry(MenuItem& menu, std::u16string_view name) {
  if (menu.Count() == 0) BuildMenu(menu);
  return *menu.Find(name);
}

void TToDoForm::ConnectMenu() {
  mnuChangeTitle.OnClick([this] { mnuChangeTitleClick(); });
  for (MenuItem* item : {&mnuMakeTitleBoldDeaktiv, &mnuMakeTitleBoldAktiv, &mnuTitleFettDeaktiv, &mnuTitleFettAktiv}) {
    item->OnClick([this] { mnuMakeTitleBoldClick(); });
  }
  mnuShowGridLinesDeaktiv.OnClick([this] { mnuShowGridLinesClick(); });
  mnuShowGridLinesAktiv.OnClick([this] { mnuShowGridLinesClick(); });
  mnuLeftAlign.OnClick([this] { mnuLeftAlignClick(); });
  mnuCenterAlign.OnClick([this] { mnuCenterAlignClick(); });
  mnuRightAlign.OnClick([this] { mnuRightAlignClick(); });
  mnuAddRow.OnClick([this] { mnuAddRowClick(); });
  mnuDeleteRow.OnClick([this] { mnuDeleteRowClick(); });
  mnuAddColumn.OnClick([this] { mnuAddColumnClick(); });
  mnuDeleteColumn.OnClick([this] { mnuDeleteColumnClick(); });
  mnuSkin.OnPopup([this] { mnuSkinClick(); });
  mnuNoSkin.OnClick([this] { mnuNoSkinClick(); });
  mnuOpenFolderHere.OnClick([this] { mnuOpenFolderHereClick(); });
  mnuAbout.OnClick([this] { mnuAboutClick(); });
  mnuExit.OnClick([this] { mnuExitClick(); });
}

void TToDoForm::OpenPopupMenuAt(platform::Point screen) {
  captured_ = nullptr;  // the menu takes the release of the press that opened it
  PopupMenuPopup();
  if (MenuItem* chosen = platform_.OpenPopupMenu(PopupMenu, screen)) chosen->Choose();
  platform_.Repaint();
}

void TToDoForm::PopupMenuPopup() {
  if (!EnglishUI) {
    for (const auto& [name, german] : germanCaptions) PopupMenu.Find(name)->SetCaption(german);
    const int rows = ToDoGrid.RowCount();
    const int cols = ToDoGrid.ColCount();
    mnuAddRow.SetEnabled(rows < 100);
    mnuDeleteRow.SetEnabled(rows > 2);
    mnuAddColumn.SetEnabled(cols < 100);
    mnuDeleteColumn.SetEnabled(cols > 1);
  }
  const ui::GridRect selection = ToDoGrid.Selection();
  if (selection.left == -1) {
    mnuThisColumn.SetEnabled(false);
    return;
  }
  mnuThisColumn.SetEnabled(true);
  for (MenuItem* item : {&mnuLeftAlign, &mnuCenterAlign, &mnuRightAlign}) item->SetChecked(false);
  const auto column = static_cast<std::size_t>(selection.left);
  const TCellAlignment alignment = column < Values.ColumnAlignments.size() ? Values.ColumnAlignments[column] : ALIGNLEFT;
  (alignment == ALIGNCENTER ? mnuCenterAlign : alignment == ALIGNRIGHT ? mnuRightAlign : mnuLeftAlign).SetChecked(true);
}

void TToDoForm::SetCurrentColumnAlignment(TCellAlignment alignment) {
  const int column = ToDoGrid.Selection().left;
  if (column < 0) return;
  ResizeColumnAlignments();
  if (static_cast<std::size_t>(column) < Values.ColumnAlignments.size()) {
    TCellAlignment& current = Values.ColumnAlignments[static_cast<std::size_t>(column)];
    if (current != alignment) history_.Record(AlignmentStep{column, current, alignment});
    current = alignment;
  }
  RecordChange(-1);
  ToDoGrid.Repaint();
}

// Of each pair of flag items exactly one shows; a choice shows the other one.
void TToDoForm::TogglePair(MenuItem& aktiv, MenuItem& deaktiv) {
  const bool wasOn = aktiv.Visible();
  deaktiv.SetVisible(wasOn);
  aktiv.SetVisible(!wasOn);
  RecordChange(-1);
}

void TToDoForm::mnuMakeTitleBoldClick() {
  if (EnglishUI) TogglePair(mnuMakeTitleBoldAktiv, mnuMakeTitleBoldDeaktiv);
  else TogglePair(mnuTitleFettAktiv, mnuTitleFettDeaktiv);
  ToDoGrid.Repaint();
  RepaintRowColumnButtons();
}

void TToDoForm::mnuShowGridLinesClick() {
  TogglePair(mnuShowGridLinesAktiv, mnuShowGridLinesDeaktiv);
  ToDoGrid.SetGridLineWidth(mnuShowGridLinesAktiv.Visible() ? 1 : 0);
  RefitWhenVerticalBarChanges();
  ToDoGrid.Repaint();
  RepaintRowColumnButtons();
}

void TToDoForm::mnuChangeTitleClick() { ToDoGrid.SetFixedRows(0); }

// The dialog is an ordinary window: the main window leaves the top-most band while it
// opens, so that the dialog is not born behind it, and comes back at once.
void TToDoForm::mnuAboutClick() {
  SetTopMost(false);
  InfoDialogs.OpenInfoDialog(EnglishUI ? u"English" : u"Deutsch");
  SetTopMost(true);
}

void TToDoForm::mnuOpenFolderHereClick() {
  Guarded(u"OpenFolderHereClick", Team::Quillbox,
          [&] { platform_.ShowFileInBrowser(ListFile()); });
}

}  // namespace tasklane::mainwindow
