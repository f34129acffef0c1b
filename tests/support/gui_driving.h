#pragma once

// Real pointer clicks through the windows' menus, as a user chooses an entry.
#include "ui/form1.h"
#include "ui/form2.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <gtest/gtest.h>

namespace ai::test {

// A click on each entry in turn, from the menu bar down, e.g. {"meshmenu", "io", "save"}.
inline void chooseMenu(ui::Form1& form1, std::initializer_list<const char*> path)
{
    QWidget* opener = form1.menuBar();
    for (const char* name : path) {
        auto* submenu = form1.findChild<QMenu*>(name);
        QAction* entry = submenu ? submenu->menuAction() : form1.findChild<QAction*>(name);
        auto* menu = qobject_cast<QMenu*>(opener);
        const QRect place =
            menu ? menu->actionGeometry(entry) : form1.menuBar()->actionGeometry(entry);
        QTest::mouseClick(opener->window()->windowHandle(), Qt::LeftButton, {},
                          opener->mapTo(opener->window(), place.center()));
        ASSERT_TRUE(!submenu || (QTest::qWaitFor([&] { return submenu->isVisible(); }) &&
                                 QTest::qWaitForWindowExposed(submenu)));
        opener = submenu;
    }
    EXPECT_TRUE(QTest::qWaitFor([] { return !QApplication::activePopupWidget(); }));
}

// A right click on the map window, then a left click on `entry` of the menu it opens; the
// names of the entries the menu held.
inline QStringList chooseFromMapMenu(ui::Form2& map, const char* entry)
{
    QTest::mouseClick(map.windowHandle(), Qt::RightButton, {}, QPoint(500, 400));
    auto* menu = map.findChild<QMenu*>("mapMenu");
    auto* action = map.findChild<QAction*>(entry);
    EXPECT_TRUE(action && action->isEnabled()) << entry;
    if (!action || !QTest::qWaitFor([menu] { return menu->isVisible(); }) ||
        !QTest::qWaitForWindowExposed(menu)) {
        ADD_FAILURE() << "no map menu";
        return {};
    }
    QStringList entries;
    for (QAction* shown : menu->actions())
        entries << shown->objectName();
    QTest::mouseClick(menu->windowHandle(), Qt::LeftButton, {},
                      menu->actionGeometry(action).center());
    EXPECT_TRUE(QTest::qWaitFor([menu] { return !menu->isVisible(); }));
    return entries;
}

} // namespace ai::test
