// A dialog window over recorded events: its bounds with the frame, input in client terms,
// and its move without a window manager.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <vector>

#include "backends/qt/qt_dialog_window.h"

namespace tasklane::qt {
namespace {

using platform::Point;

class RecordingDialog : public platform::DialogEvents {
 public:
  void Paint(platform::Canvas&) override {}
  void MouseDown(platform::MouseButton, Point point, platform::ShiftState) override {
    downs.push_back(point);
    window->StartSystemMove();  // as the dialog's background does
  }
  void MouseMove(Point, platform::ShiftState) override {}
  void MouseUp(platform::MouseButton, Point point, platform::ShiftState) override { ups.push_back(point); }
  void MouseLeave() override {}
  void KeyDown(int, platform::ShiftState) override {}
  void TimerTick() override {}

  platform::DialogWindow* window = nullptr;
  std::vector<Point> downs, ups;
};

void Mouse(QWidget& window, QEvent::Type type, QPoint global, Qt::MouseButton button, Qt::MouseButtons held) {
  QMouseEvent event(type, global - window.geometry().topLeft(), global, button, held, Qt::NoModifier);
  QApplication::sendEvent(&window, &event);
}

TEST(QtDialogWindow, FrameCountsInItsBoundsAndWithoutAWindowManagerItFollowsTheMouse) {
  RecordingDialog events;
  QtDialogWindow window(events);
  events.window = &window;
  window.SetOuterBounds(platform::Rect::FromBounds(50, 60, 300, 200));
  window.Show();
  // Offscreen draws a thin frame of its own; the client area is what it leaves.
  EXPECT_EQ(window.OuterBounds(), platform::Rect::FromBounds(50, 60, 300, 200));
  const QSize frame = window.frameGeometry().size() - window.geometry().size();
  EXPECT_EQ(window.ClientSize(), (platform::Size{300 - frame.width(), 200 - frame.height()}));

  const QPoint press = window.geometry().topLeft() + QPoint(20, 10);
  Mouse(window, QEvent::MouseButtonPress, press, Qt::LeftButton, Qt::LeftButton);
  EXPECT_EQ(events.downs, (std::vector<Point>{{20, 10}}));
  Mouse(window, QEvent::MouseMove, press + QPoint(30, 20), Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(window.OuterBounds(), platform::Rect::FromBounds(80, 80, 300, 200));
  Mouse(window, QEvent::MouseButtonRelease, press + QPoint(30, 20), Qt::LeftButton, Qt::NoButton);
  Mouse(window, QEvent::MouseMove, press + QPoint(80, 80), Qt::NoButton, Qt::NoButton);
  EXPECT_EQ(window.OuterBounds(), platform::Rect::FromBounds(80, 80, 300, 200));
  EXPECT_TRUE(events.ups.empty()) << "the move took the release";
  EXPECT_EQ(QWidget::mouseGrabber(), nullptr);

  window.close();
  EXPECT_FALSE(window.Visible()) << "the close box hides it";
}

}  // namespace
}  // namespace tasklane::qt
