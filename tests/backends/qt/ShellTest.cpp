// The file browser request: its D-Bus call to the desktop's file manager, and the folder
// opener used where none answers. The bus is a private one, or none; nothing is launched.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QDeadlineTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <vector>

#include "backends/qt/qt_shell.h"

namespace tasklane::qt {
namespace {

const std::filesystem::path listFile = std::filesystem::path(u8"/tmp/My Lists/T\u00fcV/ToDoList.xml");
const QStringList xdgOpenFolder{QStringLiteral("xdg-open"), QString::fromUtf8(u8"/tmp/My Lists/T\u00fcV")};

// Answers every call on its path and keeps it.
class FakeFileManager final : public QDBusVirtualObject {
 public:
  QString introspect(const QString&) const override { return {}; }
  bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
    calls.push_back(message);
    connection.send(message.createReply());
    return true;
  }
  std::vector<QDBusMessage> calls;
};

void RunEventsFor(int ms) {
  const QDeadlineTimer deadline(ms);
  while (!deadline.hasExpired()) QApplication::processEvents(QEventLoop::AllEvents, 20);
}

class QtShell : public ::testing::Test {
 protected:
  Launcher Recording() {
    return [this](const QString& program, const QStringList& arguments) { launches << (QStringList{program} + arguments); };
  }
  // First with no file manager on the bus, then with one.
  void ExpectCallsOn(const QDBusConnection& client, QDBusConnection server);
  QList<QStringList> launches;
};

TEST_F(QtShell, WithoutABusTheFolderIsOpened) {
  const QString name = QStringLiteral("tasklane-no-bus");
  ShowInFileBrowser(listFile, QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"), name),
                    Recording());
  EXPECT_EQ(launches, QList<QStringList>{xdgOpenFolder});
  QDBusConnection::disconnectFromBus(name);
}

// On a bus daemon of the test's own, which starts no services.
TEST_F(QtShell, TheFileManagerIsAskedToShowTheFileAndWithoutOneTheFolderOpens) {
  const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
  if (daemon.isEmpty()) GTEST_SKIP() << "no dbus-daemon";
  QTemporaryDir folder;
  QFile config(folder.filePath(QStringLiteral("bus.conf")));
  ASSERT_TRUE(config.open(QIODevice::WriteOnly));
  config.write("<busconfig><type>session</type><listen>unix:tmpdir=/tmp</listen><auth>EXTERNAL</auth>"
               "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
               "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>");
  config.close();
  QProcess bus;
  bus.start(daemon, {QStringLiteral("--config-file=") + config.fileName(), QStringLiteral("--nofork"),
                     QStringLiteral("--print-address=1")});
  ASSERT_TRUE(bus.waitForReadyRead(10000)) << bus.readAllStandardError().toStdString();
  const QString address = QString::fromUtf8(bus.readLine().trimmed());
  const QStringList names{QStringLiteral("tasklane-client"), QStringLiteral("tasklane-file-manager")};
  ExpectCallsOn(QDBusConnection::connectToBus(address, names[0]), QDBusConnection::connectToBus(address, names[1]));
  for (const QString& name : names) QDBusConnection::disconnectFromBus(name);
  bus.kill();
  bus.waitForFinished();
}

void QtShell::ExpectCallsOn(const QDBusConnection& client, QDBusConnection server) {
  ASSERT_TRUE(client.isConnected() && server.isConnected());

  ShowInFileBrowser(listFile, client, Recording());
  const QDeadlineTimer deadline(30000);
  while (launches.isEmpty() && !deadline.hasExpired()) QApplication::processEvents(QEventLoop::AllEvents, 20);
  EXPECT_EQ(launches, QList<QStringList>{xdgOpenFolder});

  launches.clear();
  FakeFileManager fileManager;
  ASSERT_TRUE(server.registerVirtualObject(QStringLiteral("/org/freedesktop/FileManager1"), &fileManager));
  ASSERT_TRUE(server.registerService(QStringLiteral("org.freedesktop.FileManager1")));
  ShowInFileBrowser(listFile, client, Recording());
  RunEventsFor(300);  // the call, and its answer
  ASSERT_EQ(fileManager.calls.size(), 1u);
  const QDBusMessage& call = fileManager.calls[0];
  EXPECT_EQ(call.interface() + QLatin1Char('.') + call.member(), QStringLiteral("org.freedesktop.FileManager1.ShowItems"));
  EXPECT_EQ(call.signature(), QStringLiteral("ass"));
  EXPECT_EQ(call.arguments().value(0).toStringList(),
            QStringList{QStringLiteral("file:///tmp/My%20Lists/T%C3%BCV/ToDoList.xml")});
  EXPECT_EQ(call.arguments().value(1).toString(), QString());
  EXPECT_TRUE(launches.isEmpty());

  server.unregisterObject(QStringLiteral("/org/freedesktop/FileManager1"));
}

}  // namespace
}  // namespace tasklane::qt
