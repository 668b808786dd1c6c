// QtPlatform: the process and what it asks of the system besides windows.
//
//  [x] process the waiting events, end the program
//  [x] command-line arguments, executable path, the user's data folder, current folder
//  [x] a new GUID, the language the texts were built in, text comparison
//  [x] the file system
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QUuid>

#include "backends/qt/qt_platform.h"
#include "backends/qt/qt_state.h"
#include "backends/qt/qt_text.h"
#include "mainwindow/ToDoUnit.h"

namespace tasklane::qt {

void QtPlatform::ProcessMessages() { QCoreApplication::processEvents(); }

// The core asks for the end from inside its close query; the loop ends once the close is
// through.
void QtPlatform::Terminate() {
  QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection);
}

std::vector<std::u16string> QtPlatform::CommandLineArguments() {
  const QStringList arguments = QCoreApplication::arguments();
  std::vector<std::u16string> result;
  for (qsizetype i = 1; i < arguments.size(); ++i) result.push_back(CoreString(arguments[i]));
  return result;
}

std::filesystem::path QtPlatform::ExecutablePath() { return CorePath(QCoreApplication::applicationFilePath()); }

// $XDG_DATA_HOME, which counts only when absolute, or else ~/.local/share; none without a home.
std::filesystem::path QtPlatform::UserDataFolder() {
  QString base = qEnvironmentVariable("XDG_DATA_HOME");
  if (base.isEmpty() || QDir::isRelativePath(base)) {
    const QString home = qEnvironmentVariable("HOME");
    if (home.isEmpty() || QDir::isRelativePath(home)) return {};
    base = home + QStringLiteral("/.local/share");
  }
  return CorePath(base + QStringLiteral("/Tasklane"));
}

void QtPlatform::SetCurrentFolder(const std::filesystem::path& folder) { QDir::setCurrent(QtPath(folder)); }

std::u16string QtPlatform::NewGuid() {
  return CoreString(QUuid::createUuid().toString(QUuid::WithBraces).toUpper());
}

platform::LocalTime QtPlatform::LocalNow() {
  const QDateTime now = QDateTime::currentDateTime();
  return {now.date().year(), now.date().month(), now.date().day(), now.time().hour(), now.time().minute()};
}

std::u16string QtPlatform::LanguageResource() { return mainwindow::buildEnglishUI ? u"ENGLISH" : u"DEUTSCH"; }

bool QtPlatform::SameTextIgnoringCase(std::u16string_view a, std::u16string_view b) {
  return QtString(a).compare(QtString(b), Qt::CaseInsensitive) == 0;
}

platform::Files& QtPlatform::FileSystem() { return *state_->files; }

platform::InstanceLock QtPlatform::CreateInstanceLock(std::u16string_view name) {
  return state_->instance.Create(name);
}

void QtPlatform::CloseInstanceLock() { state_->instance.Close(); }

std::vector<platform::TopLevelWindow> QtPlatform::TopLevelWindows() { return state_->instance.PeerWindows(); }

void QtPlatform::ShowNormalAndForeground(std::uintptr_t windowId) { state_->instance.ShowPeer(windowId); }

}  // namespace tasklane::qt
