// The desktop's file browser, asked over D-Bus to show a file, or a folder opener instead.
#pragma once

#include <QDBusConnection>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <functional>

namespace tasklane::qt {

// Starts a program with its arguments and does not wait for it.
using Launcher = std::function<void(const QString& program, const QStringList& arguments)>;

// The file as the file managers' D-Bus interface names it: a percent-encoded file URL.
QString FileUri(const std::filesystem::path& file);

// Asks the file manager on `bus` to show the file selected; where none answers, opens the
// file's folder through `launch`. The answer is awaited in the event loop, not here.
void ShowInFileBrowser(const std::filesystem::path& file, const QDBusConnection& bus, Launcher launch);

}  // namespace tasklane::qt
