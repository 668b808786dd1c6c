// Creating the main window, the start timer, and closing.
#include <algorithm>

#include "mainwindow/ListFileNames.h"
#include "mainwindow/ToDoUnit.h"

namespace tasklane::mainwindow {

TToDoForm::TToDoForm(platform::Platform& platform, bool englishUI)
    : EnglishUI(englishUI),
      InfoDialogs(platform, Values.Hints),
      Form(u"ToDoForm", nullptr),
      ToDoGrid(u"ToDoGrid", &Form, 3, 6, platform.ClipboardService()),
      ButtonForFocus(u"ButtonForFocus", &Form),
      PopupMenu(u"PopupMenu"),
      mnuChangeTitle(MenuEntry(PopupMenu, u"mnuChangeTitle")),
      mnuMakeTitleBoldDeaktiv(MenuEntry(PopupMenu, u"mnuMakeTitleBoldDeaktiv")),
      mnuMakeTitleBoldAktiv(MenuEntry(PopupMenu, u"mnuMakeTitleBoldAktiv")),
      mnuTitleFettDeaktiv(MenuEntry(PopupMenu, u"mnuTitleFettDeaktiv")),
      mnuTitleFettAktiv(MenuEntry(PopupMenu, u"mnuTitleFettAktiv")),
      mnuShowGridLinesDeaktiv(MenuEntry(PopupMenu, u"mnuShowGridLinesDeaktiv")),
      mnuShowGridLinesAktiv(MenuEntry(PopupMenu, u"mnuShowGridLinesAktiv")),
      mnuThisColumn(MenuEntry(PopupMenu, u"mnuThisColumn")),
      mnuLeftAlign(MenuEntry(PopupMenu, u"mnuLeftAlign")),
      mnuCenterAlign(MenuEntry(PopupMenu, u"mnuCenterAlign")),
      mnuRightAlign(MenuEntry(PopupMenu, u"mnuRightAlign")),
      mnuAddRow(MenuEntry(PopupMenu, u"mnuAddRow")),
      mnuDeleteRow(MenuEntry(PopupMenu, u"mnuDeleteRow")),
      mnuAddColumn(MenuEntry(PopupMenu, u"mnuAddColumn")),
      mnuDeleteColumn(MenuEntry(PopupMenu, u"mnuDeleteColumn")),
      mnuSkin(MenuEntry(PopupMenu, u"mnuSkin")),
      mnuNoSkin(MenuEntry(PopupMenu, u"mnuNoSkin")),
      mnuOpenFolderHere(MenuEntry(PopupMenu, u"mnuOpenFolderHere")),
      mnuAbout(MenuEntry(PopupMenu, u"mnuAbout")),
      mnuExit(MenuEntry(PopupMenu, u"mnuExit")),
      ImageRight(u"ImageRight", &Form),
      ImageBottom(u"ImageBottom", &Form),
      ImageBottomRight(u"ImageBottomRight", &Form),
      ImageRightZoomCorner(u"ImageRightZoomCorner", &Form),
      ImageLeftZoomCorner(u"ImageLeftZoomCorner", &Form),
      ImageTop(u"ImageTop", &Form),
      ImageTopRight(u"ImageTopRight", &Form),
      ImageLogo(u"ImageLogo", &Form),
      ImageRedButtonAufklapper(u"ImageRedButtonAufklapper", &Form),
      PanelDeleteKnopf(u"PanelDeleteKnopf", &Form, u"ImageIconDel"),
      PanelShrinkKnopf(u"PanelShrinkKnopf", &Form, u"ImageIconShrink"),
      PanelMinKnopf(u"PanelMinKnopf", &Form, u"ImageIconMin"),
      PanelPlusRow(u"PanelPlusRow", &Form, u"ImagePlusRow"),
      PanelMinusRow(u"PanelMinusRow", &Form, u"ImageMinusRow"),
      PanelPlusColumn(u"PanelPlusColumn", &Form, u"ImagePlusColumn"),
      PanelMinusColumn(u"PanelMinusColumn", &Form, u"ImageMinusColumn"),
      platform_(platform),
      hints_(platform, Values.Hints, [this](int intervalMs, bool enabled) {
        platform_.SetTimer(hintTimerId, intervalMs, enabled);
      }) {
  // The window as designed: the grid's widths, hidden flag items, the English hints.
  ToDoGrid.SetColWidth(0, 50);
  ToDoGrid.SetColWidth(1, 235);
  ToDoGrid.SetColWidth(2, 45);
  ToDoGrid.SetBounds(platform::Rect::FromBounds(30, 30, 310, 151));
  ConnectMenu();
  ButtonForFocus.SetBounds(platform::Rect::FromBounds(-100, 48, 75, 25));
  ButtonForFocus.SetCaption(u"ButtonForFocus");
  ButtonForFocus.SetTabOrder(3);
  ButtonForFocus.OnClick([this] { ButtonForFocusClick(); });
  SetHints(true);
  CreateFrame();
  ToDoGrid.OnRepaint([this](ui::Control&) { platform_.Repaint(); });
  ConnectGrid();
  ResizeColumnAlignments();
  SetActiveControl(&ToDoGrid);
  platform_.AttachWindow(*this);
  platform_.SetTimer(startTimerId, 1, false);
  platform_.ShowTrayIcon(caption);
}

TToDoForm::~TToDoForm() = default;

void TToDoForm::ConnectGrid() {
  ToDoGrid.OnDrawCell = [this](platform::Canvas& canvas, int col, int row, const platform::Rect& rect,
                               const ui::CellPreparation& prep) { ToDoGridDrawCell(canvas, col, row, rect, prep); };
  ToDoGrid.OnSelectCell = [this](int col, int row, bool& canSelect) { ToDoGridSelectCell(col, row, canSelect); };
  ToDoGrid.OnClick = [this] { ToDoGridClick(); };
  ToDoGrid.OnDblClick = [this] { ToDoGridDblClick(); };
  ToDoGrid.OnMouseUp = [this](platform::MouseButton, platform::ShiftState, platform::Point) { ToDoGridMouseUp(); };
  ToDoGrid.OnMouseWheel = [this](bool, platform::ShiftState, platform::Point, bool& handled) {
    ToDoGridMouseWheel(handled);
  };
  ToDoGrid.OnKeyDown = [this](int& key, platform::ShiftState shift) { OnKeyDown(key, shift); };
  ToDoGrid.OnTabOut = [this](bool) { SetActiveControl(&ButtonForFocus); };
  ToDoGrid.OnCaretShown = [this](bool shown) { platform_.SetTimer(caretTimerId, caretBlinkMs, shown); };
  ToDoGrid.OnDataChanged = [this](int row) {
    RecordChange(row);
    Accessible.RowChanged(row);
  };
  ToDoGrid.OnEditorOpened = [this] { EditorOpened(); };
  ToDoGrid.OnEditorClosing = [this] { EditorClosing(); };
}

// The grid closes its editor when the focus leaves it.
void TToDoForm::SetActiveControl(ui::Control* control) {
  ActiveControl = control;
  ToDoGrid.SetFocused(control == &ToDoGrid);
}

platform::Point TToDoForm::GridClientPoint(platform::Point screen) {
  const platform::Rect grid = ToDoGrid.Bounds();
  return {screen.x - Left() - grid.left - 1, screen.y - Top() - grid.top - 1};
}

void TToDoForm::FormCreate() {
  Guarded(u"FormCreate", Team::Development, [&] {
    ClearGridSelection();
    SetTopMost(true);
    const std::filesystem::path executable = std::filesystem::absolute(platform_.ExecutablePath());
    Values.ProgramFolder = executable.parent_path() / "";
    platform_.SetCurrentFolder(Values.ProgramFolder);
    Values.ListFolder = ChooseListFolder();

    SetClientSize(0, ClientHeight());
    Values.FoldedClientWidth = std::max(ClientWidth(), 30);
    SetClientSize(370, 211);

    platform::Files& files = platform_.FileSystem();
    const std::filesystem::path besideProgram = Values.ProgramFolder / listFileName;
    // A list left beside a copy whose folder is now read-only is read once from there.
    if (files.FileExists(ListFile())) XMLLaden(ListFile());
    else if (ListFile() != besideProgram && files.FileExists(besideProgram)) XMLLaden(besideProgram);
    else BuildDefaultDocument();
    ReportKeptVersions();
    RecoverAtStart();

    Values.FoldState = Unfolded;
    FormResize();
    if (!EnglishUI) ApplyGermanHints();
    CheckLanguageResource();
    const std::vector<std::u16string> arguments = platform_.CommandLineArguments();
    if (!arguments.empty() && arguments.front() == u"-m") Values.StartHidden = true;
    platform_.SetTimer(startTimerId, 1, true);
  });
  StartRecording();
}

// A copy in a folder its user may write keeps the list beside itself. An installed program
// keeps it in the user's data folder, which the first save makes: for every user, root too,
// who may write any folder but whose list does not belong among the system's programs.
std::filesystem::path TToDoForm::ChooseListFolder() {
  const std::filesystem::path data = platform_.UserDataFolder();
  if (data.empty()) return Values.ProgramFolder;
  if (!InstalledProgram() && platform_.FileSystem().CanWriteInFolder(Values.ProgramFolder)) return Values.ProgramFolder;
  return data / "";
}

// Installed as the package and an install of the build lay it out: the executable in the
// bin folder of a prefix whose share/applications holds the program's desktop entry.
bool TToDoForm::InstalledProgram() {
  const std::filesystem::path bin = Values.ProgramFolder.parent_path();
  return bin.filename() == "bin" &&
         platform_.FileSystem().FileExists(bin.parent_path() / "share" / "applications" / "tasklane.desktop");
}

std::filesystem::path TToDoForm::ListFile() const { return Values.ListFolder / listFileName; }

// A first start: the window's design table with the sample texts.
void TToDoForm::BuildDefaultDocument() {
  const platform::Size screen = platform_.PrimaryScreenSize();
  SetBounds(screen.width - ClientWidth() - 40, CentredStart(screen.height, ClientHeight()), ClientWidth(),
            ClientHeight());
  AppendToRow(0, u"Prio");
  AppendToRow(0, EnglishUI ? u"Task" : u"Aufgabe");
  AppendToRow(0, EnglishUI ? u"Time" : u"Zeit");
  AppendToRow(1, EnglishUI ? u"High" : u"Hoch");
  AppendToRow(1, EnglishUI ? u"...Click here for new task" : u"...Klicken f\u00fcr neue Aufgabe");
  AppendToRow(1, u"10min");
  Values.ColumnAlignments = {ALIGNCENTER, ALIGNLEFT, ALIGNCENTER};
  SetClientSize(370, 211);
  Values.FoldState = Unfolded;
  SetHeaderTextBold(false);
  mnuShowGridLinesAktiv.SetVisible(true);
  AdjustColumnWidths();
  Values.CurrentSkinName = u"No Skin";
  testStartSkin();
  FormResize();
  mnuAboutClick();
}

void TToDoForm::tmrAnwendungsStartOnTimerTimer() {
  Guarded(u"tmrAnwendungsStartOnTimerTimer", Team::Development, [&] {
    platform_.SetTimer(startTimerId, 1, false);
    platform_.ShowWindow(Values.StartHidden ? platform::WindowShow::Hide : platform::WindowShow::Show);
  });
  recovery_.windowShown = true;
  Unguarded([&] { ShowRecoveryNotice(); });
}

void TToDoForm::TimerTick(int timerId) {
  if (timerId == startTimerId) tmrAnwendungsStartOnTimerTimer();
  if (timerId == shrinkTimerId) TimerShrinkTimer();
  if (timerId == hintTimerId) hints_.Tick();
  if (timerId == recoveryTimerId) FlushRecovery();
  if (timerId == caretTimerId && ToDoGrid.EditorMode()) {
    ToDoGrid.Editor().BlinkCaret();
    ToDoGrid.Repaint();
  }
  Accessible.TellChanges();
}

void TToDoForm::TrayClicked() {
  TrayIconClick();
  Accessible.TellChanges();
}

void TToDoForm::TrayMenuRequested() {
  OpenPopupMenuAt(platform_.CursorPosition());
  Accessible.TellChanges();
}

bool TToDoForm::FormCloseQuery() {
  Guarded(u"FormCloseQuery", Team::Quillbox, [&] {
    // What the journal has not got yet goes there first: should saving fail, it still holds
    // every change.
    recovery_.closing = true;
    FlushRecovery();
    if (XMLSpeichern()) EndRecovery();
    platform_.ProcessMessages();
    platform_.Terminate();
  });
  return true;
}

void TToDoForm::mnuExitClick() { platform_.RequestClose(); }

void TToDoForm::ButtonForFocusClick() { ButtonForFocus.SetCaption(DecimalText(ToDoGrid.ColWidth(0))); }

int TToDoForm::Left() { return platform_.WindowBounds().left; }
int TToDoForm::Top() { return platform_.WindowBounds().top; }
int TToDoForm::ClientWidth() { return platform_.WindowBounds().Width(); }
int TToDoForm::ClientHeight() { return platform_.WindowBounds().Height(); }

// A move that keeps the size snaps to the work area's edges, as the user's moves do.
void TToDoForm::SetBounds(int left, int top, int width, int height) {
  const platform::Rect current = platform_.WindowBounds();
  platform::Rect bounds = platform::Rect::FromBounds(left, top, width, height);
  const bool moveOnly = bounds.Width() == current.Width() && bounds.Height() == current.Height() &&
                        (bounds.left != current.left || bounds.top != current.top);
  if (moveOnly) bounds = SnappedToWorkArea(bounds);
  platform_.SetWindowBounds(bounds);
  RecordChange(-1);
}

void TToDoForm::SetClientSize(int width, int height) { SetBounds(Left(), Top(), width, height); }

void TToDoForm::SetTopMost(bool topMost) { platform_.SetTopMost(topMost); }

}  // namespace tasklane::mainwindow
