// The core's menu model built into a QMenu, inspected without opening it.
#include <gtest/gtest.h>

#include <QAction>
#include <QActionGroup>
#include <QMenu>

#include "backends/qt/qt_menu.h"

namespace tasklane::qt {
namespace {

using platform::MenuItem;

// The menu's actions as a user sees them, separators as "-".
QStringList Shown(const QMenu& menu) {
  QStringList texts;
  for (const QAction* action : menu.actions()) texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
  return texts;
}

class QtMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    model.Add(u"open", u"&Open");
    model.Add(u"off", u"Disabled").SetEnabled(false);
    model.Add(u"hidden", u"Hidden").SetVisible(false);
    model.Add(u"line", u"-");
    model.Add(u"tick", u"Ticked").SetChecked(true);
    model.Add(u"about", u"&About").SetPicture(u"mnuAbout.png");
    MenuItem& column = model.Add(u"column", u"&Column");
    for (const char16_t* name : {u"left", u"centre", u"right"}) column.Add(name, name).SetRadioGroup(1);
    column.Find(u"centre")->SetChecked(true);
    MenuItem& skins = model.Add(u"skins", u"&Skin");
    skins.Add(u"none", u"No Skin");
    skins.OnPopup([&skins] { skins.Add(u"blue", u"Blue"); });
    FillMenu(menu, model);
  }

  QAction* Action(int index) const { return menu.actions().at(index); }

  MenuItem model{u"PopupMenu"};
  QMenu menu;
};

TEST_F(QtMenuTest, ShowsTheVisibleItemsWithTheirFlagsAndLeadsBackToThem) {
  EXPECT_EQ(Shown(menu), (QStringList{QStringLiteral("&Open"), QStringLiteral("Disabled"), QStringLiteral("-"),
                                      QStringLiteral("Ticked"), QStringLiteral("&About"), QStringLiteral("&Column"),
                                      QStringLiteral("&Skin")}));
  EXPECT_TRUE(Action(0)->isEnabled());
  EXPECT_FALSE(Action(0)->isCheckable());
  EXPECT_FALSE(Action(1)->isEnabled());
  EXPECT_TRUE(Action(3)->isChecked());
  EXPECT_TRUE(Action(0)->icon().isNull());
  EXPECT_FALSE(Action(4)->icon().isNull());
  EXPECT_TRUE(Action(4)->isIconVisibleInMenu());
  EXPECT_EQ(MenuItemOf(Action(4)), model.Find(u"about"));
  EXPECT_EQ(MenuItemOf(Action(2)), nullptr) << "a separator is no choice";
  EXPECT_EQ(MenuItemOf(Action(5)), nullptr) << "nor is a submenu's own item";
}

TEST_F(QtMenuTest, RadioItemsShareOneExclusiveGroup) {
  ASSERT_NE(Action(5)->menu(), nullptr);
  const QList<QAction*> column = Action(5)->menu()->actions();
  ASSERT_EQ(column.size(), 3);
  QActionGroup* group = column.at(0)->actionGroup();
  ASSERT_NE(group, nullptr);
  EXPECT_TRUE(group->isExclusive());
  for (const QAction* action : column) EXPECT_EQ(action->actionGroup(), group);
  EXPECT_EQ(group->checkedAction(), column.at(1));
  EXPECT_EQ(MenuItemOf(column.at(2)), model.Find(u"right"));
}

TEST_F(QtMenuTest, SubmenuIsBuiltAnewAfterItsPopupEachTimeItOpens) {
  QMenu* skins = Action(6)->menu();
  ASSERT_NE(skins, nullptr);
  EXPECT_EQ(Shown(*skins), QStringList{QStringLiteral("No Skin")});
  emit skins->aboutToShow();
  EXPECT_EQ(Shown(*skins), (QStringList{QStringLiteral("No Skin"), QStringLiteral("Blue")}));
  EXPECT_EQ(MenuItemOf(skins->actions().at(1)), model.Find(u"blue"));
  // Filling the whole menu again leaves no submenu of the last time behind.
  FillMenu(menu, model);
  EXPECT_EQ(menu.findChildren<QMenu*>(Qt::FindDirectChildrenOnly).size(), 2);
}

}  // namespace
}  // namespace tasklane::qt
