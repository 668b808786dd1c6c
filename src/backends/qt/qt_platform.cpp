// QtPlatform: the window's requests and the screen.
//
//  [x] attach the core's window and its form
//  [x] bounds, top-most, show, visible, close, repaint
//  [x] primary screen size, virtual desktop, cursor position
#include "backends/qt/qt_platform.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

#include "backends/qt/qt_fonts.h"
#include "backends/qt/qt_state.h"

namespace tasklane::qt {

QtPlatform::QtPlatform() : state_(std::make_unique<QtState>()) { LoadPreferredFonts(); }

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

void QtPlatform::RequestClose() { state_->window.RequestClose(); }

void QtPlatform::Repaint() { state_->window.update(); }

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
  const QRect desktop = screen->virtualGeometry();
  return platform::Rect::FromBounds(desktop.x(), desktop.y(), desktop.width(), desktop.height());
}

}  // namespace tasklane::qt
