// The borderless window's frame, as a window manager would handle a frame of its own: edges
// and corners that size the window, presses that move it, and both done here where no
// window manager does them.
//
//  [x] the cursor shows the edge or corner under the mouse, as the core's hit test says
//  [x] a press on an edge never reaches the core: the left button sizes, the others do nothing
//  [x] the window system's own move and sizing, started from the press being handled
//  [x] without a window manager to do it (bare X, offscreen): the window follows the mouse
//      itself, its size kept within the size limits, until the button is released
//  [x] the end of a move is told to the core once, so that it may snap the window in place
#include <QEnterEvent>
#include <QMouseEvent>
#include <QWindow>
#include <algorithm>
#include <utility>

#include "backends/qt/qt_window.h"

namespace tasklane::qt {

namespace {

using platform::HitZone;

Qt::Edges EdgesOf(HitZone zone) {
  switch (zone) {
    case HitZone::Client: return {};
    case HitZone::Left: return Qt::LeftEdge;
    case HitZone::Right: return Qt::RightEdge;
    case HitZone::Top: return Qt::TopEdge;
    case HitZone::Bottom: return Qt::BottomEdge;
    case HitZone::TopLeft: return Qt::TopEdge | Qt::LeftEdge;
    case HitZone::TopRight: return Qt::TopEdge | Qt::RightEdge;
    case HitZone::BottomLeft: return Qt::BottomEdge | Qt::LeftEdge;
    case HitZone::BottomRight: return Qt::BottomEdge | Qt::RightEdge;
  }
  return {};
}

Qt::CursorShape CursorOf(HitZone zone) {
  switch (zone) {
    case HitZone::Left:
    case HitZone::Right: return Qt::SizeHorCursor;
    case HitZone::Top:
    case HitZone::Bottom: return Qt::SizeVerCursor;
    case HitZone::TopLeft:
    case HitZone::BottomRight: return Qt::SizeFDiagCursor;
    case HitZone::TopRight:
    case HitZone::BottomLeft: return Qt::SizeBDiagCursor;
    case HitZone::Client: break;
  }
  return Qt::ArrowCursor;
}

// One axis of a sizing: the edge held follows the mouse, the other one stays where it was,
// and the extent keeps within its limits. The new start and extent.
std::pair<int, int> SizedAxis(int start, int extent, int delta, bool lowEdge, bool highEdge, int minimum,
                              int maximum) {
  int sized = extent + (highEdge ? delta : 0) - (lowEdge ? delta : 0);
  // The minimum wins over a smaller maximum, as the window systems do it.
  sized = std::max({std::min(sized, maximum), minimum, 0});
  return {lowEdge ? start + extent - sized : start, sized};
}

// A window manager that ended its move took the release with it; the quiet after the last
// move it made is the last sign of the end.
constexpr int systemMoveQuietMs = 500;

}  // namespace

void QtWindow::StartSystemMove() {
  if (dragging_ || systemMoving_) return;
  if (QWindow* handle = windowHandle(); handle && handle->startSystemMove()) {
    systemMoving_ = true;
    return;
  }
  FollowMouse({});
}

void QtWindow::StartSystemResize(HitZone edge) {
  const Qt::Edges edges = EdgesOf(edge);
  if (!edges || dragging_ || systemMoving_) return;
  TellSizeLimits();
  if (QWindow* handle = windowHandle(); handle && handle->startSystemResize(edges)) return;
  FollowMouse(edges);
}

void QtWindow::FollowMouse(Qt::Edges edges) {
  dragging_ = true;
  dragEdges_ = edges;
  dragStart_ = pressGlobal_;
  dragStartGeometry_ = geometry();
  // The moves and the release come here even where the window lags behind the mouse.
  grabMouse();
}

void QtWindow::DragTo(QPoint global) {
  const QPoint delta = global - dragStart_;
  const QRect start = dragStartGeometry_;
  if (!dragEdges_) {
    move(start.topLeft() + delta);
    return;
  }
  platform::Size minimum{0, 0};
  platform::Size maximum{QWIDGETSIZE_MAX, QWIDGETSIZE_MAX};
  if (events_) events_->SizeLimits(minimum, maximum);
  const auto [left, width] = SizedAxis(start.x(), start.width(), delta.x(), dragEdges_.testFlag(Qt::LeftEdge),
                                       dragEdges_.testFlag(Qt::RightEdge), minimum.width, maximum.width);
  const auto [top, height] = SizedAxis(start.y(), start.height(), delta.y(), dragEdges_.testFlag(Qt::TopEdge),
                                       dragEdges_.testFlag(Qt::BottomEdge), minimum.height, maximum.height);
  SetBounds(platform::Rect::FromBounds(left, top, width, height));
}

void QtWindow::EndDrag() {
  dragging_ = false;
  releaseMouse();
  if (!dragEdges_ && events_) events_->Moved();
}

void QtWindow::EndSystemMove() {
  if (!systemMoving_) return;
  systemMoving_ = false;
  systemMoveQuiet_.stop();
  if (events_) events_->Moved();
}

void QtWindow::ShowCursorFor(QPoint global) {
  if (events_) setCursor(CursorOf(events_->HitTest({global.x(), global.y()})));
}

bool QtWindow::FramePress(QMouseEvent* event) {
  // A new press: whatever moved the window before is over.
  EndSystemMove();
  if (dragging_) {
    swallowedPresses_ |= event->button();
    return true;
  }
  if (!events_) return false;
  const HitZone zone = events_->HitTest({pressGlobal_.x(), pressGlobal_.y()});
  if (zone == HitZone::Client) return false;
  swallowedPresses_ |= event->button();
  if (event->button() == Qt::LeftButton) StartSystemResize(zone);
  return true;
}

bool QtWindow::FrameRelease(QMouseEvent* event) {
  if (dragging_) {
    if (!event->buttons().testFlag(Qt::LeftButton)) EndDrag();
    swallowedPresses_ &= ~event->button();
    return true;
  }
  if (swallowedPresses_.testFlag(event->button())) {
    swallowedPresses_ &= ~event->button();
    return true;
  }
  // The window manager left the release to the window: its move is over, and the core,
  // which handed the press to it, expects no release.
  if (systemMoving_) {
    EndSystemMove();
    return true;
  }
  return false;
}

bool QtWindow::FrameMove(QMouseEvent* event) {
  const QPoint global = event->globalPosition().toPoint();
  if (dragging_) {
    DragTo(global);
    return true;
  }
  if (!event->buttons().testFlag(Qt::LeftButton)) EndSystemMove();
  if (event->buttons() == Qt::NoButton) ShowCursorFor(global);
  return false;
}

void QtWindow::enterEvent(QEnterEvent* event) {
  QWidget::enterEvent(event);
  // NOTE: the window manager's move loop holds the mouse; the window hears of it again, with
  // an enter, only once the loop is over.
  EndSystemMove();
}

void QtWindow::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  if (systemMoving_) systemMoveQuiet_.start(systemMoveQuietMs);
  else if (!dragging_ && events_) events_->Displaced();
}

}  // namespace tasklane::qt
