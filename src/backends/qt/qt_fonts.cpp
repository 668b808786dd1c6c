// Fonts: platform::Font to QFont, and Tahoma from Wine's fonts when they are installed.
//
//  [x] family, pixel height, bold; an emboldened regular face where the bold one is too light
//  [x] heights scaled from the 120 dpi the window was designed at to the screen's logical dpi
//  [x] Tahoma from fonts-wine; any missing family falls back to a sans-serif
#include "backends/qt/qt_fonts.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QPainter>
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

// How dark a face paints a sample line, at a size where hinting hardly changes the strokes.
qint64 SampleInk(QFont font) {
  const QString sample = QStringLiteral("Hamburgefonstiv");
  font.setPixelSize(40);
  QImage image(QFontMetrics(font).horizontalAdvance(sample) + 8, 60, QImage::Format_Grayscale8);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setFont(font);
  painter.setPen(Qt::black);
  painter.drawText(4, 45, sample);
  painter.end();
  qint64 ink = 0;
  for (int y = 0; y < image.height(); ++y) {
    const uchar* line = image.constScanLine(y);
    for (int x = 0; x < image.width(); ++x) ink += 255 - line[x];
  }
  return ink;
}

// NOTE: Wine's Tahoma Bold, as Debian ships it, is wider than the regular face but hardly
// darker, so a bold header would look regular. A family whose bold face is not clearly
// heavier gets its regular face emboldened by the toolkit instead.
bool BoldFaceIsHeavier(const QString& family) {
  static QHash<QString, bool> known;
  if (const auto it = known.constFind(family); it != known.constEnd()) return it.value();
  QFont bold(family);
  bold.setBold(true);
  const bool heavier = SampleInk(bold) * 5 > SampleInk(QFont(family)) * 6;
  known.insert(family, heavier);
  return heavier;
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
  if (font.bold && !BoldFaceIsHeavier(qtFont.family())) {
    // Asking for the regular face by its style name, in bold, makes Qt embolden it.
    qtFont.setStyleName(QFontInfo(QFont(qtFont.family())).styleName());
  }
  return qtFont;
}

}  // namespace tasklane::qt
