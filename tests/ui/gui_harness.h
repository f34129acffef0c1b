#pragma once

// The whole application over fakes of the modal ports, on Qt's offscreen platform,
// driven by real pointer and key events through its windows. Shared by the GUI tests.
#include "support/fakes.h"
#include "ui/application.h"
#include "ui/image_view_widget.h"

#include <QImage>
#include <QPoint>
#include <QTemporaryDir>

#include <initializer_list>
#include <string>

class QWidget;

namespace ai::test {

struct GuiHarness {
    FakeMessages messages;
    FakeDialogs dialogs;
    MemoryFiles files;
    ui::Application app{messages, dialogs, files, Settings{NumberFormat{','}, Rgb{0, 120, 215}}};

    // Shows the main window and waits until it is exposed and active.
    GuiHarness();

    ui::Form1& form1() { return app.form1(); }
    ui::Form2& form2() { return app.form2(); }
    MainController& controller() { return app.controller(); }
    const ProjectState& state() { return app.controller().state(); }
    ui::ImageViewWidget& picture1() { return app.form1().picture1(); }
    ui::ImageViewWidget& picture2() { return app.form1().picture2(); }

    // The text of the status line as the window shows it.
    std::string status();

    // A control of the main window by its name; fails the test when there is none.
    QWidget* control(const char* name);

    // Pointer events through the main window; positions in the widget's own pixels.
    void press(QWidget* widget, QPoint at);
    void moveTo(QWidget* widget, QPoint at);
    void release(QWidget* widget, QPoint at);
    void click(QWidget* widget, QPoint at);

    // The pixel of a view under a position in view units.
    static QPoint pixelOf(ui::ImageViewWidget& view, float X, float Y);
    void clickView(ui::ImageViewWidget& view, float X, float Y);

    // Chooses a menu entry by clicking its way through the menu bar, e.g. {"meshmenu", "node"}.
    void chooseMenu(std::initializer_list<const char*> path);

    // What a view shows now, inside its border, one pixel per view pixel.
    static QImage shown(ui::ImageViewWidget& view);
};

// Picture files written by a test into a folder of its own.
struct PictureFolder {
    QTemporaryDir dir;

    std::string path(const char* name) const;
    // A picture of `size` in one colour, saved in `format` ("BMP", "PNG", "JPG", "TIFF").
    std::string write(const char* name, QSize size, QColor colour, const char* format = "BMP");
    std::string writeBytes(const char* name, const QByteArray& bytes);
};

// The colour of a pixel without its alpha, for comparisons.
inline QRgb rgbAt(const QImage& image, QPoint at) { return image.pixel(at) & 0xFFFFFFu; }

inline constexpr QRgb kRed = 0xFF0000u;

} // namespace ai::test
