// The built-in artwork as Qt icons.
//
//  [x] a picture of the art by its file name, decoded by Qt from the embedded bytes
//  [x] the program icon from its 16, 24, 32 and 48 pixel pictures
#include "backends/qt/qt_art.h"

#include <QPixmap>
#include <string>

#include "art/Art.h"

namespace tasklane::qt {

namespace {

QPixmap ArtPixmap(std::string_view fileName) {
  const std::string_view bytes = art::Find(fileName);
  QPixmap pixmap;
  if (!bytes.empty()) {
    pixmap.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<uint>(bytes.size()));
  }
  return pixmap;
}

}  // namespace

QIcon ArtIcon(std::u16string_view fileName) {
  // The art's file names are plain ASCII; any other name is none of them.
  std::string name;
  for (const char16_t c : fileName) {
    if (c == 0 || c > 0x7F) return {};
    name += static_cast<char>(c);
  }
  const QPixmap pixmap = ArtPixmap(name);
  return pixmap.isNull() ? QIcon() : QIcon(pixmap);
}

QIcon ProgramIcon() {
  QIcon icon;
  for (const std::string_view file : {"ProgramIcon16.png", "ProgramIcon24.png", "ProgramIcon32.png", "ProgramIcon48.png"}) {
    const QPixmap pixmap = ArtPixmap(file);
    if (!pixmap.isNull()) icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace tasklane::qt
