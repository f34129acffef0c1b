// Helper of the X-server test, run on the same display as the program:
//   xprobe layout                 where to point: the main window's menu entry "Créer des
//                                 noeuds" and the insides of both views, in window pixels,
//                                 as shell assignments (the layout is the program's own)
//   xprobe wait WID X Y RRGGBB S  waits up to S seconds until the window's pixel (X, Y)
//                                 has that colour; exit status 0 when it does
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

void printPoint(const char* name, QPoint at) { std::printf("%s_x=%d %s_y=%d\n", name, at.x(), name, at.y()); }

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

    QMenuBar* bar = form.menuBar();
    auto* meshmenu = form.findChild<QMenu*>(QStringLiteral("meshmenu"));
    auto* node = form.findChild<QAction*>(QStringLiteral("node"));
    const QRect title = bar->actionGeometry(meshmenu->menuAction());
    // A menu opens under its title, from the title's left edge.
    const QPoint menuOrigin = bar->mapTo(&form, title.bottomLeft() + QPoint(0, 1));
    printPoint("meshmenu", bar->mapTo(&form, title.center()));
    printPoint("node", menuOrigin + meshmenu->actionGeometry(node).center());
    for (ai::ui::ImageViewWidget* view : {&form.picture1(), &form.picture2()})
        printPoint(view->objectName().toLatin1().constData(),
                   view->mapTo(&form, view->contentsRect().topLeft()));
    printPoint("background", form.centralWidget()->mapTo(&form, QPoint(1012, 100)));
    std::fflush(stdout);
    return 0;
}

int waitForColour(WId window, QPoint at, QRgb colour, int seconds)
{
    const QDeadlineTimer deadline(seconds * 1000);
    QRgb seen = 0;
    do {
        const QImage shot = grabWindow(window);
        if (shot.rect().contains(at)) {
            seen = shot.pixel(at) & 0xFFFFFFu;
            if (seen == colour)
                return 0;
        }
        QThread::msleep(50);
    } while (!deadline.hasExpired());
    std::fprintf(stderr, "pixel (%d, %d) is %06X, not %06X\n", at.x(), at.y(), seen, colour);
    return 1;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() == 2 && args[1] == QLatin1String("layout"))
        return layout();
    if (args.size() == 7 && args[1] == QLatin1String("wait"))
        return waitForColour(args[2].toULongLong(), QPoint(args[3].toInt(), args[4].toInt()),
                             args[5].toUInt(nullptr, 16), args[6].toInt());
    if (args.size() == 4 && args[1] == QLatin1String("shot"))
        return grabWindow(args[2].toULongLong()).save(args[3]) ? 0 : 1;
    std::fprintf(stderr, "usage: xprobe layout | wait WID X Y RRGGBB SECONDS | shot WID FILE\n");
    return 2;
}
