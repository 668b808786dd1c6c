// The core's menu model as a native QMenu.
#pragma once

#include <QPoint>

#include "platform/Menu.h"

class QAction;
class QMenu;
class QWidget;

namespace tasklane::qt {

// Fills `menu` anew with the visible items of `model`. A submenu is filled now and again
// each time it opens, after its item's Popup() has brought the model up to date.
void FillMenu(QMenu& menu, platform::MenuItem& model);

// The model's item behind an action FillMenu made; nullptr for any other action.
platform::MenuItem* MenuItemOf(const QAction* action);

// Shows the menu at a point of the screen until the user chooses or dismisses it; the item
// chosen, or nullptr.
platform::MenuItem* ExecMenu(platform::MenuItem& model, QPoint at, QWidget* parent);

}  // namespace tasklane::qt
