// QtPlatform: the file browser showing a file, and web addresses.
//
//  [x] org.freedesktop.FileManager1.ShowItems on the session bus: the file's URL, no startup id
//  [x] asynchronous: the program goes on while the file manager starts
//  [x] no session bus, no such service, or no answer in time: xdg-open on the file's folder
//  [x] an address as a user types it ("www.example.org") in the desktop's web browser
#include "backends/qt/qt_shell.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

#include "backends/qt/qt_platform.h"
#include "backends/qt/qt_text.h"

namespace tasklane::qt {

namespace {

// Long enough for a file manager that D-Bus activation has to start first.
constexpr int answerTimeoutMs = 10000;

void OpenFolder(const std::filesystem::path& file, const Launcher& launch) {
  launch(QStringLiteral("xdg-open"), {QtPath(file.parent_path())});
}

}  // namespace

QString FileUri(const std::filesystem::path& file) {
  return QString::fromLatin1(QUrl::fromLocalFile(QtPath(file)).toEncoded());
}

void ShowInFileBrowser(const std::filesystem::path& file, const QDBusConnection& bus, Launcher launch) {
  if (!bus.isConnected()) {
    OpenFolder(file, launch);
    return;
  }
  QDBusMessage call = QDBusMessage::createMethodCall(
      QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
      QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
  call << QStringList{FileUri(file)} << QString();
  auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, answerTimeoutMs));
  QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                   [watcher, file, launch = std::move(launch)] {
                     if (watcher->isError()) OpenFolder(file, launch);
                     watcher->deleteLater();
                   });
}

void QtPlatform::ShowFileInBrowser(const std::filesystem::path& file) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(file, error);
  ShowInFileBrowser(error ? file : absolute, QDBusConnection::sessionBus(), [](const QString& program, const QStringList& arguments) {
    QProcess::startDetached(program, arguments);
  });
}

void QtPlatform::OpenAddress(std::u16string_view address) {
  QDesktopServices::openUrl(QUrl::fromUserInput(QtString(address)));
}

}  // namespace tasklane::qt
