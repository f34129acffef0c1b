#pragma once

// The windows on fake dialogs and files, and real pointer clicks through their menus, as a
// user chooses an entry.
#include "support/fakes.h"
#include "ui/application.h"
#include "ui/form1.h"
#include "ui/form2.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <gtest/gtest.h>

namespace ai::test {

// The application on fake messages, dialogs, files and number dialogs, its main window shown
// and active.
struct ShownWindows {
    FakeMessages messages;
    FakeDialogs dialogs;
    MemoryFiles files;
    FakeNumbers numbers;
    ui::Application app{messages, dialogs, files, Settings{NumberFormat{','}, Rgb{0, 120, 215}},
                        &numbers};
    ui::Form1& form1 = app.form1();

    ShownWindows()
    {
        form1.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&form1) && QTest::qWaitForWindowActive(&form1));
    }
};

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
