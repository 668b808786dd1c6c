// The main window TToDoForm: its components, the program-level values that go with the
// to-do list, and the handlers of start-up, the list file and the language.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "infodialog/ShowInfoSRC.h"
#include "mainwindow/AccessibleView.h"
#include "mainwindow/History.h"
#include "mainwindow/Recovery.h"
#include "platform/Platform.h"
#include "ui/Control.h"
#include "ui/FocusButton.h"
#include "ui/HintTracker.h"
#include "ui/PictureImage.h"
#include "platform/Menu.h"
#include "ui/StringGrid.h"
#include "xml/XmlTree.h"

namespace tasklane::mainwindow {

enum TCellAlignment : std::uint8_t { ALIGNLEFT = 0, ALIGNCENTER = 1, ALIGNRIGHT = 2 };

enum TFoldState : std::uint8_t { Folded = 0, Unfolding = 1, Unfolded = 2, Folding = 3, Starting = 4 };

// Whose address the error report gives.
enum class Team { Development, Quillbox };

#ifdef TASKLANE_GERMAN_UI
inline constexpr bool buildEnglishUI = false;
#else
inline constexpr bool buildEnglishUI = true;
#endif

// The values that belong to the program rather than to one control.
struct ProgramValues {
  std::filesystem::path ProgramFolder;  // ends with a path delimiter
  // Where the list lives: the program folder, or the user's data folder for an installed
  // program. Ends with a path delimiter.
  std::filesystem::path ListFolder;
  int FoldedClientWidth = 0;
  int UnfoldedClientWidth = 0;
  int FoldTargetWidth = 0;
  int FoldTargetLeft = 0;
  TFoldState FoldState = Starting;
  bool StartHidden = false;
  std::u16string CurrentSkinName;
  std::u16string CurrentSkinPath;
  std::vector<TCellAlignment> ColumnAlignments;
  ui::HintSettings Hints;  // for every window of the program
};

using platform::CentredStart;
// An integer as the list file writes it: a minus sign when negative, then the digits.
std::u16string DecimalText(std::int64_t value);

// A skin item of the skin submenu: its place there and the skin's folder name.
struct TSkinMenüEintrag {
  int Nummer = 0;
  std::u16string NameVomSkin;
};

class TToDoForm : public platform::WindowEvents {
 public:
  static constexpr int startTimerId = 1;
  static constexpr int caretTimerId = 2;  // the editor's caret blinks at this timer's pace
  static constexpr int caretBlinkMs = 530;
  static constexpr int hintTimerId = 4;
  static constexpr int recoveryTimerId = 5;  // runs only while a change waits for the journal
  static constexpr std::u16string_view caption = u"Tasklane";
  static constexpr std::u16string_view className = u"TToDoForm";

  TToDoForm(platform::Platform& platform, bool englishUI = buildEnglishUI);
  ~TToDoForm() override;

  // Start-up and shutdown.
  void FormCreate();
  void tmrAnwendungsStartOnTimerTimer();
  bool FormCloseQuery();
  void mnuExitClick();
  void ButtonForFocusClick();

  // Events from the window system.
  void TimerTick(int timerId) override;
  bool CloseQuery() override { return FormCloseQuery(); }
  void Resized() override { FormResize(); }
  void SizeLimits(platform::Size& minimum, platform::Size& maximum) override;
  platform::HitZone HitTest(platform::Point screen) override;
  void Moved() override;
  void Displaced() override { RecordChange(-1); }
  void TrayClicked() override;
  void TrayMenuRequested() override;

  // The frame: presses on its pictures, and where the window may stand.
  void FakeClient(platform::ShiftState shift);
  void PopupFake(platform::ShiftState shift);
  platform::Rect SnappedToWorkArea(const platform::Rect& bounds);

  // Folding to the red bar, minimising and the notification-area icon.
  static constexpr int shrinkTimerId = 3;
  void ImageRedButtonAufklapperClick();
  void TimerShrinkTimer();
  void ImageIconShrinkClick() { ImageRedButtonAufklapperClick(); }
  void ImageIconMinClick();
  void TrayIconClick();

  // The row and column commands.
  void mnuAddRowClick();
  void mnuDeleteRowClick();
  void mnuAddColumnClick();
  void mnuDeleteColumnClick();

  // The context menu and its formatting commands.
  void OpenPopupMenuAt(platform::Point screen);
  void PopupMenuPopup();
  void mnuLeftAlignClick() { SetCurrentColumnAlignment(ALIGNLEFT); }
  void mnuCenterAlignClick() { SetCurrentColumnAlignment(ALIGNCENTER); }
  void mnuRightAlignClick() { SetCurrentColumnAlignment(ALIGNRIGHT); }
  void mnuMakeTitleBoldClick();
  void mnuShowGridLinesClick();
  void mnuChangeTitleClick();
  void mnuOpenFolderHereClick();

  // The document model.
  void AppendToRow(int row, std::u16string_view text);
  void AppendToRow(int row, std::span<const std::u16string_view> texts);
  void ResizeColumnAlignments();
  bool HeaderTextBold();
  void SetHeaderTextBold(bool bold);
  bool DrawGridLines();
  void SetDrawGridLines(bool on);

  // The list file.
  void XMLLaden(const std::filesystem::path& file);
  std::filesystem::path ChooseListFolder();
  bool InstalledProgram();
  std::filesystem::path ListFile() const;
  // True when the list is in place.
  bool XMLSpeichern();
  // Something the list file keeps may have changed (a row's texts, or -1 for anything else).
  void RecordChange(int row);
  void FlushRecovery();

  // The language.
  const bool EnglishUI;
  void ApplyGermanHints();
  void SetHints(bool english);
  void CheckLanguageResource();

  // Called out to the frame, the columns, the skins and the menu.
  void FormResize();
  void AdjustColumnWidths();
  void RefitWhenVerticalBarChanges();
  // Skins and the skin submenu.
  std::u16string EinenPfadAbziehenMitDelimeter(std::u16string_view path);
  void testStartSkin();
  void loadSkin();
  void mnuSkinClick();
  void mnuSelectedSkinClick(const platform::MenuItem& sender);
  void mnuNoSkinClick();
  std::vector<TSkinMenüEintrag> SkinMenuEntries;
  void mnuAboutClick();

  // Drawing, editing, selection and keys in the grid.
  void ToDoGridDrawCell(platform::Canvas& canvas, int col, int row, const platform::Rect& rect,
                        const ui::CellPreparation& prep);
  void ClearGridSelection();
  std::u16string DeleteLineBreaks(std::u16string_view text);
  void PasteOneLine(platform::Clipboard& clipboard);
  void OnKeyDown(int& key, platform::ShiftState shift);
  void ToDoGridSelectCell(int col, int row, bool& canSelect);
  void ToDoGridClick();
  void ToDoGridDblClick();
  void ToDoGridMouseUp();
  void ToDoGridMouseWheel(bool& handled);
  void RepaintRowColumnButtons();
  bool WheelSelectionDone = false;
  // The grid's client coordinates of a point on the screen.
  platform::Point GridClientPoint(platform::Point screen);

  // Runs `body`; a failure in it shows the error report for `place` and ends it there.
  // True when the body ran to its end.
  bool Guarded(std::u16string_view place, Team team, const std::function<void()>& body);
  void ErrorReport(std::u16string_view place, Team team);
  // The input handlers' own failures: their message is shown and the program goes on.
  void Unguarded(const std::function<void()>& body);

  // The window: no border, so the client size is the outer size.
  int Left();
  int Top();
  int ClientWidth();
  int ClientHeight();
  void SetBounds(int left, int top, int width, int height);
  void SetClientSize(int width, int height);
  void SetTopMost(bool topMost);

  platform::Platform& Platform() { return platform_; }
  ProgramValues Values;
  infodialog::InfoDialogs InfoDialogs;

  // Components.
  ui::Control Form;
  ui::StringGrid ToDoGrid;
  ui::FocusButton ButtonForFocus;
  platform::MenuItem PopupMenu;
  platform::MenuItem& mnuChangeTitle;
  platform::MenuItem& mnuMakeTitleBoldDeaktiv;
  platform::MenuItem& mnuMakeTitleBoldAktiv;
  platform::MenuItem& mnuTitleFettDeaktiv;
  platform::MenuItem& mnuTitleFettAktiv;
  platform::MenuItem& mnuShowGridLinesDeaktiv;
  platform::MenuItem& mnuShowGridLinesAktiv;
  platform::MenuItem& mnuThisColumn;
  platform::MenuItem& mnuLeftAlign;
  platform::MenuItem& mnuCenterAlign;
  platform::MenuItem& mnuRightAlign;
  platform::MenuItem& mnuAddRow;
  platform::MenuItem& mnuDeleteRow;
  platform::MenuItem& mnuAddColumn;
  platform::MenuItem& mnuDeleteColumn;
  platform::MenuItem& mnuSkin;
  platform::MenuItem& mnuNoSkin;
  platform::MenuItem& mnuOpenFolderHere;
  platform::MenuItem& mnuAbout;
  platform::MenuItem& mnuExit;
  // The frame pictures, from the bottom up: each is painted over those before it, and all
  // of them below the grid and the button panels.
  ui::PictureImage ImageRight;
  ui::PictureImage ImageBottom;
  ui::PictureImage ImageBottomRight;
  ui::PictureImage ImageRightZoomCorner;
  ui::PictureImage ImageLeftZoomCorner;
  ui::PictureImage ImageTop;
  ui::PictureImage ImageTopRight;
  ui::PictureImage ImageLogo;
  ui::PictureImage ImageRedButtonAufklapper;
  // The button panels, above the grid.
  ui::Panel PanelDeleteKnopf;
  ui::Panel PanelShrinkKnopf;
  ui::Panel PanelMinKnopf;
  ui::Panel PanelPlusRow;
  ui::Panel PanelMinusRow;
  ui::Panel PanelPlusColumn;
  ui::Panel PanelMinusColumn;
  bool SkinLoaded = false;

  // Paints the whole window: its background, the frame, the grid and the panels.
  void Paint(platform::Canvas& canvas, bool active);

  // Input as the window receives it, in window coordinates.
  void FormMouseDown(platform::MouseButton button, platform::Point point, platform::ShiftState shift, bool doubleClick);
  void FormMouseMove(platform::Point point, platform::ShiftState shift);
  void FormMouseUp(platform::MouseButton button, platform::Point point, platform::ShiftState shift);
  void FormMouseWheel(bool down, platform::Point point, platform::ShiftState shift);
  void FormKeyDown(int key, platform::ShiftState shift);
  void FormChar(char16_t c);
  // An input method's commit in place of text around the caret (see LineEditor); without an
  // open editor, or with nothing to replace, it is typed.
  void FormReplaceAroundCaret(int start, int length, std::u16string_view text);
  // An input method's composition; its commit comes as FormChar.
  void FormCompose(std::u16string_view text, int cursor, std::vector<ui::CompositionStyle> styles = {});
  // What an input method asks of the window, in window coordinates.
  struct TextInput {
    bool enabled = false;  // the table takes text
    platform::Rect caret;
    std::u16string text;  // the editor's, around the caret
    int cursor = 0;
    int anchor = 0;
    platform::Font font;
  };
  TextInput FormTextInput();
  // What screen readers are shown of the window.
  AccessibleView Accessible{*this};
  xml::XmlTree XmlDoc;  // the list file as read; emptied once the table holds it
  // The control that has the keyboard focus, nullptr for the window itself.
  ui::Control* ActiveControl = nullptr;
  void SetActiveControl(ui::Control* control);

 private:
  void ConnectGrid();
  // The menu's items are made on the first look-up, as the references to them are bound
  // while the window is being constructed.
  static platform::MenuItem& MenuEntry(platform::MenuItem& menu, std::u16string_view name);
  void ConnectMenu();
  void SetCurrentColumnAlignment(TCellAlignment alignment);
  void SetGridWidth(int width);
  void FitColumns(int verticalBarWidth);
  bool FolderExists(std::u16string_view path);
  std::u16string ProgramFolderText() const;
  std::vector<std::u16string> StartSkinCandidates();
  // The skin base folders beside the program and beside the list, nearest first.
  std::vector<std::u16string> OwnSkinFolders() const;
  void MoveDeleteButton(int left);
  void TogglePair(platform::MenuItem& aktiv, platform::MenuItem& deaktiv);
  // Asks before a removal that would lose texts; true when it may go ahead.
  std::vector<std::u16string> LastLineCells(bool column);
  void BlankLastLine(bool column);
  bool ConfirmRemoval(std::u16string question, const std::vector<std::u16string>& cells);
  // The commands' own work, which undo and redo share with them.
  void AddRow();
  void RemoveRow();
  void AddColumn();
  void RemoveColumn();

  // Undo and redo.
  void SetCellAsStep(int col, int row, std::u16string_view text);
  void EditorOpened();
  void EditorClosing();
  void UndoOrRedo(bool redo);
  void ApplyStep(const TableStep& step, bool undo);
  void ApplyLineStep(const LineStep& step, bool undo);
  void CreateFrame();
  void ConnectFrame();
  std::vector<ui::PictureImage*> FramePictures();
  std::vector<ui::Panel*> ButtonPanels();
  void BuildDefaultDocument();
  void LoadWindowPosition(xml::XmlElement& root);
  void LoadColumnInfo(xml::XmlElement& root, std::int64_t cellBudget);
  void LoadSkinSection(xml::XmlElement& root);
  void LoadColumnHeader(xml::XmlElement& root);
  void LoadToDoContent(xml::XmlElement& root, xml::XmlRows& content);
  void MakeListFile(const platform::Files::ByteWriter& write);
  void PutListFile(const platform::Files::ByteWriter& write);
  bool WriteListFile(bool writeProtectionFailed);
  void ShowSaveError(bool writeProtectionFailed);
  void KeepUnreadableFile(const std::filesystem::path& listFile);
  void RemoveIncompleteFile(const std::filesystem::path& file);
  platform::Rect KeptWindowRect();
  void NoteLoadedList(const std::filesystem::path& file);
  void KeepVersionChangedElsewhere(const std::filesystem::path& target);
  void NoteSavedList(const std::filesystem::path& target);
  void ReportKeptVersions();

  // The recovery journal.
  std::filesystem::path RecoveryFile() const;
  void RecoverAtStart();
  bool TakeRecoveryLock();
  void KeepRecoveryAside(std::u16string_view why, std::string_view suffix);
  void ApplyJournal(const JournalContent& content, std::uint64_t bytes);
  void ApplyRow(const RowTexts& row);
  void ApplyShape(const ListFrame& frame, std::uint64_t bytes);
  void ApplyPlace(const ListFrame& frame);
  void AddRecoveryNotice(const std::u16string& text);
  ListFrame CurrentFrame();
  void StartRecording();
  void AppendChanges();
  void WriteRecoverySnapshot();
  void PrepareRecoveryFolder();
  void EndRecovery();
  void RecoveryWriteFailed();
  void ShowRecoveryNotice();

  ui::Control* ControlAt(platform::Point point);
  void TrackHover(ui::Control* over);

  platform::Platform& platform_;
  ui::Control* captured_ = nullptr;  // took the last press, until its release
  ui::Control* hovered_ = nullptr;
  ui::HintTracker hints_;
  bool listFileUnreadable_ = false;  // the last load could not parse the file
  RecoveryState recovery_;
  History history_;
  CellStep editing_;  // the cell the editor is open on, and its text when it opened
  bool fittedWithVerticalBar_ = false;  // the columns were last fitted beside the vertical bar
};

}  // namespace tasklane::mainwindow
