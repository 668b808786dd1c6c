// The Qt platform under the core's real form in this process, as the program runs it: the
// frame's move without a window manager and the snap at its end, and the menu opened from
// inside a press.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QMouseEvent>
#include <QTimer>
#include <functional>
#include <memory>

#include "backends/qt/qt_platform.h"
#include "backends/qt/qt_wayland.h"
#include "backends/qt/QtWait.h"
#include "mainwindow/ToDoUnit.h"

namespace tasklane::qt {
namespace {

using platform::Rect;

class QtPlatformTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform.AttachForm(form);
    platform.SetWindowBounds(Rect::FromBounds(100, 100, 370, 211));
    form.Values.FoldState = mainwindow::Unfolded;
    form.FormResize();
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (widget->objectName() == QStringLiteral("TToDoForm")) window = widget;
    }
    ASSERT_NE(window, nullptr);
    platform.ShowWindow(platform::WindowShow::Show);
    platform.ActivateWindow();
    ASSERT_TRUE(WaitFor([&] { return window->isActiveWindow(); }));
  }

  // `at` on the screen.
  void Mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent event(type, at - window->pos(), at, button, held, Qt::NoModifier);
    QApplication::sendEvent(window, &event);
  }

  QtPlatform platform;
  mainwindow::TToDoForm form{platform};
  QWidget* window = nullptr;
};

TEST_F(QtPlatformTest, DraggingTheFrameMovesTheWindowAndItsEndSnapsToTheWorkArea) {
  const QPoint top(100 + 150, 100 + 15);  // on the frame's top strip
  Mouse(QEvent::MouseButtonPress, top, Qt::LeftButton, Qt::LeftButton);
  Mouse(QEvent::MouseMove, top + QPoint(-50, 40), Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(platform.WindowBounds(), Rect::FromBounds(50, 140, 370, 211));
  Mouse(QEvent::MouseMove, top + QPoint(-94, 40), Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(platform.WindowBounds(), Rect::FromBounds(6, 140, 370, 211)) << "no snap while it moves";
  Mouse(QEvent::MouseButtonRelease, top + QPoint(-94, 40), Qt::LeftButton, Qt::NoButton);
  const Rect area = platform.WorkAreaNearest(platform.WindowBounds());
  EXPECT_EQ(platform.WindowBounds(), Rect::FromBounds(area.left, 140, 370, 211));
  EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
}

// The menu stays open until the user picks from it; here a key does, as soon as it shows. A
// menu the key leaves open is closed after a while, so that a failure cannot hang the test.
// The timer lives as long as the caller keeps it.
std::unique_ptr<QTimer> PressInOpenMenu(int key, const QString& text) {
  auto timer = std::make_unique<QTimer>();
  QTimer* look = timer.get();
  QObject::connect(look, &QTimer::timeout, look, [look, key, text, sent = false, ticks = 0]() mutable {
    QWidget* popup = QApplication::activePopupWidget();
    if (sent && (!popup || ++ticks > 200)) {
      if (popup) popup->close();
      look->stop();
    } else if (popup && !sent) {
      QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
      QApplication::sendEvent(popup, &press);
      sent = true;
    }
  });
  look->start(10);
  return timer;
}

TEST_F(QtPlatformTest, RightPressOnTheGridOpensTheMenuAndTheChoiceIsCarriedOut) {
  form.mnuShowGridLinesDeaktiv.SetVisible(true);  // as a loaded list decides it
  const bool linesBefore = form.mnuShowGridLinesAktiv.Visible();
  const Rect cell = form.ToDoGrid.CellRect(1, 2);
  const QPoint inCell(100 + 31 + (cell.left + cell.right) / 2, 100 + 31 + (cell.top + cell.bottom) / 2);
  const auto choose = PressInOpenMenu(Qt::Key_G, QStringLiteral("g"));  // "Draw &Grid Lines"
  Mouse(QEvent::MouseButtonPress, inCell, Qt::RightButton, Qt::RightButton);
  EXPECT_NE(form.mnuShowGridLinesAktiv.Visible(), linesBefore);
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
  EXPECT_EQ(QWidget::mouseGrabber(), nullptr);

  // Dismissed, the menu chooses nothing; the window takes the next click as ever.
  const auto dismiss = PressInOpenMenu(Qt::Key_Escape, {});
  Mouse(QEvent::MouseButtonPress, inCell, Qt::RightButton, Qt::RightButton);
  EXPECT_NE(form.mnuShowGridLinesAktiv.Visible(), linesBefore);
  Mouse(QEvent::MouseButtonPress, inCell + QPoint(0, 24), Qt::LeftButton, Qt::LeftButton);
  Mouse(QEvent::MouseButtonRelease, inCell + QPoint(0, 24), Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(form.ToDoGrid.Row(), 3);
}

TEST(QtPlatformColours, TheButtonFaceIsTheDesktopPalettes) {
  QtPlatform platform;
  const QPalette kept = QApplication::palette();
  QPalette scheme = kept;
  scheme.setColor(QPalette::Button, QColor(212, 208, 200));
  QApplication::setPalette(scheme);
  EXPECT_EQ(platform.ButtonFaceColor(), (platform::Color{212, 208, 200}));
  QApplication::setPalette(kept);
}

TEST(QtPlatformDialogs, AConfirmationIsTitledAsTheToolkitTitlesOne) {
  QtPlatform platform;
  QString title;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QTimer answer;
  answer.setInterval(10);
  QObject::connect(&answer, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    answer.stop();
    title = box->windowTitle();
    icon = box->icon();
    box->button(QMessageBox::Yes)->click();
  });
  answer.start();
  EXPECT_EQ(platform.ShowConfirmation(u"Delete?"), platform::MessageAnswer::Yes);
  EXPECT_EQ(title, mainwindow::buildEnglishUI ? QStringLiteral("Confirm") : QStringLiteral("Best\u00e4tigen"));
  EXPECT_EQ(icon, QMessageBox::Question);
}

TEST(XWayland, AWaylandSessionWithAnXDisplayRunsOnXcbUnlessTheUserChoseAPlatform) {
  EXPECT_TRUE(ShouldPreferXWayland("", "wayland", "wayland-0", ":0"));
  EXPECT_TRUE(ShouldPreferXWayland("", "", "wayland-0", ":0"));
  EXPECT_TRUE(ShouldPreferXWayland("", "wayland", "", ":0"));
  EXPECT_FALSE(ShouldPreferXWayland("wayland", "wayland", "wayland-0", ":0"));
  EXPECT_FALSE(ShouldPreferXWayland("", "wayland", "wayland-0", ""));  // no XWayland
  EXPECT_FALSE(ShouldPreferXWayland("", "x11", "", ":0"));
}

}  // namespace
}  // namespace tasklane::qt
