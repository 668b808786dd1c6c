// The Qt tests run in one application object on the offscreen platform: no display needed.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>

#include "backends/qt/qt_fonts.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication application(argc, argv);
  tasklane::qt::LoadPreferredFonts();
  return RUN_ALL_TESTS();
}
