// The hint window: where it shows, its colours, and that it never takes the focus.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>

#include "backends/qt/qt_hint.h"

namespace tasklane::qt {
namespace {

const QColor paleYellow(255, 255, 225);

TEST(QtHint, ShowsTheTextAtThePointInItsColoursUntilHidden) {
  QtHint hint;
  hint.ShowAt(QStringLiteral("Add a row"), {200, 150}, paleYellow);
  ASSERT_TRUE(hint.isVisible());
  EXPECT_EQ(hint.pos(), QPoint(200, 150));
  EXPECT_EQ(hint.windowFlags() & Qt::WindowType_Mask, Qt::ToolTip);
  EXPECT_TRUE(hint.testAttribute(Qt::WA_ShowWithoutActivating));
  EXPECT_EQ(hint.focusPolicy(), Qt::NoFocus);

  const QImage image = hint.grab().toImage();
  EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::black));
  EXPECT_EQ(image.pixelColor(image.width() - 1, image.height() - 1), QColor(Qt::black));
  EXPECT_EQ(image.pixelColor(1, 1), paleYellow);
  int dark = 0;  // the text, in black, smoothed at its edges
  for (int x = 2; x < image.width() - 2; ++x) {
    for (int y = 2; y < image.height() - 2; ++y) dark += image.pixelColor(x, y).lightness() < 100;
  }
  EXPECT_GT(dark, 10);
  EXPECT_GT(image.width(), image.height() * 2) << "one line";

  hint.hide();
  EXPECT_FALSE(hint.isVisible());
}

TEST(QtHint, StaysOnTheScreen) {
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  QtHint hint;
  hint.ShowAt(QStringLiteral("Close"), screen.bottomRight() - QPoint(3, 3), paleYellow);
  EXPECT_TRUE(screen.contains(hint.geometry())) << hint.geometry().x() << "," << hint.geometry().y();
}

}  // namespace
}  // namespace tasklane::qt
