// A dialog window over recorded events: its bounds with its own frame, input in client
// terms, its close box, and its move without a window manager.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QMouseEvent>
#include <QStyle>
#include <vector>

#include "backends/qt/qt_accessible.h"
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
  std::vector<platform::AccessiblePart> AccessibleParts() override {
    return {{platform::AccessibleRole::Text, u"Read me", {10, 10, 100, 30}},
            {platform::AccessibleRole::Link, u"www.tasklane.org", {10, 40, 100, 60}}};
  }
  void ActivatePart(int index) override { activated.push_back(index); }

  platform::DialogWindow* window = nullptr;
  std::vector<Point> downs, ups;
  std::vector<int> activated;
};

void Mouse(QWidget& window, QEvent::Type type, QPoint global, Qt::MouseButton button, Qt::MouseButtons held) {
  QMouseEvent event(type, global - window.geometry().topLeft(), global, button, held, Qt::NoModifier);
  QApplication::sendEvent(&window, &event);
}

// The window draws its own frame, so that every window manager shows the same title bar:
// the close box and nothing else.
TEST(QtDialogWindow, ItsOwnFrameCountsInItsBoundsAndItsTitleBarMovesIt) {
  RecordingDialog events;
  QtDialogWindow window(events);
  events.window = &window;
  window.SetOuterBounds(platform::Rect::FromBounds(50, 60, 300, 200));
  window.Show();
  EXPECT_TRUE(window.windowFlags().testFlag(Qt::FramelessWindowHint)) << "no window manager adds boxes";
  EXPECT_EQ(window.OuterBounds(), platform::Rect::FromBounds(50, 60, 300, 200));
  const int title = window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window);
  EXPECT_EQ(window.ClientSize(), (platform::Size{300 - 2, 200 - 2 - title}));

  const QPoint client = window.geometry().topLeft() + QPoint(1, 1 + title);
  Mouse(window, QEvent::MouseButtonPress, client + QPoint(20, 10), Qt::LeftButton, Qt::LeftButton);
  Mouse(window, QEvent::MouseButtonRelease, client + QPoint(20, 10), Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(events.downs, (std::vector<Point>{{20, 10}}));
  EXPECT_EQ(window.OuterBounds(), platform::Rect::FromBounds(50, 60, 300, 200));

  // Without a window manager the window follows the mouse itself.
  const QPoint onTitle = window.geometry().topLeft() + QPoint(60, 1 + title / 2);
  Mouse(window, QEvent::MouseButtonPress, onTitle, Qt::LeftButton, Qt::LeftButton);
  EXPECT_EQ(events.downs.size(), 1u) << "the title bar is not the core's";
  Mouse(window, QEvent::MouseMove, onTitle + QPoint(30, 20), Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(window.OuterBounds(), platform::Rect::FromBounds(80, 80, 300, 200));
  Mouse(window, QEvent::MouseButtonRelease, onTitle + QPoint(30, 20), Qt::LeftButton, Qt::NoButton);
  Mouse(window, QEvent::MouseMove, onTitle + QPoint(80, 80), Qt::NoButton, Qt::NoButton);
  EXPECT_EQ(window.OuterBounds(), platform::Rect::FromBounds(80, 80, 300, 200));
  EXPECT_TRUE(events.ups.empty()) << "the moves took the releases";
  EXPECT_EQ(QWidget::mouseGrabber(), nullptr);

  const QPoint closeBox = window.geometry().topLeft() + QPoint(300 - 1 - title / 2, 1 + title / 2);
  Mouse(window, QEvent::MouseButtonPress, closeBox, Qt::LeftButton, Qt::LeftButton);
  EXPECT_TRUE(window.Visible()) << "a box closes on its release";
  Mouse(window, QEvent::MouseButtonRelease, closeBox, Qt::LeftButton, Qt::NoButton);
  EXPECT_FALSE(window.Visible()) << "the close box hides it";
}

// A screen reader reads the core's parts where they are drawn, then the close box, and the
// actions activate the link and hide the window.
TEST(QtDialogWindow, AScreenReaderReadsItsPartsAndActsOnTheLinkAndTheCloseBox) {
  InstallAccessibility();
  RecordingDialog events;
  QtDialogWindow window(events);
  window.SetTitle(u"Tasklane Version 1.0");
  window.SetOuterBounds(platform::Rect::FromBounds(50, 60, 300, 200));
  window.Show();
  QAccessibleInterface* dialog = QAccessible::queryAccessibleInterface(&window);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->role(), QAccessible::Dialog);
  EXPECT_EQ(dialog->text(QAccessible::Name), QStringLiteral("Tasklane Version 1.0"));
  ASSERT_EQ(dialog->childCount(), 3);
  QAccessibleInterface* text = dialog->child(0);
  QAccessibleInterface* link = dialog->child(1);
  QAccessibleInterface* close = dialog->child(2);
  EXPECT_EQ(text->role(), QAccessible::StaticText);
  EXPECT_EQ(text->text(QAccessible::Name), QStringLiteral("Read me"));
  EXPECT_EQ(text->actionInterface(), nullptr);
  const QPoint client = window.mapToGlobal(window.ClientRect().topLeft());
  EXPECT_EQ(link->rect(), QRect(client + QPoint(10, 40), QSize(90, 20)));
  EXPECT_EQ(dialog->childAt(client.x() + 20, client.y() + 50), link);
  EXPECT_EQ(link->role(), QAccessible::Link);
  link->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_EQ(events.activated, std::vector<int>{1});
  EXPECT_EQ(close->role(), QAccessible::Button);
  EXPECT_EQ(close->text(QAccessible::Name), QStringLiteral("Close"));
  close->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_FALSE(window.Visible());
}

}  // namespace
}  // namespace tasklane::qt
