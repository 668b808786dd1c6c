// The Windows program: one instance per logon session, then the main window and the message
// loop.
#include <windows.h>
#include <objbase.h>

#include "app/ToDoProject.h"
#include "backends/win32/win32_platform.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/, int /*show*/) {
  // COM for the GUID of the temporary file and for the shell.
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  tasklane::win32::Win32Platform platform(instance);
  const int exitCode = tasklane::app::RunTasklane(platform, [&](tasklane::mainwindow::TToDoForm& form) {
    platform.AttachForm(form);
    platform.RunMessageLoop();
  });
  CoUninitialize();
  return exitCode;
}
