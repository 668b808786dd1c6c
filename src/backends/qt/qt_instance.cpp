// One instance per logon session, the Linux way.
//
//  [x] the lock: a file in $XDG_RUNTIME_DIR (or a private folder in /tmp) held with
//      flock(LOCK_EX | LOCK_NB) for the process's life
//  [x] Created when we got it, AlreadyExists when another process holds it, Failed otherwise
//  [x] the first instance listens on a local socket beside the lock, a stale one removed first
//  [x] a later start asks it for its window's title and class name ("query"), and to come
//      to the front ("show")
#include "backends/qt/qt_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <cerrno>

#include "backends/qt/qt_text.h"
#include "backends/qt/qt_window.h"

namespace tasklane::qt {

namespace {

// Generous: the first instance may be loading a long list before it answers.
constexpr int answerTimeoutMs = 10000;
constexpr std::uintptr_t peerWindowId = 1;

// The folder the session's lock lives in; empty when there is no safe one.
QString RuntimeFolder() {
  const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
  if (!runtime.isEmpty()) return QFile::decodeName(runtime);
  const QString folder = QStringLiteral("/tmp/tasklane-%1").arg(::getuid());
  const QByteArray name = QFile::encodeName(folder);
  ::mkdir(name.constData(), 0700);
  // Somebody else's folder, or a link to one, would let them take our lock away.
  struct stat info {};
  if (::lstat(name.constData(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid()) return {};
  return folder;
}

// A name is one file name, whatever it holds.
QString FileNamePart(std::u16string_view name) {
  QString part = QtString(name);
  part.replace(QLatin1Char('/'), QLatin1Char('_'));
  return part;
}

// One request and its one-line answer; empty when the peer does not answer in time.
QByteArray Ask(const QString& socketPath, const QByteArray& request) {
  if (socketPath.isEmpty()) return {};
  QLocalSocket socket;
  socket.connectToServer(socketPath);
  if (!socket.waitForConnected(answerTimeoutMs)) return {};
  socket.write(request + '\n');
  const QDeadlineTimer deadline(answerTimeoutMs);
  while (!socket.canReadLine()) {
    if (deadline.hasExpired() || !socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) return {};
  }
  return socket.readLine().trimmed();
}

}  // namespace

QtInstance::QtInstance(QtWindow& window) : window_(window) {}

QtInstance::~QtInstance() { Close(); }

platform::InstanceLock QtInstance::Create(std::u16string_view name) {
  Close();
  const QString folder = RuntimeFolder();
  if (folder.isEmpty()) return platform::InstanceLock::Failed;
  const QString base = folder + QStringLiteral("/tasklane-") + FileNamePart(name);
  socketPath_ = base + QStringLiteral(".socket");
  const QByteArray lockPath = QFile::encodeName(base + QStringLiteral(".lock"));
  const int file = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (file < 0) return platform::InstanceLock::Failed;
  if (::flock(file, LOCK_EX | LOCK_NB) == 0) {
    lockFile_ = file;
    Listen();
    return platform::InstanceLock::Created;
  }
  if (errno == EWOULDBLOCK) {
    lockFile_ = file;  // like a handle to the other instance's lock, until Close
    return platform::InstanceLock::AlreadyExists;
  }
  ::close(file);
  return platform::InstanceLock::Failed;
}

void QtInstance::Close() {
  if (lockFile_ < 0) return;
  ::close(lockFile_);
  lockFile_ = -1;
}

// Whoever holds the lock owns the socket's name, so a socket left there is stale. Without
// it the program still runs; a later start then simply finds no window to show.
void QtInstance::Listen() {
  QLocalServer::removeServer(socketPath_);
  server_ = std::make_unique<QLocalServer>();
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  QObject::connect(server_.get(), &QLocalServer::newConnection, server_.get(), [this] {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
      QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
      QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, socket] { Answer(socket); });
    }
  });
  if (!server_->listen(socketPath_)) server_.reset();
}

void QtInstance::Answer(QLocalSocket* socket) {
  while (socket->canReadLine()) {
    const QByteArray request = socket->readLine().trimmed();
    if (request == "query") {
      socket->write((window_.windowTitle() + QLatin1Char('\t') + window_.objectName()).toUtf8() + '\n');
    } else if (request == "show") {
      window_.ShowNormalAndForeground();
      socket->write("shown\n");
    }
  }
}

std::vector<platform::TopLevelWindow> QtInstance::PeerWindows() {
  const QByteArray answer = Ask(socketPath_, "query");
  const qsizetype tab = answer.indexOf('\t');
  if (tab < 0) return {};
  return {{peerWindowId, CoreString(QString::fromUtf8(answer.left(tab))),
           CoreString(QString::fromUtf8(answer.mid(tab + 1)))}};
}

void QtInstance::ShowPeer(std::uintptr_t windowId) {
  if (windowId == peerWindowId) Ask(socketPath_, "show");
}

}  // namespace tasklane::qt
