// QtPlatform: the window's requests, the screen and the popup menu.
//
//  [x] attach the core's window and its form; the program icon on every window
//  [x] bounds, top-most, show, visible, close, repaint, activate, the system's move and size
//  [x] primary screen size, virtual desktop, cursor position, the work area nearest a window
//  [x] the button face colour of the desktop's palette
//  [x] the popup menu, modal at a point of the screen, with the pictures in it
#include "backends/qt/qt_platform.h"

#include <QApplication>
#include <QCursor>
#include <QScreen>
#include <algorithm>
#include <limits>

#include "backends/qt/qt_accessible.h"
#include "backends/qt/qt_art.h"
#include "backends/qt/qt_fonts.h"
#include "backends/qt/qt_menu.h"
#include "backends/qt/qt_state.h"

namespace tasklane::qt {

namespace {

platform::Rect CoreRectOf(const QRect& rect) {
  return platform::Rect::FromBounds(rect.x(), rect.y(), rect.width(), rect.height());
}

// The screen the point is on, else the one whose edge is closest to it.
const QScreen* ScreenNearest(QPoint point) {
  if (const QScreen* screen = QGuiApplication::screenAt(point)) return screen;
  const QScreen* nearest = QGuiApplication::primaryScreen();
  long long best = std::numeric_limits<long long>::max();
  for (const QScreen* screen : QGuiApplication::screens()) {
    const QRect g = screen->geometry();
    const long long dx = std::max({g.left() - point.x(), 0, point.x() - g.right()});
    const long long dy = std::max({g.top() - point.y(), 0, point.y() - g.bottom()});
    if (dx * dx + dy * dy < best) {
      best = dx * dx + dy * dy;
      nearest = screen;
    }
  }
  return nearest;
}

}  // namespace

QtPlatform::QtPlatform() : state_(std::make_unique<QtState>()) {
  InstallAccessibility();
  LoadPreferredFonts();
  // NOTE: desktops that keep icons out of menus set this; the menu's pictures are its design.
  QCoreApplication::setAttribute(Qt::AA_DontShowIconsInMenus, false);
  const QIcon icon = ProgramIcon();
  QApplication::setWindowIcon(icon);
  state_->window.setWindowIcon(icon);
}

QtPlatform::~QtPlatform() = default;

void QtPlatform::AttachForm(mainwindow::TToDoForm& form) { state_->window.AttachForm(form); }

void QtPlatform::AttachWindow(platform::WindowEvents& events) {
  state_->events = &events;
  state_->window.AttachEvents(events);
}

platform::Rect QtPlatform::WindowBounds() { return state_->window.Bounds(); }

void QtPlatform::SetWindowBounds(const platform::Rect& bounds) { state_->window.SetBounds(bounds); }

void QtPlatform::SetTopMost(bool topMost) { state_->window.SetTopMost(topMost); }

void QtPlatform::ShowWindow(platform::WindowShow how) { state_->window.Show(how); }

bool QtPlatform::WindowVisible() { return state_->window.isVisible(); }

bool QtPlatform::WindowTakesInput() { return QApplication::activeModalWidget() == nullptr; }

void QtPlatform::RequestClose() { state_->window.RequestClose(); }

void QtPlatform::Repaint() { state_->window.update(); }

void QtPlatform::NotifyAccessibility(const platform::AccessibleEvent& event) {
  TellAccessibility(state_->window, event);
}

void QtPlatform::ActivateWindow() { state_->window.Activate(); }

void QtPlatform::StartSystemMove() { state_->window.StartSystemMove(); }

void QtPlatform::StartSystemResize(platform::HitZone edge) { state_->window.StartSystemResize(edge); }

platform::Size QtPlatform::PrimaryScreenSize() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return {};
  return {screen->geometry().width(), screen->geometry().height()};
}

platform::Point QtPlatform::CursorPosition() {
  const QPoint position = QCursor::pos();
  return {position.x(), position.y()};
}

platform::Rect QtPlatform::VirtualDesktop() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return {};
  return CoreRectOf(screen->virtualGeometry());
}

platform::Rect QtPlatform::WorkAreaNearest(const platform::Rect& window) {
  const QScreen* screen = ScreenNearest({(window.left + window.right) / 2, (window.top + window.bottom) / 2});
  return screen ? CoreRectOf(screen->availableGeometry()) : platform::Rect{};
}

platform::Color QtPlatform::ButtonFaceColor() {
  const QColor face = QApplication::palette().color(QPalette::Active, QPalette::Button);
  return {static_cast<std::uint8_t>(face.red()), static_cast<std::uint8_t>(face.green()),
          static_cast<std::uint8_t>(face.blue())};
}

// A menu for the tray icon opens while the window may be hidden; it then belongs to none.
platform::MenuItem* QtPlatform::OpenPopupMenu(platform::MenuItem& menu, platform::Point screen) {
  QtWindow& window = state_->window;
  return ExecMenu(menu, {screen.x, screen.y}, window.isVisible() ? &window : nullptr);
}

}  // namespace tasklane::qt
