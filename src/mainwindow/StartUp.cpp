// Creating the main window, the start timer, and closing.
#include <algorithm>

#include "mainwindow/ToDoUnit.h"

namespace tasklane::mainwindow {

TToDoForm::TToDoForm(platform::Platform& platform, bool englishUI)
    : EnglishUI(englishUI),
      Form(u"ToDoForm", nullptr),
      ToDoGrid(u"ToDoGrid", &Form, 3, 6, platform.ClipboardService()),
      ButtonForFocus(u"ButtonForFocus", &Form),
      PopupMenu(u"PopupMenu"),
      mnuMakeTitleBoldAktiv(PopupMenu.Add(u"mnuMakeTitleBoldAktiv")),
      mnuMakeTitleBoldDeaktiv(PopupMenu.Add(u"mnuMakeTitleBoldDeaktiv")),
      mnuTitleFettAktiv(PopupMenu.Add(u"mnuTitleFettAktiv")),
      mnuTitleFettDeaktiv(PopupMenu.Add(u"mnuTitleFettDeaktiv")),
      mnuShowGridLinesAktiv(PopupMenu.Add(u"mnuShowGridLinesAktiv")),
      mnuShowGridLinesDeaktiv(PopupMenu.Add(u"mnuShowGridLinesDeaktiv")),
      mnuExit(PopupMenu.Add(u"mnuExit", u"E&xit")),
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
      platform_(platform) {
  // The window as designed: the grid's widths, hidden flag items, the English hints.
  ToDoGrid.SetColWidth(0, 50);
  ToDoGrid.SetColWidth(1, 235);
  ToDoGrid.SetColWidth(2, 45);
  ToDoGrid.SetBounds(platform::Rect::FromBounds(30, 30, 310, 151));
  for (ui::MenuItem* item : {&mnuMakeTitleBoldAktiv, &mnuMakeTitleBoldDeaktiv, &mnuTitleFettAktiv,
                             &mnuTitleFettDeaktiv, &mnuShowGridLinesAktiv, &mnuShowGridLinesDeaktiv}) {
    item->SetVisible(false);
  }
  mnuExit.OnClick([this] { mnuExitClick(); });
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
  platform_.SetTimer(caretTimerId, caretBlinkMs, true);
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

    SetClientSize(0, ClientHeight());
    Values.FoldedClientWidth = std::max(ClientWidth(), 30);
    SetClientSize(370, 211);

    if (platform_.FileSystem().FileExists(Values.ProgramFolder / "ToDoList.xml")) XMLLaden();
    else BuildDefaultDocument();

    Values.FoldState = Unfolded;
    FormResize();
    if (!EnglishUI) ApplyGermanHints();
    CheckLanguageResource();
    const std::vector<std::u16string> arguments = platform_.CommandLineArguments();
    if (!arguments.empty() && arguments.front() == u"-m") Values.StartHidden = true;
    platform_.SetTimer(startTimerId, 1, true);
  });
}

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
  FindStartSkin();
  FormResize();
  mnuAboutClick();
}

void TToDoForm::tmrAnwendungsStartOnTimerTimer() {
  Guarded(u"tmrAnwendungsStartOnTimerTimer", Team::Development, [&] {
    platform_.SetTimer(startTimerId, 1, false);
    platform_.ShowWindow(Values.StartHidden ? platform::WindowShow::Hide : platform::WindowShow::Show);
  });
}

void TToDoForm::TimerTick(int timerId) {
  if (timerId == startTimerId) tmrAnwendungsStartOnTimerTimer();
  if (timerId == caretTimerId && ToDoGrid.EditorMode()) {
    ToDoGrid.Editor().BlinkCaret();
    ToDoGrid.Repaint();
  }
}

bool TToDoForm::FormCloseQuery() {
  Guarded(u"FormCloseQuery", Team::Quillbox, [&] {
    XMLSpeichern();
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

void TToDoForm::SetBounds(int left, int top, int width, int height) {
  platform_.SetWindowBounds(platform::Rect::FromBounds(left, top, width, height));
}

void TToDoForm::SetClientSize(int width, int height) { SetBounds(Left(), Top(), width, height); }

void TToDoForm::SetTopMost(bool topMost) { platform_.SetTopMost(topMost); }

}  // namespace tasklane::mainwindow
