// Win32Platform: hints and the dialog windows beside the main window.
//
//  [x] hints: a top-most tool window with one line of text in the core's colour, at a point
//  [x] dialog windows: single-line border, title bar with the close box only, not resizable,
//      the 48-pixel program icon; owned by the main window, so no task-bar button of their own;
//      places by the screen they lie on, sizes at the window's resolution; painted by the core
//      through the GDI canvas; every mouse button, keys and one timer; the close box hides it
//  [x] every message inside the main window's guard
#include <windows.h>
#include <windowsx.h>

#include <stdexcept>

#include "backends/win32/win32_canvas.h"
#include "backends/win32/win32_msaa_dialog.h"
#include "backends/win32/win32_msaa_object.h"
#include "backends/win32/win32_platform.h"
#include "backends/win32/win32_state.h"
#include "backends/win32/win32_text.h"

namespace tasklane::win32 {

namespace {

constexpr wchar_t hintClass[] = L"TasklaneHint";
constexpr wchar_t dialogClass[] = L"TShowInfoDialog";
constexpr UINT_PTR dialogTimerId = 1;
constexpr int hintMargin = 3;
const platform::Font hintFont{u"Tahoma", 11, false};

void PaintHint(Win32State& state, HWND window, HDC target) {
  RECT client{};
  GetClientRect(window, &client);
  {
    Win32Canvas canvas(target, {client.right, client.bottom}, *state.gdi);
    const platform::Size size = canvas.LogicalSize();
    const platform::Rect all{0, 0, size.width, size.height};
    const COLORREF back = state.hintBackground;
    canvas.FillRect(all, platform::Color{GetRValue(back), GetGValue(back), GetBValue(back)});
    platform::TextFormat format;
    format.showMnemonics = false;
    format.align = platform::TextAlign::Center;
    canvas.Text(all, CoreText(state.hintText), hintFont, {0, 0, 0}, format);
    canvas.Line({0, 0}, {size.width, 0}, {0, 0, 0});
    canvas.Line({0, size.height - 1}, {size.width, size.height - 1}, {0, 0, 0});
    canvas.Line({0, 0}, {0, size.height}, {0, 0, 0});
    canvas.Line({size.width - 1, 0}, {size.width - 1, size.height}, {0, 0, 0});
    canvas.CopyTo(target);
  }
}

LRESULT CALLBACK HintProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<Win32State*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message != WM_PAINT || !state) return DefWindowProcW(window, message, wParam, lParam);
  PAINTSTRUCT paint{};
  HDC target = BeginPaint(window, &paint);
  Guarded(state->reports, state->window, 0, [&] {
    PaintHint(*state, window, target);
    return 0;
  });
  EndPaint(window, &paint);
  return 0;
}

class Win32DialogWindow final : public platform::DialogWindow {
 public:
  Win32DialogWindow(Win32State& state, platform::DialogEvents& events)
      : state_(state), events_(events), icon_(ProgramIcon(state.instance, 48)) {
    if (!RegisterWindowClass(dialogClass, Procedure, state.instance, 0)) {
      throw std::runtime_error("The dialog's window class was refused.");
    }
    // Owned by the main window: a window with an owner has no task-bar button.
    window_ = CreateWindowExW(0, dialogClass, L"", WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 100, 100,
                              state.window, nullptr, state.instance, nullptr);
    if (!window_) throw std::runtime_error("The dialog's window could not be created.");
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    UseDpi(ScaleOf(window_).dpi);
    // The window's own icon is the 48-pixel one, whatever size the system's icons have.
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  }
  ~Win32DialogWindow() override {
    if (window_) {
      SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
      DestroyWindow(window_);
    }
    if (icon_) DestroyIcon(icon_);
  }
  Win32DialogWindow(const Win32DialogWindow&) = delete;
  Win32DialogWindow& operator=(const Win32DialogWindow&) = delete;

  void SetTitle(std::u16string_view title) override { SetWindowTextW(window_, Wide(title).c_str()); }
  platform::Rect OuterBounds() override {
    RECT rect{};
    GetWindowRect(window_, &rect);
    return state_.screens.Logical(rect);
  }
  void SetOuterBounds(const platform::Rect& bounds) override {
    const RECT device = state_.screens.Device(bounds);
    SetWindowPos(window_, nullptr, device.left, device.top, scale_.Device(bounds.Width()),
                 scale_.Device(bounds.Height()), SWP_NOZORDER | SWP_NOACTIVATE);
  }
  platform::Size ClientSize() override {
    RECT rect{};
    GetClientRect(window_, &rect);
    return scale_.Logical(SIZE{rect.right, rect.bottom});
  }
  void Show() override {
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
  }
  void Hide() override { ShowWindow(window_, SW_HIDE); }
  bool Visible() override { return IsWindowVisible(window_) != FALSE; }
  void Repaint() override { InvalidateRect(window_, nullptr, FALSE); }
  void StartSystemMove() override {
    ReleaseCapture();
    SendMessageW(window_, WM_NCLBUTTONDOWN, HTCAPTION, 0);
  }
  void SetTimer(int intervalMs, bool enabled) override {
    if (enabled) ::SetTimer(window_, dialogTimerId, static_cast<UINT>(intervalMs > 0 ? intervalMs : 1), nullptr);
    else KillTimer(window_, dialogTimerId);
  }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Win32DialogWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {  // its owner went first: the system ends it with that
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      self->window_ = nullptr;
      return DefWindowProcW(window, message, wParam, lParam);
    }
    return Guarded(self->state_.reports, window, LRESULT{0}, [&] { return self->Handle(message, wParam, lParam); });
  }

  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
      case WM_PAINT: Paint(); return 0;
      case WM_ERASEBKGND: return 1;
      case WM_MOUSEMOVE: Track(); events_.MouseMove(PointOf(lParam), ShiftStateOf(wParam)); return 0;
      case WM_MOUSELEAVE: tracking_ = false; events_.MouseLeave(); return 0;
      case WM_KEYDOWN: events_.KeyDown(static_cast<int>(wParam), ShiftStateOf(0)); return 0;
      case WM_TIMER: Tick(); return 0;
      case WM_CLOSE: Hide(); return 0;
      case WM_DPICHANGED: MoveToScreen(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam)); return 0;
      case WM_GETOBJECT:
        return AnswerGetObject(window_, wParam, lParam, [this] { return NewDialogAccessible(window_, &Reading); });
      case dialogActivateMessage: events_.ActivatePart(static_cast<int>(wParam)); return 0;
      default: return MouseButton(message, wParam, lParam);
    }
  }

  // What a screen reader's object of the window reads, for as long as the window has this.
  static bool Reading(HWND window, DialogReading& reading) {
    auto* self = reinterpret_cast<Win32DialogWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return false;
    reading = {&self->events_, self->scale_};
    return true;
  }

  // One tick at a time: a tick's box runs a message loop of its own.
  void Tick() {
    if (ticking_) return;
    ticking_ = true;
    struct Done {
      bool& ticking;
      ~Done() { ticking = false; }
    } done{ticking_};
    events_.TimerTick();
  }

  // Every button moves the window from the picture or a text, so every button is heard.
  LRESULT MouseButton(UINT message, WPARAM wParam, LPARAM lParam) {
    using platform::MouseButton;
    switch (message) {
      case WM_LBUTTONDOWN:
        SetCapture(window_);
        events_.MouseDown(MouseButton::Left, PointOf(lParam), ShiftStateOf(wParam));
        return 0;
      case WM_RBUTTONDOWN: events_.MouseDown(MouseButton::Right, PointOf(lParam), ShiftStateOf(wParam)); return 0;
      case WM_MBUTTONDOWN: events_.MouseDown(MouseButton::Middle, PointOf(lParam), ShiftStateOf(wParam)); return 0;
      case WM_LBUTTONUP:
        ReleaseCapture();
        events_.MouseUp(MouseButton::Left, PointOf(lParam), ShiftStateOf(wParam));
        return 0;
      case WM_RBUTTONUP: events_.MouseUp(MouseButton::Right, PointOf(lParam), ShiftStateOf(wParam)); return 0;
      case WM_MBUTTONUP: events_.MouseUp(MouseButton::Middle, PointOf(lParam), ShiftStateOf(wParam)); return 0;
      default: return DefWindowProcW(window_, message, wParam, lParam);
    }
  }

  void Paint() {
    PAINTSTRUCT paint{};
    HDC target = BeginPaint(window_, &paint);
    RECT client{};
    GetClientRect(window_, &client);
    {
      Win32Canvas canvas(target, {client.right, client.bottom}, gdi_);
      events_.Paint(canvas);
      canvas.CopyTo(target);
    }
    EndPaint(window_, &paint);
  }

  void UseDpi(int dpi) {
    scale_.dpi = dpi;
    gdi_.SetDpi(dpi);
  }

  void MoveToScreen(int dpi, const RECT& proposed) {
    UseDpi(dpi);
    SetWindowPos(window_, nullptr, proposed.left, proposed.top, proposed.right - proposed.left,
                 proposed.bottom - proposed.top, SWP_NOZORDER | SWP_NOACTIVATE);
    Repaint();
  }

  void Track() {
    if (tracking_) return;
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, window_, 0};
    tracking_ = TrackMouseEvent(&track) != FALSE;
  }

  platform::Point PointOf(LPARAM lParam) const { return scale_.Logical(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); }
  Win32State& state_;
  platform::DialogEvents& events_;
  HICON icon_;
  DpiScale scale_;
  GdiCache gdi_;
  HWND window_ = nullptr;
  bool tracking_ = false;
  bool ticking_ = false;
};

}  // namespace

void Win32Platform::ShowHint(std::u16string_view text, platform::Point screen, platform::Color background) {
  RegisterWindowClass(hintClass, HintProc, state_->instance, CS_DROPSHADOW);
  if (!state_->hint) {
    state_->hint = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, hintClass, L"", WS_POPUP, 0, 0,
                                   0, 0, nullptr, nullptr, state_->instance, nullptr);
    SetWindowLongPtrW(state_->hint, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state_.get()));
  }
  state_->hintText = Wide(text);
  state_->hintBackground = RGB(background.red, background.green, background.blue);
  const int width = MeasureText(*state_, text, hintFont) + 2 * hintMargin + 2;
  const int height = hintFont.pixelHeight + 2 * hintMargin + 2;
  const RECT device = state_->screens.Device(platform::Rect::FromBounds(screen.x, screen.y, width, height));
  SetWindowPos(state_->hint, HWND_TOPMOST, device.left, device.top, state_->scale.Device(width),
               state_->scale.Device(height), SWP_NOACTIVATE | SWP_SHOWWINDOW);
  InvalidateRect(state_->hint, nullptr, FALSE);
}

void Win32Platform::HideHint() {
  if (state_->hint) ::ShowWindow(state_->hint, SW_HIDE);
}

std::unique_ptr<platform::DialogWindow> Win32Platform::CreateDialogWindow(platform::DialogEvents& events) {
  return std::make_unique<Win32DialogWindow>(*state_, events);
}

}  // namespace tasklane::win32
