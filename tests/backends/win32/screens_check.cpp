// The backend's arithmetic that Wine cannot show on a real desktop: screens of mixed scale,
// the clipboard's text bounded by its block, Explorer's arguments, the icon's sizes, and the
// guard's answer to a failure while a report is open, and the input method's windows. Prints
// every failed check; exits 1 when any failed. The one argument is Tasklane.exe, for its icon.
#include <cstdio>
#include <cstdlib>
#include <string>

#include <stdexcept>

#include <windows.h>
#include <imm.h>

#include "backends/win32/win32_guard.h"
#include "backends/win32/win32_icons.h"
#include "backends/win32/win32_ime.h"
#include "backends/win32/win32_screens.h"
#include "backends/win32/win32_text.h"

namespace {

using namespace tasklane;
using platform::Rect;
using win32::Screen;
using win32::ScreenLayout;

int failures = 0;

void Expect(bool ok, const char* what) {
  if (ok) return;
  std::printf("FAILED: %s\n", what);
  ++failures;
}

// A laptop at 100 % and a monitor at 150 % to its right, 4K, the laptop primary.
const Screen laptop{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 96};
const Screen monitor{{1920, -200, 1920 + 3840, -200 + 2160}, {1920, -200, 1920 + 3840, -200 + 2100}, 144};

bool Near(const RECT& a, const RECT& b) {
  return std::abs(a.left - b.left) <= 1 && std::abs(a.top - b.top) <= 1 && std::abs(a.right - b.right) <= 1 &&
         std::abs(a.bottom - b.bottom) <= 1;
}

// A window saved on either screen comes back where it was, and saving it again stores the same
// rectangle: no drift from start to start, whichever screen the window started on.
void StoredPlaceComesBack() {
  const ScreenLayout screens({laptop, monitor});
  for (const RECT device : {RECT{300, 200, 670, 411}, RECT{2500, 300, 2500 + 555, 300 + 317},
                            RECT{5000, 1500, 5000 + 555, 1500 + 317}}) {
    const Rect stored = screens.Logical(device);
    Expect(Near(screens.Device(stored), device), "a window's place comes back from its stored rectangle");
    Expect(screens.Logical(screens.Device(stored)) == stored, "the stored rectangle does not drift");
  }
  const Rect onMonitor = screens.Logical(RECT{2500, 300, 2500 + 555, 300 + 317});
  // Each edge is rounded on its own, so that touching rectangles keep touching.
  Expect(std::abs(onMonitor.Width() - 370) <= 1 && std::abs(onMonitor.Height() - 211) <= 1,
         "a window on the 150 % screen is its logical size");
  Expect(onMonitor.left >= 1920, "a window on the 150 % screen stays right of the laptop");
}

void PointsByTheirScreen() {
  const ScreenLayout screens({laptop, monitor});
  const platform::Point onLaptop = screens.Logical(POINT{1000, 500});
  Expect(onLaptop.x == 1000 && onLaptop.y == 500, "a point on the 100 % screen is unchanged");
  const platform::Point onMonitor = screens.Logical(POINT{1920 + 300, -200 + 600});
  Expect(onMonitor.x == 1920 + 200 && onMonitor.y == -200 + 400, "a point on the 150 % screen is scaled about its corner");
  const POINT back = screens.Device(onMonitor);
  Expect(back.x == 1920 + 300 && back.y == -200 + 600, "and comes back to its device pixel");
}

// The guide centres on the primary screen by its size in logical pixels, whichever screen the
// main window is on; with the 150 % screen primary, that screen's scale counts.
void PrimaryScreen() {
  const ScreenLayout laptopFirst({laptop, monitor});
  Expect(laptopFirst.PrimarySize() == platform::Size{1920, 1080}, "the 100 % primary screen's size");
  Expect(laptopFirst.WorkAreaNearest(Rect{2200, 100, 2300, 200}) == Rect{1920, -200, 1920 + 2560, -200 + 1400},
         "the work area of the 150 % screen, in logical pixels");
  const Screen primaryMonitor{{0, 0, 3840, 2160}, {0, 0, 3840, 2100}, 144};
  const Screen leftLaptop{{-1920, 0, 0, 1080}, {-1920, 0, 0, 1040}, 96};
  const ScreenLayout monitorFirst({primaryMonitor, leftLaptop});
  Expect(monitorFirst.PrimarySize() == platform::Size{2560, 1440}, "the 150 % primary screen's size");
  const platform::Point left = monitorFirst.Logical(POINT{-1000, 100});
  Expect(left.x == -1000 && left.y == 100, "a point on the 100 % screen left of a 150 % primary is unchanged");
  Expect(monitorFirst.VirtualDesktop() == Rect{-1920, 0, 2560, 1440}, "the desktop spans both screens");
}

void ClipboardText() {
  const wchar_t unterminated[] = {L'a', L'b', L'c', L'X'};
  Expect(win32::BoundedText(unterminated, 3) == u"abc", "a text without its zero ends with its block");
  Expect(win32::BoundedText(L"ab\0cd", 6) == u"ab", "a text ends at its zero");
}

void ExplorerArguments() {
  const std::wstring arguments = win32::ExplorerSelectArguments(L"C:\\To do, work\\ToDoList.xml");
  Expect(arguments.find(L"/select,\"C:\\To do, work\\ToDoList.xml\"") != std::wstring::npos,
         "a path with a comma is selected whole");
}

// Each size asked for is the size handed back, in any order of asking.
void IconSizes(const wchar_t* program) {
  HMODULE module = LoadLibraryExW(program, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  Expect(module != nullptr, "Tasklane.exe opens for its icon");
  if (!module) return;
  for (const int size : {16, 48, 24, 32, 20}) {
    HICON icon = win32::ProgramIcon(module, size);
    const SIZE got = win32::IconSize(icon);
    Expect(got.cx == size && got.cy == size, "the icon comes at the size asked for");
    if (icon) DestroyIcon(icon);
  }
  FreeLibrary(module);
}

// A failure while a report is open unwinds no further than the guard, which answers its
// fallback and shows no second box (a box here would wait for a click, and the check with it).
void GuardWhileReportOpen() {
  win32::FailureReports reports;
  reports.open = true;
  bool unwound = false;
  LRESULT answer = 0;
  try {
    answer = win32::Guarded(reports, nullptr, LRESULT{7}, []() -> LRESULT { throw std::runtime_error("tick"); });
  } catch (...) {
    unwound = true;
  }
  Expect(!unwound && answer == 7, "a failure ends at the guard with its fallback answer");
  Expect(reports.open, "the open report stays the only one");
  Expect(win32::Guarded(reports, nullptr, LRESULT{0}, [] { return LRESULT{3}; }) == 3, "a body that succeeds answers");
}

// The composition stands at the caret and the candidates below it, in the editor's font,
// scaled: read back on the window's own thread, whose input context it is.
void InputMethodAtTheCaret() {
  const HWND window = CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
  const HIMC context = ImmGetContext(window);
  if (!context) {
    std::printf("skipped: no input context here\n");
    DestroyWindow(window);
    return;
  }
  win32::PlaceInputMethod(window, Rect{40, 30, 41, 47}, platform::Font{u"Tahoma", 17, false}, win32::DpiScale{144});
  COMPOSITIONFORM composition{};
  Expect(ImmGetCompositionWindow(context, &composition) && composition.ptCurrentPos.x == 60 &&
             composition.ptCurrentPos.y == 45,
         "the composition stands at the caret, scaled");
  CANDIDATEFORM candidates{};
  Expect(ImmGetCandidateWindow(context, 0, &candidates) && candidates.ptCurrentPos.x == 60 &&
             candidates.ptCurrentPos.y == 71,
         "the candidates stand below it");
  LOGFONTW font{};
  Expect(ImmGetCompositionFontW(context, &font) && font.lfHeight == -26 && std::wstring(font.lfFaceName) == L"Tahoma",
         "in the editor's font at the screen's scale");
  ImmReleaseContext(window, context);
  DestroyWindow(window);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  StoredPlaceComesBack();
  PointsByTheirScreen();
  PrimaryScreen();
  ClipboardText();
  ExplorerArguments();
  GuardWhileReportOpen();
  InputMethodAtTheCaret();
  if (argc > 1) IconSizes(argv[1]);
  else Expect(false, "the path of Tasklane.exe is given");
  if (failures == 0) std::printf("all screen, clipboard, shell and icon checks passed\n");
  return failures == 0 ? 0 : 1;
}
