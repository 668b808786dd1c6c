// The Linux program with a start-up that fails where no user can make it fail on purpose:
// looking for the list file throws. Everything else is the real program.
#include <QApplication>

#include "app/ToDoProject.h"
#include "backends/qt/qt_platform.h"
#include "support/FaultyFiles.h"

namespace {

class FailingStartPlatform final : public tasklane::qt::QtPlatform {
 public:
  FailingStartPlatform() { files_.FailNext(tasklane::testing::FaultyFiles::Operation::FileExists); }
  tasklane::platform::Files& FileSystem() override { return files_; }

 private:
  tasklane::testing::FaultyFiles files_;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tasklane"));
  QApplication::setQuitOnLastWindowClosed(false);
  FailingStartPlatform platform;
  return tasklane::app::RunTasklane(platform, [&](tasklane::mainwindow::TToDoForm& form) {
    platform.AttachForm(form);
    QApplication::exec();
  });
}
