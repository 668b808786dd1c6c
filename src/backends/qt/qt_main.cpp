// The Linux program: the application object, the Qt platform, and the program's run with Qt's
// event loop as its message loop.
#include <malloc.h>

#include <QApplication>

#include "app/ToDoProject.h"
#include "backends/qt/qt_platform.h"
#include "backends/qt/qt_wayland.h"

int main(int argc, char** argv) {
  tasklane::qt::PreferXWayland();
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tasklane"));
  // The program ends through its close query and Terminate, never because a window closed.
  QApplication::setQuitOnLastWindowClosed(false);
  tasklane::qt::QtPlatform platform;
  return tasklane::app::RunTasklane(platform, [&](tasklane::mainwindow::TToDoForm& form) {
    platform.AttachForm(form);
    // NOTE: glibc keeps the pages of the list's tree, freed once the table holds the list, for
    // later allocations; a large list would hold twice its memory for the whole run.
    malloc_trim(0);
    QApplication::exec();
  });
}
