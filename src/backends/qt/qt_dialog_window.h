// A dialog window of the program beside the main one: a Qt top-level window whose client
// area the core paints and whose input it handles. Its border and title bar are its own.
#pragma once

#include <QStyleOptionTitleBar>
#include <QTimer>
#include <QWidget>

#include "platform/Platform.h"

namespace tasklane::qt {

class QtDialogWindow final : public QWidget, public platform::DialogWindow {
 public:
  explicit QtDialogWindow(platform::DialogEvents& events);

  void SetTitle(std::u16string_view title) override;
  platform::Rect OuterBounds() override;
  void SetOuterBounds(const platform::Rect& bounds) override;
  platform::Size ClientSize() override;
  void Show() override;
  void Hide() override { hide(); }
  bool Visible() override { return isVisible(); }
  void Repaint() override { update(); }
  void StartSystemMove() override;
  void SetTimer(int intervalMs, bool enabled) override;

  platform::DialogEvents& Events() const { return events_; }
  // The area the core paints, and the close box, in the widget's coordinates.
  QRect ClientRect() const;
  QRect CloseBoxRect() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  QStyleOptionTitleBar TitleBar() const;
  bool OnCloseBox(QPoint point) const;
  platform::Point ClientPointOf(const QMouseEvent* event) const;

  platform::DialogEvents& events_;
  QTimer timer_;
  bool closeBoxPressed_ = false;
  bool pointerInClient_ = false;
  QPoint pressGlobal_;
  bool following_ = false;  // moved by the mouse here, without a window manager to do it
  QPoint followStart_;
  QPoint followStartPosition_;
};

}  // namespace tasklane::qt
