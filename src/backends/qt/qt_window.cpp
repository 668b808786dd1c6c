// The main window's widget: what it is to the window system, its geometry and state, its
// close, and its painting.
//
//  [x] frameless, always on top (switchable), no task-bar entry, title and class name
//  [x] bounds = widget geometry (no frame: client = outer), kept within the size limits,
//      which the window system knows as well
//  [x] Resized on every change of size, also while hidden
//  [x] hide, show, show normal, minimise, bring to front, activate
//  [x] close: the close query runs once, a refusal keeps the window
//  [x] paint: background, the grid through a QPainter canvas, the grid's border
//  [x] the grid's editor measures text in the painted font
#include "backends/qt/qt_window.h"

#include <algorithm>
#include <utility>

#include <QCloseEvent>
#include <QFontMetrics>
#include <QPainter>

#include "backends/qt/qt_canvas.h"
#include "backends/qt/qt_fonts.h"
#include "backends/qt/qt_text.h"
#include "mainwindow/ToDoUnit.h"

namespace tasklane::qt {

namespace {

// The window systems' own largest window, and what the size limits start from.
constexpr int noLimit = 16777215;

}  // namespace

QtWindow::QtWindow() {
  // Qt::Tool keeps the window out of the task bar; it still takes the keyboard focus.
  setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
  setWindowTitle(QtString(mainwindow::TToDoForm::caption));
  setObjectName(QtString(mainwindow::TToDoForm::className));
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  setAttribute(Qt::WA_InputMethodEnabled);
  // The core paints every pixel; Qt need not clear the background first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  systemMoveQuiet_.setSingleShot(true);
  QObject::connect(&systemMoveQuiet_, &QTimer::timeout, this, [this] { EndSystemMove(); });
}

// The grid's editor measures its text for the mouse between paints too, in the font the
// canvas draws it with.
void QtWindow::AttachForm(mainwindow::TToDoForm& form) {
  form_ = &form;
  ui::StringGrid& grid = form.ToDoGrid;
  grid.Editor().SetMeasure([&grid](std::u16string_view text) {
    return QFontMetrics(QtFontOf(grid.Font)).horizontalAdvance(QtString(text));
  });
}

platform::Rect QtWindow::Bounds() const {
  const QRect g = geometry();
  return platform::Rect::FromBounds(g.x(), g.y(), g.width(), g.height());
}

void QtWindow::SetBounds(const platform::Rect& bounds) {
  const auto [minimum, maximum] = TellSizeLimits();
  // The minimum wins over a smaller maximum, as the window systems do it.
  const int width = std::max(std::min(bounds.Width(), maximum.width), minimum.width);
  const int height = std::max(std::min(bounds.Height(), maximum.height), minimum.height);
  setGeometry(bounds.left, bounds.top, std::max(width, 0), std::max(height, 0));
  // NOTE: a hidden widget gets its resize event only when it is shown; the core hears of the
  // new size now, as it would on any other system.
  ReportSizeIfChanged();
}

// A window manager that sizes the window by its own means keeps it within these limits only
// when it knows them.
std::pair<platform::Size, platform::Size> QtWindow::TellSizeLimits() {
  platform::Size minimum{0, 0};
  platform::Size maximum{noLimit, noLimit};
  if (events_) events_->SizeLimits(minimum, maximum);
  const QSize smallest(std::max(minimum.width, 0), std::max(minimum.height, 0));
  setMinimumSize(smallest);
  setMaximumSize(QSize(std::min(maximum.width, noLimit), std::min(maximum.height, noLimit)).expandedTo(smallest));
  return {minimum, maximum};
}

void QtWindow::ReportSizeIfChanged() {
  if (size() == reportedSize_) return;
  reportedSize_ = size();
  if (events_) events_->Resized();
}

void QtWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  ReportSizeIfChanged();
}

void QtWindow::SetTopMost(bool topMost) {
  if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) == topMost) return;
  const bool visible = isVisible();
  const bool active = isActiveWindow();
  const QRect kept = geometry();
  setWindowFlag(Qt::WindowStaysOnTopHint, topMost);
  // NOTE: new window flags make Qt create the native window anew, hidden; it has to be shown
  // again, where it was, and given back the focus it had.
  setGeometry(kept);
  if (!visible) return;
  show();
  if (active) activateWindow();
}

void QtWindow::Show(platform::WindowShow how) {
  switch (how) {
    case platform::WindowShow::Hide: hide(); break;
    case platform::WindowShow::Show: show(); break;
    // Also brings back a window that was minimised, and then hidden.
    case platform::WindowShow::ShowNormal: showNormal(); break;
    case platform::WindowShow::Minimize: showMinimized(); break;
  }
}

void QtWindow::Activate() {
  raise();
  activateWindow();
}

void QtWindow::ShowNormalAndForeground() {
  showNormal();
  raise();
  activateWindow();
}

void QtWindow::RequestClose() {
  if (closeQueryRunning_) return;  // a second request while the first still asks
  close();
}

void QtWindow::closeEvent(QCloseEvent* event) {
  if (closed_ || !events_) {
    closed_ = true;
    event->accept();
    return;
  }
  if (closeQueryRunning_) {
    event->ignore();
    return;
  }
  closeQueryRunning_ = true;
  const bool mayClose = events_->CloseQuery();
  closeQueryRunning_ = false;
  closed_ = mayClose;
  event->setAccepted(mayClose);
}

void QtWindow::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  // The current cell looks different in an active window.
  if (event->type() == QEvent::ActivationChange) update();
}

bool QtWindow::GridIsActiveControl() const {
  return form_ && form_->ActiveControl == &form_->ToDoGrid;
}

void QtWindow::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  if (!form_) {
    painter.fillRect(rect(), palette().color(QPalette::Button));
    return;
  }
  QtCanvas canvas(painter);
  form_->Paint(canvas, isActiveWindow());
}

}  // namespace tasklane::qt
