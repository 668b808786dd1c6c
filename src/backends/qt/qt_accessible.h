// Screen readers on Linux (AT-SPI, through Qt's bridge): the main window as the core describes
// it, and the core's changes as Qt's accessibility events.
#pragma once

#include "platform/Accessible.h"

namespace tasklane::qt {

class QtWindow;

// Qt asks this factory for the main window's interface from then on.
void InstallAccessibility();
void TellAccessibility(QtWindow& window, const platform::AccessibleEvent& event);

}  // namespace tasklane::qt
