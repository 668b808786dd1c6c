// Every service the program asks of the operating system, grouped by concern. A front end
// implements it for its window system; tests use a scripted one. Requests go out through
// this interface; events come in through WindowEvents.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Accessible.h"
#include "platform/Canvas.h"
#include "platform/Clipboard.h"
#include "platform/Color.h"
#include "platform/Files.h"
#include "platform/Geometry.h"
#include "platform/Keys.h"
#include "platform/Menu.h"

namespace tasklane::platform {

// A moment on the user's clock, to the minute.
struct LocalTime {
  int year = 0, month = 1, day = 1, hour = 0, minute = 0;
};

// Where a point of the window lies for the window system: in the window's own area, or on
// an edge or corner it is sized by. The values are those of the Windows hit-test codes.
enum class HitZone : int {
  Client = 1,
  Left = 10,
  Right = 11,
  Top = 12,
  TopLeft = 13,
  TopRight = 14,
  Bottom = 15,
  BottomLeft = 16,
  BottomRight = 17,
};

// What the main window answers and handles; a front end calls these for native events.
class WindowEvents {
 public:
  virtual ~WindowEvents() = default;
  virtual void TimerTick(int timerId) = 0;
  // Asked before the window closes; true lets it close.
  virtual bool CloseQuery() = 0;
  virtual void Resized() = 0;
  // The smallest and largest outer size the window may take.
  virtual void SizeLimits(Size& minimum, Size& maximum) = 0;
  // Where a point on the screen lies; asked before a press and while the mouse moves over
  // the window, so that a press on an edge starts the window system's own sizing.
  virtual HitZone HitTest(Point screen) = 0;
  // The user has moved the window (after the window system's own move ended).
  virtual void Moved() = 0;
  // The window system moved the window on its own, at no request of the program's and in no
  // move of the user's that Moved reports: a keyboard move, a window placed by its manager.
  virtual void Displaced() = 0;
  // A left click on the notification-area icon, and the request for its menu.
  virtual void TrayClicked() = 0;
  virtual void TrayMenuRequested() = 0;
};

// What a dialog window hears: its client area to paint, the mouse in client coordinates,
// keys, and the ticks of its one timer.
class DialogEvents {
 public:
  virtual ~DialogEvents() = default;
  virtual void Paint(Canvas& canvas) = 0;
  virtual void MouseDown(MouseButton button, Point point, ShiftState shift) = 0;
  virtual void MouseMove(Point point, ShiftState shift) = 0;
  virtual void MouseUp(MouseButton button, Point point, ShiftState shift) = 0;
  virtual void MouseLeave() = 0;
  virtual void KeyDown(int key, ShiftState shift) = 0;
  virtual void TimerTick() = 0;
  // What a screen reader is shown of the window, in reading order; a link or a button is
  // activated by its position in that list, as a click on it would.
  virtual std::vector<AccessiblePart> AccessibleParts() = 0;
  virtual void ActivatePart(int index) = 0;
};

// A window of the program beside the main one: an ordinary window with a single-line
// border, a title bar with only the close box, not resizable. The close box hides it.
class DialogWindow {
 public:
  virtual ~DialogWindow() = default;
  virtual void SetTitle(std::u16string_view title) = 0;
  // The outer rectangle, border and title bar included.
  virtual Rect OuterBounds() = 0;
  virtual void SetOuterBounds(const Rect& bounds) = 0;
  virtual Size ClientSize() = 0;
  // Shows it without waiting for it to close, in front of the other windows.
  virtual void Show() = 0;
  virtual void Hide() = 0;
  virtual bool Visible() = 0;
  virtual void Repaint() = 0;
  // The window system's own move loop, from the press being handled.
  virtual void StartSystemMove() = 0;
  virtual void SetTimer(int intervalMs, bool enabled) = 0;
};

enum class MessageIcon { None, Error, Warning, Information, Question };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

enum class WindowShow { Hide, Show, ShowNormal, Minimize };

enum class InstanceLock { Failed, Created, AlreadyExists };

struct TopLevelWindow {
  std::uintptr_t id = 0;
  std::u16string title;
  std::u16string className;
};

class Platform {
 public:
  virtual ~Platform() = default;

  // Window. The main window has no border: its client size is its outer size.
  virtual void AttachWindow(WindowEvents& events) = 0;
  virtual Rect WindowBounds() = 0;
  // Moves and sizes the window; the size is kept within the window's size limits.
  virtual void SetWindowBounds(const Rect& bounds) = 0;
  virtual void SetTopMost(bool topMost) = 0;
  virtual void ShowWindow(WindowShow how) = 0;
  virtual bool WindowVisible() = 0;
  // False while a message box keeps the user from the window: a click would not reach it.
  virtual bool WindowTakesInput() = 0;
  virtual void RequestClose() = 0;
  virtual void Repaint() = 0;
  // Brings the program's window to the foreground and gives it the keyboard.
  virtual void ActivateWindow() = 0;
  // The window system's own move and size loops, started from the press that is being
  // handled; they end when the button is released.
  virtual void StartSystemMove() = 0;
  virtual void StartSystemResize(HitZone edge) = 0;

  // Screen.
  virtual Size PrimaryScreenSize() = 0;
  virtual Point CursorPosition() = 0;
  virtual Rect VirtualDesktop() = 0;
  // The work area (the screen less the task bar and panels) of the screen nearest to `window`.
  virtual Rect WorkAreaNearest(const Rect& window) = 0;
  // The face colour of buttons in the desktop's current colour scheme.
  virtual Color ButtonFaceColor() = 0;

  // Menu. Shows the visible items of `menu` at a point on the screen and waits until the
  // user chooses one or dismisses it; nullptr for no choice. A submenu's item gets Popup()
  // before the submenu opens, and the submenu is shown as it is after that.
  virtual MenuItem* OpenPopupMenu(MenuItem& menu, Point screen) = 0;

  // Notification area: the program's icon with its tip, for the whole run. Clicks come in
  // through WindowEvents.
  virtual void ShowTrayIcon(std::u16string_view tip) = 0;

  // Hints: a small window with one line of text at a point on the screen, until hidden.
  virtual void ShowHint(std::u16string_view text, Point screen, Color background) = 0;
  virtual void HideHint() = 0;

  // Dialog windows; the window lives as long as the returned object.
  virtual std::unique_ptr<DialogWindow> CreateDialogWindow(DialogEvents& events) = 0;

  // Shell: the desktop's file browser showing this file selected in its folder, and a web
  // address (as a user would type it, "www.example.org") in the user's browser.
  virtual void ShowFileInBrowser(const std::filesystem::path& file) = 0;
  virtual void OpenAddress(std::u16string_view address) = 0;

  // Dialogs. `ownerless`: the box belongs to no window of the program.
  virtual MessageAnswer ShowMessage(std::u16string_view title, std::u16string_view text, MessageIcon icon,
                                    MessageButtons buttons, bool ownerless) = 0;
  // A question for Yes or No, with the question icon, owned by the window; its title and
  // button texts are the platform's own for a confirmation.
  virtual MessageAnswer ShowConfirmation(std::u16string_view question) = 0;

  // Timers tick through WindowEvents::TimerTick on the user-interface thread.
  virtual void SetTimer(int timerId, int intervalMs, bool enabled) = 0;

  // Process.
  virtual void ProcessMessages() = 0;
  virtual void Terminate() = 0;
  virtual std::vector<std::u16string> CommandLineArguments() = 0;
  virtual std::filesystem::path ExecutablePath() = 0;
  // Where an installed program keeps the user's files (on Linux, Tasklane in the user's
  // data folder); empty where a program keeps them beside itself whatever its folder.
  virtual std::filesystem::path UserDataFolder() = 0;
  virtual void SetCurrentFolder(const std::filesystem::path& folder) = 0;
  // A new GUID in its registry form: braces, upper-case hexadecimal digits 8-4-4-4-12.
  virtual std::u16string NewGuid() = 0;
  // The language the program's texts were built in ("ENGLISH" or "DEUTSCH").
  virtual std::u16string LanguageResource() = 0;
  virtual LocalTime LocalNow() = 0;

  // Single instance.
  virtual InstanceLock CreateInstanceLock(std::u16string_view name) = 0;
  virtual void CloseInstanceLock() = 0;
  // The top-level windows of the desktop in z-order, topmost first, hidden ones included.
  virtual std::vector<TopLevelWindow> TopLevelWindows() = 0;
  virtual void ShowNormalAndForeground(std::uintptr_t windowId) = 0;
  // Compares by the rules of the user's locale, ignoring case.
  virtual bool SameTextIgnoringCase(std::u16string_view a, std::u16string_view b) = 0;

  // Screen readers: something of the main window changed, as the core describes it.
  virtual void NotifyAccessibility(const AccessibleEvent& event) = 0;

  virtual Clipboard& ClipboardService() = 0;
  virtual Files& FileSystem() = 0;
};

}  // namespace tasklane::platform
