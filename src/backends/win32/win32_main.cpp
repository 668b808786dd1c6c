// The Windows program: one instance per logon session, then the main window and the message
// loop.
#include <windows.h>
#include <objbase.h>
#include <shobjidl.h>

#include <exception>
#include <string>

#include "app/ToDoProject.h"
#include "backends/win32/win32_platform.h"

namespace {

// Without its window the program has nothing to run a loop for: it says so and ends.
int StartFailed(const std::exception& failure) {
  std::wstring text = L"Tasklane could not start: ";
  for (const char* c = failure.what(); *c != '\0'; ++c) text += static_cast<wchar_t>(static_cast<unsigned char>(*c));
  MessageBoxW(nullptr, text.c_str(), L"Tasklane", MB_OK | MB_ICONERROR);
  return 1;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/, int show) {
  // COM for the GUID of the temporary file and for the shell.
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  // The same identity as the installer's Start-menu shortcut, so that the shell counts both
  // as one program.
  SetCurrentProcessExplicitAppUserModelID(L"Tasklane.Tasklane");
  int exitCode = 0;
  try {
    tasklane::win32::Win32Platform platform(instance, show);
    exitCode = tasklane::app::RunTasklane(platform, [&](tasklane::mainwindow::TToDoForm& form) {
      platform.AttachForm(form);
      platform.RunMessageLoop();
    });
  } catch (const std::exception& failure) {
    exitCode = StartFailed(failure);
  }
  CoUninitialize();
  return exitCode;
}
