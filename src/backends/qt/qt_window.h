// The main window as one Qt widget: it turns the window system's events into calls on the
// core's window and its grid, and carries out the core's requests on geometry and state.
#pragma once

#include <QTimer>
#include <QWidget>
#include <utility>

#include "platform/Platform.h"

namespace tasklane::mainwindow {
class TToDoForm;
}

namespace tasklane::qt {

class QtWindow final : public QWidget {
 public:
  QtWindow();

  void AttachEvents(platform::WindowEvents& events) { events_ = &events; }
  void AttachForm(mainwindow::TToDoForm& form);
  mainwindow::TToDoForm* Form() const { return form_; }

  platform::Rect Bounds() const;
  void SetBounds(const platform::Rect& bounds);
  void SetTopMost(bool topMost);
  void Show(platform::WindowShow how);
  // To the front, with the keyboard.
  void Activate();
  // The window system's own move or sizing from the press being handled; without one that
  // does it, the window follows the mouse itself until the button is released.
  void StartSystemMove();
  void StartSystemResize(platform::HitZone edge);
  // Brings a window that another start of the program asked for to the front.
  void ShowNormalAndForeground();
  // Runs the close query once; every later request closes without asking again.
  void RequestClose();
  bool Closed() const { return closed_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  bool focusNextPrevChild(bool next) override;

 private:
  std::pair<platform::Size, platform::Size> TellSizeLimits();  // minimum, maximum
  void ReportSizeIfChanged();
  bool GridIsActiveControl() const;
  void MouseButtonEvent(QMouseEvent* event, bool press, bool doubleClick);
  void TypeText(const QString& text);

  // The frame's own handling of the mouse (qt_drag.cpp); each says whether it took the event
  // from the core.
  bool FramePress(QMouseEvent* event);
  bool FrameRelease(QMouseEvent* event);
  bool FrameMove(QMouseEvent* event);
  void ShowCursorFor(QPoint global);
  void FollowMouse(Qt::Edges edges);  // no edges: a move
  void DragTo(QPoint global);
  void EndDrag();
  void EndSystemMove();

  platform::WindowEvents* events_ = nullptr;
  mainwindow::TToDoForm* form_ = nullptr;
  QSize reportedSize_{-1, -1};
  bool closeQueryRunning_ = false;
  bool closed_ = false;
  int wheelRemainder_ = 0;  // eighths of a degree short of a whole wheel notch

  QPoint pressGlobal_;                    // where the last press was, on the screen
  Qt::MouseButtons swallowedPresses_;     // presses on an edge, whose releases the core never sees
  bool dragging_ = false;                 // the window follows the mouse itself
  Qt::Edges dragEdges_;                   // the edges that follow it; none for a move
  QPoint dragStart_;                      // on the screen
  QRect dragStartGeometry_;
  bool systemMoving_ = false;             // the window system moves it
  QTimer systemMoveQuiet_;                // ends a system move that no mouse event ended
};

}  // namespace tasklane::qt
