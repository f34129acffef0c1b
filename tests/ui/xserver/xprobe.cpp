// Helper of the X-server test, run on the same display as the program:
//   xprobe layout                 where to point, as shell assignments: menu titles and the
//                                 insides of both views in window pixels, menu entries in
//                                 their menu's pixels (the layout is the program's own)
//   xprobe wait WID RRGGBB X Y W H S
//                                 waits up to S seconds until a pixel of the window's
//                                 rectangle (X, Y, W, H) has that colour; status 0 when one does
//   xprobe shot WID FILE          saves what the X server shows of the window
#include "support/fakes.h"
#include "ui/application.h"
#include "ui/image_view_widget.h"

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <QThread>

#include <cstdio>

namespace {

QImage grabWindow(WId window)
{
    return QGuiApplication::primaryScreen()->grabWindow(window).toImage();
}

void printPoint(const char* name, QPoint at)
{
    std::printf("%s_x=%d %s_y=%d\n", name, at.x(), name, at.y());
}

int layout()
{
    ai::test::FakeMessages messages;
    ai::test::FakeDialogs dialogs;
    ai::test::MemoryFiles files;
    ai::ui::Application app(messages, dialogs, files, ai::Settings{});
    ai::ui::Form1& form = app.form1();
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        return 1;

    // Menu titles in the window; menu entries from the top-left corner of their menu.
    QMenuBar* bar = form.menuBar();
    for (QAction* title : bar->actions())
        printPoint(("title_" + title->menu()->objectName()).toLatin1().constData(),
                   bar->mapTo(&form, bar->actionGeometry(title).center()));
    for (QMenu* menu : form.findChildren<QMenu*>())
        for (QAction* entry : menu->actions()) {
            const QString name = entry->menu() ? entry->menu()->objectName() : entry->objectName();
            printPoint(("entry_" + name).toLatin1().constData(),
                       menu->actionGeometry(entry).center());
        }
    for (ai::ui::ImageViewWidget* view : {&form.picture1(), &form.picture2()})
        printPoint(view->objectName().toLatin1().constData(),
                   view->mapTo(&form, view->contentsRect().topLeft()));
    printPoint("background", form.centralWidget()->mapTo(&form, QPoint(1012, 100)));
    std::fflush(stdout);
    return 0;
}

int waitForColour(WId window, QRgb colour, const QRect& area, int seconds)
{
    const QDeadlineTimer deadline(seconds * 1000);
    do {
        const QImage shot = grabWindow(window);
        const QRect within = area.intersected(shot.rect());
        for (int y = within.top(); y <= within.bottom(); ++y)
            for (int x = within.left(); x <= within.right(); ++x)
                if ((shot.pixel(x, y) & 0xFFFFFFu) == colour)
                    return 0;
        QThread::msleep(50);
    } while (!deadline.hasExpired());
    return 1;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() == 2 && args[1] == QLatin1String("layout"))
        return layout();
    if (args.size() == 9 && args[1] == QLatin1String("wait"))
        return waitForColour(
            args[2].toULongLong(), args[3].toUInt(nullptr, 16),
            QRect(args[4].toInt(), args[5].toInt(), args[6].toInt(), args[7].toInt()),
            args[8].toInt());
    if (args.size() == 4 && args[1] == QLatin1String("shot"))
        return grabWindow(args[2].toULongLong()).save(args[3]) ? 0 : 1;
    std::fprintf(stderr,
                 "usage: xprobe layout | wait WID RRGGBB X Y W H SECONDS | shot WID FILE\n");
    return 2;
}
