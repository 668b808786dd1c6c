// QtPlatform: hints. The core times them; this only shows and hides the window.
//
//  [x] a frameless tool-tip window: on top, no focus, no mouse, no task-bar entry
//  [x] one line of text, "&" as it is, black on the given colour inside a black 1-pixel border
//  [x] the system's hint font: Tahoma (or a sans-serif) at 8 points
//  [x] at the given point of the screen, moved back onto the screen where it would stick out
#include "backends/qt/qt_hint.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <algorithm>

#include "backends/qt/qt_platform.h"
#include "backends/qt/qt_state.h"
#include "backends/qt/qt_text.h"

namespace tasklane::qt {

namespace {

constexpr int border = 1;
constexpr int marginX = 2;  // between the border and the text, left and right
constexpr int marginY = 1;  // above and below

QPoint KeptOnScreen(QPoint at, QSize size) {
  const QScreen* screen = QGuiApplication::screenAt(at);
  if (!screen) screen = QGuiApplication::primaryScreen();
  if (!screen) return at;
  const QRect area = screen->geometry();
  const int x = std::max(std::min(at.x(), area.x() + area.width() - size.width()), area.x());
  const int y = std::max(std::min(at.y(), area.y() + area.height() - size.height()), area.y());
  return {x, y};
}

}  // namespace

QtHint::QtHint() {
  setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus);
  setAttribute(Qt::WA_ShowWithoutActivating);
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFocusPolicy(Qt::NoFocus);
  QFont hintFont(QStringLiteral("Tahoma"));
  hintFont.setStyleHint(QFont::SansSerif);
  hintFont.setPointSize(8);
  setFont(hintFont);
}

void QtHint::ShowAt(const QString& text, QPoint at, QColor background) {
  text_ = text;
  background_ = background;
  const QFontMetrics metrics(font());
  const QSize size(metrics.horizontalAdvance(text_) + 2 * (border + marginX), metrics.height() + 2 * (border + marginY));
  setGeometry(QRect(KeptOnScreen(at, size), size));
  show();
  update();
}

void QtHint::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::black);
  painter.fillRect(rect().adjusted(border, border, -border, -border), background_);
  painter.setPen(Qt::black);
  painter.drawText(rect().adjusted(border + marginX, border + marginY, -border, -border),
                   Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text_);
}

void QtPlatform::ShowHint(std::u16string_view text, platform::Point screen, platform::Color background) {
  state_->hint.ShowAt(QtString(text), {screen.x, screen.y}, QColor(background.red, background.green, background.blue));
}

void QtPlatform::HideHint() { state_->hint.hide(); }

}  // namespace tasklane::qt
