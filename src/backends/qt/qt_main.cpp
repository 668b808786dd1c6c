// The Linux program: the application object, the Qt platform, and the program's run with Qt's
// event loop as its message loop.
#include <QApplication>

#include "app/ToDoProject.h"
#include "backends/qt/qt_platform.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tasklane"));
  // The program ends through its close query and Terminate, never because a window closed.
  QApplication::setQuitOnLastWindowClosed(false);
  tasklane::qt::QtPlatform platform;
  return tasklane::app::RunTasklane(platform, [&](tasklane::mainwindow::TToDoForm& form) {
    platform.AttachForm(form);
    QApplication::exec();
  });
}
