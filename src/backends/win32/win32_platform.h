// The Windows program's platform on Win32. This header stays free of <windows.h>, so that the
// program's entry and the core see only the boundary's own types.
//
//  [x] the main window: class "TToDoForm", borderless, top-most, no task-bar button (win32_window.cpp)
//  [x] screen facts, message boxes, the clipboard, timers (win32_services.cpp)
//  [x] process: arguments, executable, current folder, GUID, language, file system
//  [x] one instance per logon session: the named mutex and the window walk (win32_instance.cpp)
//  [x] the popup menu (win32_menu.cpp), the notification-area icon (win32_tray.cpp), hints and
//      dialog windows (win32_dialogs.cpp), the file browser and web addresses
//  [x] screen readers: MSAA and WinEvents (win32_accessible.cpp, win32_msaa.cpp)
#pragma once

#include <memory>

#include "platform/Platform.h"

namespace tasklane::mainwindow {
class TToDoForm;
}

namespace tasklane::win32 {

struct Win32State;

class Win32Platform final : public platform::Platform {
 public:
  // `showCommand` is how Windows asked the program to start (wWinMain's last argument).
  // Throws when the main window's class cannot be registered.
  Win32Platform(void* instance, int showCommand);
  ~Win32Platform() override;
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

  // The window paints and feeds this form's controls from now on.
  void AttachForm(mainwindow::TToDoForm& form);
  // Shows the window and runs the message loop until the program ends; then the windows go,
  // before the form does.
  void RunMessageLoop();

  // Window. Throws when the window cannot be created.
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

  std::unique_ptr<platform::DialogWindow> CreateDialogWindow(platform::DialogEvents& events) override;

  platform::MessageAnswer ShowMessage(std::u16string_view title, std::u16string_view text,
                                      platform::MessageIcon icon, platform::MessageButtons buttons,
                                      bool ownerless) override;
  platform::MessageAnswer ShowConfirmation(std::u16string_view question) override;

  void SetTimer(int timerId, int intervalMs, bool enabled) override;

  // Process.
  void ProcessMessages() override;
  void Terminate() override;
  std::vector<std::u16string> CommandLineArguments() override;
  std::filesystem::path ExecutablePath() override;
  // Windows programs of this kind keep their list beside themselves.
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
  void EndWindows();
  std::unique_ptr<Win32State> state_;
};

}  // namespace tasklane::win32
