// One instance per logon session: a lock file held with flock, and a local socket over which
// a later start asks the first for its window and brings it to the front.
#pragma once

#include <QString>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/Platform.h"

class QLocalServer;
class QLocalSocket;

namespace tasklane::qt {

class QtWindow;

class QtInstance {
 public:
  explicit QtInstance(QtWindow& window);
  ~QtInstance();
  QtInstance(const QtInstance&) = delete;
  QtInstance& operator=(const QtInstance&) = delete;

  // Takes "<runtime folder>/tasklane-<name>.lock"; the first holder also answers later starts.
  platform::InstanceLock Create(std::u16string_view name);
  void Close();
  // The first instance's window, as it describes itself; none when it does not answer.
  std::vector<platform::TopLevelWindow> PeerWindows();
  void ShowPeer(std::uintptr_t windowId);

 private:
  void Listen();
  void Answer(QLocalSocket* socket);

  QtWindow& window_;
  int lockFile_ = -1;
  QString socketPath_;
  std::unique_ptr<QLocalServer> server_;
};

}  // namespace tasklane::qt
