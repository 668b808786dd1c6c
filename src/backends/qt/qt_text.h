// Text and paths across the boundary: the core's UTF-16 is Qt's, file names are the local
// encoding's bytes.
#pragma once

#include <QFile>
#include <QString>
#include <filesystem>
#include <string>
#include <string_view>

namespace tasklane::qt {

inline QString QtString(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::u16string CoreString(const QString& text) { return text.toStdU16String(); }

inline std::filesystem::path CorePath(const QString& path) {
  return std::filesystem::path(QFile::encodeName(path).toStdString());
}

inline QString QtPath(const std::filesystem::path& path) { return QFile::decodeName(path.native().c_str()); }

}  // namespace tasklane::qt
