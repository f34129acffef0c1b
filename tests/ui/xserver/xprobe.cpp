// Helper of the X-server test, run on the program's display: prints where to point, as shell
// assignments, from the program's own layout: the menu titles, the insides of both views and
// the background in window pixels, and the menu entries in their menu's pixels.
#include "support/fakes.h"
#include "ui/application.h"
#include "ui/image_view_widget.h"

#include <QApplication>
#include <QMenuBar>
#include <QTest>

#include <cstdio>

namespace {

void print(const QString& name, QPoint at)
{
    const QByteArray n = name.toLatin1();
    std::printf("%s_x=%d %s_y=%d\n", n.constData(), at.x(), n.constData(), at.y());
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication qt(argc, argv);
    ai::test::FakeMessages messages;
    ai::test::FakeDialogs dialogs;
    ai::test::MemoryFiles files;
    ai::ui::Application app(messages, dialogs, files, ai::Settings{});
    ai::ui::Form1& form = app.form1();
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        return 1;
    QMenuBar* bar = form.menuBar();
    for (QAction* title : bar->actions())
        print("title_" + title->menu()->objectName(),
              bar->mapTo(&form, bar->actionGeometry(title).center()));
    for (QMenu* menu : form.findChildren<QMenu*>())
        for (QAction* entry : menu->actions())
            print("entry_" + (entry->menu() ? entry->menu()->objectName() : entry->objectName()),
                  menu->actionGeometry(entry).center());
    for (ai::ui::ImageViewWidget* view : {&form.picture1(), &form.picture2()})
        print(view->objectName(), view->mapTo(&form, view->contentsRect().topLeft()));
    print("background", form.centralWidget()->mapTo(&form, QPoint(1012, 100)));
    return std::fflush(stdout);
}
