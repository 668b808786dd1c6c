// Win32Platform: what the program asks of the system besides its window.
//
//  [x] modal message boxes: icon, Ok or Yes and No, owned by the window or by none
//  [x] timers on the window (SetTimer, KillTimer)
//  [x] the clipboard's text (CF_UNICODETEXT), read no further than its memory block
//  [x] process the waiting messages, end the program
//  [x] command-line arguments (CommandLineToArgvW), executable path, current folder
//  [x] a new GUID (CoCreateGuid) in its registry form, the language resource (STRINGTABLE)
//  [x] the file system
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include <stdexcept>
#include <vector>

#include "backends/win32/win32_platform.h"
#include "backends/win32/win32_resources.h"
#include "backends/win32/win32_state.h"
#include "backends/win32/win32_text.h"
#include "mainwindow/ToDoUnit.h"

namespace tasklane::win32 {

namespace {

UINT IconFlag(platform::MessageIcon icon) {
  switch (icon) {
    case platform::MessageIcon::None: return 0;
    case platform::MessageIcon::Error: return MB_ICONERROR;
    case platform::MessageIcon::Warning: return MB_ICONWARNING;
    case platform::MessageIcon::Information: return MB_ICONINFORMATION;
    case platform::MessageIcon::Question: return MB_ICONQUESTION;
  }
  return 0;
}

// Opens the clipboard, and closes it on every way out. Another program may hold it for a
// moment (a clipboard history, a remote desktop): it is asked again for a while, then the
// failure is the caller's, so that a busy clipboard never reads as an empty one.
class OpenClipboardScope {
 public:
  explicit OpenClipboardScope(HWND owner) {
    for (int attempt = 0; !OpenClipboard(owner); ++attempt) {
      if (attempt == 20) throw std::runtime_error("The clipboard is held by another program.");
      Sleep(10);
    }
  }
  ~OpenClipboardScope() { CloseClipboard(); }
  OpenClipboardScope(const OpenClipboardScope&) = delete;
  OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
};

}  // namespace

platform::MessageAnswer Win32Platform::ShowMessage(std::u16string_view title, std::u16string_view text,
                                                   platform::MessageIcon icon, platform::MessageButtons buttons,
                                                   bool ownerless) {
  const bool yesNo = buttons == platform::MessageButtons::YesNo;
  // An ownerless box still keeps the program's windows from going on behind it.
  const UINT flags = (yesNo ? MB_YESNO : MB_OK) | IconFlag(icon) | (ownerless ? MB_TASKMODAL : 0);
  const std::wstring wideTitle = Wide(title);
  const std::wstring wideText = Wide(text);
  const int answer = MessageBoxW(ownerless ? nullptr : state_->window, wideText.c_str(), wideTitle.c_str(), flags);
  if (!yesNo) return platform::MessageAnswer::Ok;
  return answer == IDYES ? platform::MessageAnswer::Yes : platform::MessageAnswer::No;
}

// Windows has no title of its own for a confirmation; the toolkits' word for one is used.
platform::MessageAnswer Win32Platform::ShowConfirmation(std::u16string_view question) {
  const std::wstring title = mainwindow::buildEnglishUI ? L"Confirm" : L"Best\u00e4tigen";
  const std::wstring text = Wide(question);
  const int answer = MessageBoxW(state_->window, text.c_str(), title.c_str(), MB_YESNO | MB_ICONQUESTION);
  return answer == IDYES ? platform::MessageAnswer::Yes : platform::MessageAnswer::No;
}

void Win32Platform::SetTimer(int timerId, int intervalMs, bool enabled) {
  if (!state_->window) return;  // without a window SetTimer would make a thread timer
  const UINT_PTR id = timerIdBase + static_cast<UINT_PTR>(timerId);
  if (enabled) ::SetTimer(state_->window, id, static_cast<UINT>(intervalMs > 0 ? intervalMs : 1), nullptr);
  else KillTimer(state_->window, id);
}

namespace {

// The block stays locked only while it is read, on every way out.
class GlobalLockScope {
 public:
  explicit GlobalLockScope(HANDLE data) : data_(data), bytes_(GlobalLock(data)) {}
  ~GlobalLockScope() {
    if (bytes_) GlobalUnlock(data_);
  }
  GlobalLockScope(const GlobalLockScope&) = delete;
  GlobalLockScope& operator=(const GlobalLockScope&) = delete;
  void* Bytes() const { return bytes_; }

 private:
  HANDLE data_;
  void* bytes_;
};

}  // namespace

std::u16string Win32Clipboard::Text() {
  OpenClipboardScope clipboard(owner);
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  if (!data) return {};
  const GlobalLockScope lock(data);
  if (!lock.Bytes()) return {};
  return BoundedText(static_cast<const wchar_t*>(lock.Bytes()), GlobalSize(data) / sizeof(wchar_t));
}

void Win32Clipboard::SetText(std::u16string_view text) {
  OpenClipboardScope clipboard(owner);
  HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  if (!data) return;
  {
    const GlobalLockScope lock(data);
    auto* target = static_cast<wchar_t*>(lock.Bytes());
    if (!target) {
      GlobalFree(data);
      return;
    }
    std::copy(text.begin(), text.end(), target);
    target[text.size()] = L'\0';
  }
  EmptyClipboard();
  if (!SetClipboardData(CF_UNICODETEXT, data)) GlobalFree(data);  // the clipboard owns it once taken
}

platform::Clipboard& Win32Platform::ClipboardService() { return state_->clipboard; }

void Win32Platform::ProcessMessages() {
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));  // the loop still has to see it
      return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

// The core asks for the end from inside its close query; the loop ends once the close is
// through.
void Win32Platform::Terminate() { PostQuitMessage(0); }

std::vector<std::u16string> Win32Platform::CommandLineArguments() {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::u16string> result;
  if (!arguments) return result;
  for (int i = 1; i < count; ++i) result.push_back(CoreText(arguments[i]));
  LocalFree(arguments);
  return result;
}

// Long paths need more than MAX_PATH: the buffer grows until the whole path fits.
std::filesystem::path Win32Platform::ExecutablePath() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) return std::filesystem::path(std::wstring(buffer.data(), length));
    buffer.resize(buffer.size() * 2);
  }
}

// Tasklane in the roaming application data: it follows the user to another computer of the
// domain, and the profile's permissions keep it the user's own.
std::filesystem::path Win32Platform::UserDataFolder() {
  PWSTR folder = nullptr;
  std::filesystem::path data;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_DEFAULT, nullptr, &folder)) && folder) {
    data = std::filesystem::path(folder) / L"Tasklane";
  }
  CoTaskMemFree(folder);
  return data;
}

void Win32Platform::SetCurrentFolder(const std::filesystem::path& folder) {
  SetCurrentDirectoryW(folder.wstring().c_str());
}

std::u16string Win32Platform::NewGuid() {
  GUID guid{};
  if (FAILED(CoCreateGuid(&guid))) throw std::runtime_error("no new GUID");
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, 40);  // "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper case
  return CoreText(text);
}

platform::LocalTime Win32Platform::LocalNow() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute};
}

std::u16string Win32Platform::LanguageResource() {
  const wchar_t* text = nullptr;
  // With a zero length LoadStringW hands out the resource's own text, not a copy.
  const int length = LoadStringW(state_->instance, IDS_LANGUAGE, reinterpret_cast<LPWSTR>(&text), 0);
  return length > 0 && text ? CoreText(std::wstring_view(text, static_cast<std::size_t>(length))) : std::u16string();
}

platform::Files& Win32Platform::FileSystem() { return *state_->files; }

}  // namespace tasklane::win32
