// The Linux front end's platform on Qt 6 Widgets. This header stays free of Qt, so that the
// program's entry and the tests see only the boundary's own types.
//
//  [x] the main window: frameless, top-most, no task-bar entry, bounds, show, minimise,
//      activate, close; its edges size it and its frame moves it (qt_drag.cpp)
//  [x] the popup menu (qt_menu.cpp), the notification-area icon (qt_tray.cpp), hints
//      (qt_hint.cpp), the file browser and web addresses (qt_shell.cpp), dialog windows
//      (qt_dialog_window.cpp)
//  [x] screen facts, message boxes, the clipboard, timers
//  [x] process: arguments, executable, current folder, GUID, language, file system
//  [x] one instance per logon session (qt_instance.cpp)
//  [x] the end of the session and termination signals run the close query (qt_session.cpp)
#pragma once

#include <memory>

#include "platform/Platform.h"

namespace tasklane::mainwindow {
class TToDoForm;
}

namespace tasklane::qt {

struct QtState;

// Needs a QApplication that outlives it. Not final: a test build of the program answers one
// of its services with a fault.
class QtPlatform : public platform::Platform {
 public:
  QtPlatform();
  ~QtPlatform() override;
  QtPlatform(const QtPlatform&) = delete;
  QtPlatform& operator=(const QtPlatform&) = delete;

  // The window paints and feeds this form's controls from now on.
  void AttachForm(mainwindow::TToDoForm& form);

  // Window.
  void AttachWindow(platform::WindowEvents& events) override;
  platform::Rect WindowBounds() override;
  void SetWindowBounds(const platform::Rect& bounds) override;
  void SetTopMost(bool topMost) override;
  void ShowWindow(platform::WindowShow how) override;
  bool WindowVisible() override;
  bool WindowTakesInput() override;
  void RequestClose() override;
  void Repaint() override;
  void NotifyAccessibility(const platform::AccessibleEvent& event) override;
  void ActivateWindow() override;
  void StartSystemMove() override;
  void StartSystemResize(platform::HitZone edge) override;

  // Screen.
  platform::Size PrimaryScreenSize() override;
  platform::Point CursorPosition() override;
  platform::Rect VirtualDesktop() override;
  platform::Rect WorkAreaNearest(const platform::Rect& window) override;
  platform::Color ButtonFaceColor() override;

  // Menu, notification area, hints, shell.
  platform::MenuItem* OpenPopupMenu(platform::MenuItem& menu, platform::Point screen) override;
  void ShowTrayIcon(std::u16string_view tip) override;
  void ShowHint(std::u16string_view text, platform::Point screen, platform::Color background) override;
  void HideHint() override;
  void ShowFileInBrowser(const std::filesystem::path& file) override;
  void OpenAddress(std::u16string_view address) override;

  // Dialog windows (qt_dialog_window.cpp).
  std::unique_ptr<platform::DialogWindow> CreateDialogWindow(platform::DialogEvents& events) override;

  // Dialogs.
  platform::MessageAnswer ShowMessage(std::u16string_view title, std::u16string_view text,
                                      platform::MessageIcon icon, platform::MessageButtons buttons,
                                      bool ownerless) override;
  platform::MessageAnswer ShowConfirmation(std::u16string_view question) override;

  // Timers.
  void SetTimer(int timerId, int intervalMs, bool enabled) override;

  // Process.
  void ProcessMessages() override;
  void Terminate() override;
  std::vector<std::u16string> CommandLineArguments() override;
  std::filesystem::path ExecutablePath() override;
  std::filesystem::path UserDataFolder() override;
  void SetCurrentFolder(const std::filesystem::path& folder) override;
  std::u16string NewGuid() override;
  std::u16string LanguageResource() override;
  platform::LocalTime LocalNow() override;

  // Single instance.
  platform::InstanceLock CreateInstanceLock(std::u16string_view name) override;
  void CloseInstanceLock() override;
  std::vector<platform::TopLevelWindow> TopLevelWindows() override;
  void ShowNormalAndForeground(std::uintptr_t windowId) override;
  bool SameTextIgnoringCase(std::u16string_view a, std::u16string_view b) override;

  platform::Clipboard& ClipboardService() override;
  platform::Files& FileSystem() override;

 private:
  std::unique_ptr<QtState> state_;
};

}  // namespace tasklane::qt
