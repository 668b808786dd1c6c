// A complete platform in memory that answers as a real one does, for tests that start the
// program and use it as a user would: the window, the screen, message boxes that answer what
// the test scripted, timers that tick when the test says, the single-instance desktop, and
// files in a fresh temporary folder with injectable faults.
#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform.h"
#include "support/FaultyFiles.h"

namespace tasklane::testing {

struct ShownMessage {
  std::u16string title;
  std::u16string text;
  platform::MessageIcon icon = platform::MessageIcon::None;
  platform::MessageButtons buttons = platform::MessageButtons::Ok;
  bool ownerless = false;
  bool windowTopMost = false;  // a top-most window would hide an owned box behind it
  bool confirmation = false;   // titled by the platform, not by the program
};

struct ShownHint {
  std::u16string text;
  platform::Point at;
  platform::Color background;
};

// One item as a menu offered it when it opened; `depth` 0 for the menu's own items.
struct OfferedItem {
  std::u16string name;
  std::u16string caption;
  std::u16string picture;
  bool visible = true;
  bool enabled = true;
  bool checked = false;
  int radioGroup = 0;
  int depth = 0;
};

struct OfferedMenu {
  platform::Point at;
  std::vector<OfferedItem> items;  // in menu order, each submenu's items after its item
  const OfferedItem* Item(std::u16string_view name) const;
};

struct ScriptedTimer {
  int intervalMs = 0;
  bool enabled = false;
};

// A dialog window in memory. Its client area is its outer size less a 3-pixel border and,
// at the top, a 26-pixel title bar.
class ScriptedDialog final : public platform::DialogWindow {
 public:
  ScriptedDialog(platform::DialogEvents& events, std::vector<ScriptedDialog*>& registry);
  ~ScriptedDialog() override;
  ScriptedDialog(const ScriptedDialog&) = delete;
  ScriptedDialog& operator=(const ScriptedDialog&) = delete;

  platform::DialogEvents& Events() { return events_; }
  const std::u16string& Title() const { return title_; }
  int Moves() const { return moves_; }
  int ShowCalls() const { return shows_; }
  const ScriptedTimer& HintTimer() const { return timer_; }

  void SetTitle(std::u16string_view title) override { title_ = title; }
  platform::Rect OuterBounds() override { return bounds_; }
  void SetOuterBounds(const platform::Rect& bounds) override { bounds_ = bounds; }
  platform::Size ClientSize() override { return {bounds_.Width() - 6, bounds_.Height() - 32}; }
  void Show() override {
    visible_ = true;
    ++shows_;
  }
  void Hide() override { visible_ = false; }
  bool Visible() override { return visible_; }
  void Repaint() override {}
  void StartSystemMove() override { ++moves_; }
  void SetTimer(int intervalMs, bool enabled) override { timer_ = {intervalMs, enabled}; }

 private:
  platform::DialogEvents& events_;
  std::vector<ScriptedDialog*>& registry_;
  std::u16string title_;
  platform::Rect bounds_;
  bool visible_ = false;
  int shows_ = 0;
  int moves_ = 0;
  ScriptedTimer timer_;
};


// The logon session as the single-instance check sees it. Several ScriptedPlatforms may share
// one, each standing for an instance of the program.
struct ScriptedDesktop {
  bool lockExists = false;  // another instance holds the named lock
  bool lockFails = false;   // the lock cannot be created at all
  std::vector<platform::TopLevelWindow> windows;  // topmost first

  std::vector<std::u16string> lockNames;  // one per CreateInstanceLock
  int lockCloses = 0;
  std::vector<std::uintptr_t> shownNormalAndForeground;

  // Each makes its call throw std::runtime_error, as a failing system call surfaces.
  bool createLockThrows = false;
  bool closeLockThrows = false;
  bool topLevelWindowsThrows = false;
  bool showNormalAndForegroundThrows = false;
};

class ScriptedPlatform : public platform::Platform {
 public:
  explicit ScriptedPlatform(std::shared_ptr<ScriptedDesktop> desktop = std::make_shared<ScriptedDesktop>());
  // Gives back the current folder the process had, gives up a lock it holds as an ending
  // process does, and removes Folder().
  ~ScriptedPlatform() override;
  ScriptedPlatform(const ScriptedPlatform&) = delete;
  ScriptedPlatform& operator=(const ScriptedPlatform&) = delete;

  // A fresh temporary folder of this platform's own; the executable lives in it by default.
  const std::filesystem::path& Folder() const { return folder_; }

  // --- What the test sets and reads ---

  // Where the window system put the window at creation: left 100, top 100, size 0x0 unless
  // set before the program attaches its window.
  void SetCreationBounds(const platform::Rect& bounds);
  platform::WindowEvents* AttachedEvents() const { return events_; }
  bool TopMost() const { return topMost_; }
  const std::vector<platform::WindowShow>& ShowCalls() const { return showCalls_; }
  int Repaints() const { return repaints_; }
  int ResizedEvents() const { return resizedEvents_; }
  int CloseRequests() const { return closeRequests_; }
  bool Closed() const { return closed_; }
  bool Minimized() const { return minimized_; }
  int Activations() const { return activations_; }
  int SystemMoves() const { return systemMoves_; }
  const std::vector<platform::HitZone>& SystemResizes() const { return systemResizes_; }
  void SetWorkArea(const platform::Rect& area) { workArea_ = area; workAreaSet_ = true; }

  // Each opening of a menu is recorded as it offered itself, every submenu opened (its
  // Popup() run) on the way. The coming openings choose the items named here, in order; with
  // none left a menu is dismissed. Choosing a hidden or disabled item fails the test.
  void PushMenuChoice(std::u16string name) { menuChoices_.push_back(std::move(name)); }
  const std::vector<OfferedMenu>& Menus() const { return menus_; }

  const std::u16string& TrayTip() const { return trayTip_; }
  const std::vector<ShownHint>& Hints() const { return hints_; }
  bool HintShowing() const { return hintShowing_; }
  const std::vector<std::filesystem::path>& BrowsedFiles() const { return browsedFiles_; }
  const std::vector<std::u16string>& OpenedAddresses() const { return openedAddresses_; }
  // The dialog windows that exist, oldest first.
  const std::vector<ScriptedDialog*>& Dialogs() const { return dialogs_; }

  // The virtual desktop is the primary screen at (0,0) until set apart from it.
  void SetPrimaryScreenSize(platform::Size size) { primaryScreen_ = size; }
  void SetVirtualDesktop(const platform::Rect& desktop);

  // Answers the coming message boxes in order. With none left a box is answered Ok, or No
  // for a YesNo box: the answer that changes the least. An answer the box has no button for
  // fails the test.
  void PushAnswer(platform::MessageAnswer answer) { answers_.push_back(answer); }
  int PendingAnswers() const { return static_cast<int>(answers_.size()); }
  const std::vector<ShownMessage>& Messages() const { return messages_; }
  // Runs while a box is open, as a modal box's own message loop lets timers and events in.
  void SetWhileMessageShows(std::function<void(const ShownMessage&)> action) { whileMessage_ = std::move(action); }

  // nullptr for a timer the program never set.
  const ScriptedTimer* Timer(int timerId) const;
  // Delivers one tick when that timer is enabled and the window is open; says whether it did.
  bool TickTimer(int timerId);
  // Ticks the enabled timers in turn, in id order, until none is enabled or `maxTicks`
  // ticks; returns how many it delivered.
  int RunTimers(int maxTicks);

  int ProcessMessagesCalls() const { return processMessagesCalls_; }
  // Runs inside every ProcessMessages, for events that arrive while the program waits.
  void SetWhileProcessingMessages(std::function<void()> action) { whileProcessing_ = std::move(action); }
  bool Terminated() const { return terminated_; }
  void SetCommandLineArguments(std::vector<std::u16string> arguments) { arguments_ = std::move(arguments); }
  void SetExecutablePath(std::filesystem::path path) { executablePath_ = std::move(path); }
  void SetUserDataFolder(std::filesystem::path path) { userDataFolder_ = std::move(path); }
  const std::vector<std::filesystem::path>& CurrentFolderCalls() const { return currentFolderCalls_; }
  void SetLocalNow(platform::LocalTime now) { localNow_ = now; }
  // GUIDs count up from {00000000-0000-0000-0000-000000000001}, per platform.
  void SetNewGuidFails(bool fails) { newGuidFails_ = fails; }
  // The build's language until set.
  void SetLanguageResource(std::u16string language) {
    language_ = std::move(language);
    languageSet_ = true;
  }
  bool LanguageResourceSet() const { return languageSet_; }

  ScriptedDesktop& Desktop() { return *desktop_; }
  const std::shared_ptr<ScriptedDesktop>& SharedDesktop() const { return desktop_; }
  bool HoldsInstanceLock() const { return holdsLock_; }

  // --- Platform ---

  void AttachWindow(platform::WindowEvents& events) override;
  platform::Rect WindowBounds() override {
    if (boundsFail_) throw std::runtime_error("window bounds not available");
    return bounds_;
  }
  // Makes WindowBounds throw, as a call on a window that is being torn down may.
  void SetWindowBoundsFails(bool fails) { boundsFail_ = fails; }
  void SetShowWindowFails(bool fails) { showFails_ = fails; }
  // Asks the attached window for its size limits on every call, with 0x0 and 16777215x16777215
  // (no limit) filled in first, and calls Resized when the size changed.
  void SetWindowBounds(const platform::Rect& bounds) override;
  void SetTopMost(bool topMost) override { topMost_ = topMost; }
  void ShowWindow(platform::WindowShow how) override;
  bool WindowVisible() override { return visible_; }
  bool WindowTakesInput() override { return takesInput; }
  bool takesInput = true;  // the test says when a box would keep the user out
  // Without an attached window there is nobody to ask, and the window closes.
  void RequestClose() override;
  void Repaint() override { ++repaints_; }
  void ActivateWindow() override { ++activations_; }
  void StartSystemMove() override { ++systemMoves_; }
  void StartSystemResize(platform::HitZone edge) override { systemResizes_.push_back(edge); }

  platform::Size PrimaryScreenSize() override { return primaryScreen_; }
  platform::Point CursorPosition() override { return cursor_; }
  void SetCursorPosition(platform::Point cursor) { cursor_ = cursor; }
  platform::Rect VirtualDesktop() override;
  // The primary screen until set.
  platform::Rect WorkAreaNearest(const platform::Rect& window) override;
  platform::Color ButtonFaceColor() override { return buttonFace_; }
  void SetButtonFaceColor(platform::Color color) { buttonFace_ = color; }

  platform::MenuItem* OpenPopupMenu(platform::MenuItem& menu, platform::Point screen) override;
  void ShowTrayIcon(std::u16string_view tip) override { trayTip_ = tip; }
  void ShowHint(std::u16string_view text, platform::Point screen, platform::Color background) override {
    hints_.push_back({std::u16string(text), screen, background});
    hintShowing_ = true;
  }
  void HideHint() override { hintShowing_ = false; }
  void ShowFileInBrowser(const std::filesystem::path& file) override { browsedFiles_.push_back(file); }
  void OpenAddress(std::u16string_view address) override { openedAddresses_.emplace_back(address); }
  std::unique_ptr<platform::DialogWindow> CreateDialogWindow(platform::DialogEvents& events) override {
    return std::make_unique<ScriptedDialog>(events, dialogs_);
  }

  platform::MessageAnswer ShowMessage(std::u16string_view title, std::u16string_view text, platform::MessageIcon icon,
                                      platform::MessageButtons buttons, bool ownerless) override;
  // Recorded as a Yes/No question box with no title of the program's.
  platform::MessageAnswer ShowConfirmation(std::u16string_view question) override;

  void SetTimer(int timerId, int intervalMs, bool enabled) override { timers_[timerId] = {intervalMs, enabled}; }

  void ProcessMessages() override;
  void Terminate() override { terminated_ = true; }
  std::vector<std::u16string> CommandLineArguments() override { return arguments_; }
  std::filesystem::path ExecutablePath() override { return executablePath_; }
  std::filesystem::path UserDataFolder() override { return userDataFolder_; }
  // Really changes the process's current folder, because the program opens its files by
  // bare names. A folder that cannot be entered leaves the current one as it was.
  void SetCurrentFolder(const std::filesystem::path& folder) override;
  // Throws std::runtime_error when the test made it fail.
  std::u16string NewGuid() override;
  std::u16string LanguageResource() override { return language_; }
  platform::LocalTime LocalNow() override { return localNow_; }

  platform::InstanceLock CreateInstanceLock(std::u16string_view name) override;
  void CloseInstanceLock() override;
  std::vector<platform::TopLevelWindow> TopLevelWindows() override;
  // Also brings that window to the front of the desktop's z-order.
  void ShowNormalAndForeground(std::uintptr_t windowId) override;
  // Folds ASCII and Latin-1 letters; the program's names and titles need no more.
  bool SameTextIgnoringCase(std::u16string_view a, std::u16string_view b) override;

  // A clipboard of this platform's own, which the test may read and fill.
  class ScriptedClipboard : public platform::Clipboard {
   public:
    std::u16string Text() override {
      if (busy) throw std::runtime_error("The clipboard is held by another program.");
      return text;
    }
    void SetText(std::u16string_view newText) override {
      if (busy) throw std::runtime_error("The clipboard is held by another program.");
      text = newText;
      ++writes;
    }
    std::u16string text;
    int writes = 0;
    bool busy = false;  // another program holds it
  };
  void NotifyAccessibility(const platform::AccessibleEvent& event) override { accessibility_.push_back(event); }
  // What screen readers were told, oldest first; the test may clear it.
  std::vector<platform::AccessibleEvent>& AccessibilityEvents() { return accessibility_; }

  ScriptedClipboard& ClipboardService() override { return clipboard_; }
  FaultyFiles& FileSystem() override { return files_; }

 private:
  std::vector<platform::AccessibleEvent> accessibility_;
  std::filesystem::path folder_;
  std::filesystem::path previousCurrentFolder_;
  FaultyFiles files_;

  platform::WindowEvents* events_ = nullptr;
  platform::Rect bounds_ = platform::Rect::FromBounds(100, 100, 0, 0);
  bool topMost_ = false;
  bool boundsFail_ = false;
  bool showFails_ = false;
  bool visible_ = false;
  bool closed_ = false;
  std::vector<platform::WindowShow> showCalls_;
  int repaints_ = 0;
  int resizedEvents_ = 0;
  int closeRequests_ = 0;
  bool minimized_ = false;
  int activations_ = 0;
  int systemMoves_ = 0;
  std::vector<platform::HitZone> systemResizes_;
  bool workAreaSet_ = false;
  platform::Rect workArea_;
  std::deque<std::u16string> menuChoices_;
  std::vector<OfferedMenu> menus_;
  std::u16string trayTip_;
  std::vector<ShownHint> hints_;
  bool hintShowing_ = false;
  std::vector<std::filesystem::path> browsedFiles_;
  std::vector<std::u16string> openedAddresses_;
  std::vector<ScriptedDialog*> dialogs_;

  platform::Size primaryScreen_{1920, 1080};
  platform::Color buttonFace_{240, 240, 240};
  platform::Point cursor_;
  ScriptedClipboard clipboard_;
  bool virtualDesktopSet_ = false;
  platform::Rect virtualDesktop_;

  std::deque<platform::MessageAnswer> answers_;
  std::vector<ShownMessage> messages_;
  std::function<void(const ShownMessage&)> whileMessage_;
  platform::MessageAnswer Answer(ShownMessage shown);

  std::map<int, ScriptedTimer> timers_;

  int processMessagesCalls_ = 0;
  std::function<void()> whileProcessing_;
  bool terminated_ = false;
  std::vector<std::u16string> arguments_;
  std::filesystem::path executablePath_;
  std::filesystem::path userDataFolder_;
  std::vector<std::filesystem::path> currentFolderCalls_;
  bool newGuidFails_ = false;
  platform::LocalTime localNow_{2026, 3, 14, 9, 5};
  std::uint64_t guidsMade_ = 0;
  std::u16string language_ = u"ENGLISH";
  bool languageSet_ = false;

  std::shared_ptr<ScriptedDesktop> desktop_;
  bool holdsLock_ = false;
};

}  // namespace tasklane::testing
