// Fonts: platform::Font to QFont, and Tahoma from Wine's fonts when they are installed.
//
//  [x] family, pixel height, bold
//  [x] heights scaled from the 120 dpi the window was designed at to the screen's logical dpi
//  [x] Tahoma from fonts-wine; any missing family falls back to a sans-serif
#include "backends/qt/qt_fonts.h"

#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

#include "backends/qt/qt_text.h"

namespace tasklane::qt {

namespace {

// Debian's fonts-wine puts Wine's Tahoma here; other systems keep it in a truetype folder.
const char* const preferredFontFiles[] = {
    "/usr/share/wine/fonts/tahoma.ttf",
    "/usr/share/wine/fonts/tahomabd.ttf",
    "/usr/share/fonts/truetype/wine/tahoma.ttf",
    "/usr/share/fonts/truetype/wine/tahomabd.ttf",
};

// The core's font heights are pixels on the screen the window was designed on.
constexpr double designDpi = 120.0;

int ScreenPixels(int designPixels) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const double dpi = screen ? screen->logicalDotsPerInchY() : designDpi;
  return std::max(qRound(designPixels * dpi / designDpi), 1);
}

}  // namespace

void LoadPreferredFonts() {
  static bool loaded = false;
  if (loaded) return;
  loaded = true;
  for (const char* file : preferredFontFiles) {
    if (QFile::exists(QString::fromLatin1(file))) QFontDatabase::addApplicationFont(QString::fromLatin1(file));
  }
}

QFont QtFontOf(const platform::Font& font) {
  QFont qtFont(QtString(font.family));
  qtFont.setStyleHint(QFont::SansSerif);
  qtFont.setPixelSize(ScreenPixels(font.pixelHeight));
  qtFont.setBold(font.bold);
  return qtFont;
}

}  // namespace tasklane::qt
