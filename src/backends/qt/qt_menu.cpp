// Popup menus: the core's model built into a QMenu each time it opens.
//
//  [x] visible items only; captions with their "&" mnemonics; enabled and checked
//  [x] separators ("-"), collapsed where hidden items leave two together or one at an end
//  [x] radio items: one exclusive group per group number and submenu, with radio marks
//  [x] pictures from the built-in art, shown even where the desktop hides menu icons
//  [x] submenus: their item's Popup() runs before they open, and they are built anew then
//  [x] modal at a point of the screen; the chosen item is returned, never clicked here
#include "backends/qt/qt_menu.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <map>

#include "backends/qt/qt_art.h"
#include "backends/qt/qt_text.h"

namespace tasklane::qt {

namespace {

// Submenus and groups are the menu's children: clear() alone leaves them behind.
void ClearMenu(QMenu& menu) {
  for (QAction* action : menu.actions()) {
    if (QMenu* submenu = action->menu(); submenu && submenu->parent() == &menu) delete submenu;
  }
  for (QActionGroup* group : menu.findChildren<QActionGroup*>(Qt::FindDirectChildrenOnly)) delete group;
  menu.clear();
}

void ShowPicture(QAction& action, const platform::MenuItem& item) {
  if (item.Picture().empty()) return;
  action.setIcon(ArtIcon(item.Picture()));
  // NOTE: some desktops tell Qt to leave icons out of menus; the pictures are part of this
  // menu's design.
  action.setIconVisibleInMenu(true);
}

QMenu& AddSubmenu(QMenu& menu, platform::MenuItem& item) {
  QMenu* submenu = menu.addMenu(QtString(item.Caption()));
  ShowPicture(*submenu->menuAction(), item);
  submenu->menuAction()->setEnabled(item.Enabled());
  QObject::connect(submenu, &QMenu::aboutToShow, submenu, [submenu, &item] {
    item.Popup();
    FillMenu(*submenu, item);
  });
  return *submenu;
}

}  // namespace

void FillMenu(QMenu& menu, platform::MenuItem& model) {
  ClearMenu(menu);
  std::map<int, QActionGroup*> groups;
  for (int i = 0; i < model.Count(); ++i) {
    platform::MenuItem& item = model.At(i);
    if (!item.Visible()) continue;
    if (item.IsSeparator()) {
      menu.addSeparator();
      continue;
    }
    if (item.Count() > 0) {
      FillMenu(AddSubmenu(menu, item), item);
      continue;
    }
    QAction* action = menu.addAction(QtString(item.Caption()));
    action->setData(QVariant::fromValue(reinterpret_cast<quintptr>(&item)));
    action->setEnabled(item.Enabled());
    ShowPicture(*action, item);
    if (item.RadioGroup() > 0) {
      QActionGroup*& group = groups[item.RadioGroup()];
      if (!group) group = new QActionGroup(&menu);  // exclusive: the style draws radio marks
      group->addAction(action);
    }
    action->setCheckable(item.Checked() || item.RadioGroup() > 0);
    action->setChecked(item.Checked());
  }
}

platform::MenuItem* MenuItemOf(const QAction* action) {
  if (!action) return nullptr;
  return reinterpret_cast<platform::MenuItem*>(action->data().value<quintptr>());
}

platform::MenuItem* ExecMenu(platform::MenuItem& model, QPoint at, QWidget* parent) {
  QMenu menu(parent);
  // NOTE: Qt hands the press that dismisses a popup on to the widget under the mouse; here
  // that would open the menu again from inside this one, while the core waits for its answer.
  menu.setAttribute(Qt::WA_NoMouseReplay);
  FillMenu(menu, model);
  return MenuItemOf(menu.exec(at));
}

}  // namespace tasklane::qt
