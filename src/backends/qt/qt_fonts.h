// The program's fonts on Qt.
#pragma once

#include <QFont>

#include "platform/Canvas.h"

namespace tasklane::qt {

// Adds the font files the program prefers, where the system has them, to the fonts Qt knows.
// Needs the application object; calling it again does nothing.
void LoadPreferredFonts();

// A family the system lacks becomes a sans-serif face of the same height. The height is
// scaled to the screen's logical dpi from the 120 dpi the core's heights are meant for.
QFont QtFontOf(const platform::Font& font);

}  // namespace tasklane::qt
