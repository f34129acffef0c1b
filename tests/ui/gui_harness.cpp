#include "gui_harness.h"

#include <QAction>
#include <QFile>
#include <QImageWriter>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <gtest/gtest.h>

namespace ai::test {

namespace {

// Sends a pointer event to whatever window lies under the widget.
template <typename Send> void throughWindow(QWidget* widget, QPoint at, Send send)
{
    QWidget* top = widget->window();
    send(top->windowHandle(), widget->mapTo(top, at));
}

} // namespace

GuiHarness::GuiHarness()
{
    form1().show();
    form1().activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&form1()));
    EXPECT_TRUE(QTest::qWaitForWindowActive(&form1()));
}

std::string GuiHarness::status()
{
    return static_cast<QLabel*>(control("Label1"))->text().toStdString();
}

QWidget* GuiHarness::control(const char* name)
{
    auto* widget = form1().findChild<QWidget*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

void GuiHarness::press(QWidget* widget, QPoint at)
{
    throughWindow(widget, at, [](QWindow* window, QPoint pos) {
        QTest::mousePress(window, Qt::LeftButton, {}, pos);
    });
}

void GuiHarness::moveTo(QWidget* widget, QPoint at)
{
    throughWindow(widget, at, [](QWindow* window, QPoint pos) { QTest::mouseMove(window, pos); });
}

void GuiHarness::release(QWidget* widget, QPoint at)
{
    throughWindow(widget, at, [](QWindow* window, QPoint pos) {
        QTest::mouseRelease(window, Qt::LeftButton, {}, pos);
    });
}

void GuiHarness::click(QWidget* widget, QPoint at)
{
    moveTo(widget, at);
    press(widget, at);
    release(widget, at);
}

QPoint GuiHarness::pixelOf(ui::ImageViewWidget& view, float X, float Y)
{
    return view.contentsRect().topLeft() +
           QPoint(static_cast<int>(X / 15), static_cast<int>(Y / 15));
}

void GuiHarness::clickView(ui::ImageViewWidget& view, float X, float Y)
{
    click(&view, pixelOf(view, X, Y));
}

void GuiHarness::chooseMenu(std::initializer_list<const char*> path)
{
    QWidget* opener = form1().menuBar();
    for (const char* name : path) {
        const auto actions = opener->actions();
        QAction* entry = nullptr;
        for (QAction* action : actions) {
            const bool named = action->menu() ? action->menu()->objectName() == QLatin1String(name)
                                              : action->objectName() == QLatin1String(name);
            if (named)
                entry = action;
        }
        ASSERT_NE(entry, nullptr) << name;
        const QRect place = opener == form1().menuBar()
                                ? form1().menuBar()->actionGeometry(entry)
                                : static_cast<QMenu*>(opener)->actionGeometry(entry);
        QTest::mouseClick(opener->windowHandle() ? opener->windowHandle()
                                                 : opener->window()->windowHandle(),
                          Qt::LeftButton, {}, opener->mapTo(opener->window(), place.center()));
        if (QMenu* submenu = entry->menu()) {
            ASSERT_TRUE(QTest::qWaitFor([&] { return submenu->isVisible(); })) << name;
            ASSERT_TRUE(QTest::qWaitForWindowExposed(submenu)) << name;
            opener = submenu;
        }
    }
    // The chosen command closed every menu.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !opener->isVisible(); }));
}

QImage GuiHarness::shown(ui::ImageViewWidget& view)
{
    return view.grab(view.contentsRect()).toImage().convertToFormat(QImage::Format_RGB32);
}

std::string PictureFolder::path(const char* name) const
{
    return dir.filePath(QString::fromLatin1(name)).toStdString();
}

std::string PictureFolder::write(const char* name, QSize size, QColor colour, const char* format)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    const std::string file = path(name);
    QImageWriter writer(QString::fromStdString(file), format);
    EXPECT_TRUE(writer.write(image)) << writer.errorString().toStdString();
    return file;
}

std::string PictureFolder::writeBytes(const char* name, const QByteArray& bytes)
{
    const std::string file = path(name);
    QFile out(QString::fromStdString(file));
    EXPECT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(bytes);
    return file;
}

} // namespace ai::test
