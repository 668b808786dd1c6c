// A dialog window of the program beside the main one: a Qt top-level window whose client
// area the core paints and whose input it handles.
#pragma once

#include <QMargins>
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

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void moveEvent(QMoveEvent* event) override;

 private:
  void ApplyOuterBounds();

  platform::DialogEvents& events_;
  QTimer timer_;
  QRect outer_;             // as the core asked for it, frame included
  QMargins appliedFrame_;   // the frame the client size was worked out with
  QPoint pressGlobal_;
  bool following_ = false;  // moved by the mouse here, without a window manager to do it
  QPoint followStart_;
  QPoint followStartPosition_;
};

}  // namespace tasklane::qt
