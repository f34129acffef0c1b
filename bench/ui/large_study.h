// A study at the program's limits for the window benchmarks: 1000 nodes and 1000 triangles
// over two 6000 x 4000 photographs, in a drawing mode so that every movement redraws.
#pragma once

#include "support/fakes.h"
#include "ui/application.h"

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>

#include <array>
#include <string>

namespace ai::bench {

// A photograph-like 6000 x 4000 picture: smooth shading with fine texture.
inline std::string writePhotograph(const QTemporaryDir& dir, const char* name, int shift,
                                   const char* format)
{
    QImage image(6000, 4000, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int texture = ((x * 7 + y * 13 + shift) % 31) - 15;
            const int shade = 90 + (x + y) * 100 / 10000;
            line[x] = qRgb(qBound(0, shade + texture, 255), qBound(0, shade + texture / 2, 255),
                           qBound(0, shade - texture, 255));
        }
    }
    const QString path = dir.filePath(QString::fromLatin1(name));
    image.save(path, format, 90);
    return path.toStdString();
}

struct LargeStudy {
    QTemporaryDir dir;
    std::string free, loaded;
    test::FakeMessages messages;
    test::FakeDialogs dialogs;
    test::MemoryFiles files;
    ui::Application app{messages, dialogs, files, Settings{NumberFormat{','}, Rgb{0, 120, 215}}};

    // Photographs of `format` ("JPG", "PNG"), at `scale` times the nodes' spread.
    explicit LargeStudy(const char* format = "JPG", float scale = 1)
        : free(writePhotograph(dir, format == std::string("PNG") ? "libre.png" : "libre.jpg", 0,
                               format)),
          loaded(writePhotograph(dir, format == std::string("PNG") ? "chargee.png" : "chargee.jpg",
                                 11, format))
    {
        MainController& c = app.controller();
        dialogs.answers = {free, loaded};
        c.imagelibre();
        c.imgcharge();

        // 40 x 25 nodes, 360 x 190 units apart; the loaded positions a little stretched.
        constexpr int columns = 40;
        const auto x = [&](int column) { return scale * (300.0f + 360.0f * float(column)); };
        const auto y = [&](int row) { return scale * (200.0f + 190.0f * float(row)); };
        c.node();
        for (int row = 0; row < 25; ++row)
            for (int column = 0; column < columns; ++column) {
                c.picture1Pressed(x(column), y(row));
                c.picture2Pressed(x(column) * 1.01f, y(row) * 1.02f);
            }
        // Two triangles a cell, 1000 in all.
        c.manumesh();
        int triangles = 0;
        for (int row = 0; row < 24 && triangles < kMaxElements; ++row)
            for (int column = 0; column < columns - 1 && triangles < kMaxElements; ++column) {
                for (const auto& corners :
                     {std::array{0, 0, 1, 0, 0, 1}, std::array{1, 0, 1, 1, 0, 1}}) {
                    for (int k = 0; k < 6; k += 2)
                        c.picture1Pressed(x(column + corners[k]), y(row + corners[k + 1]));
                    ++triangles;
                }
            }
        // Creating nodes is a drawing mode: every movement redraws both views.
        c.node();
        app.form1().show();
        QApplication::processEvents();
    }

    bool complete()
    {
        return app.controller().state().NodeCount == kMaxNodes &&
               app.controller().state().ElementCount == kMaxElements;
    }
};

} // namespace ai::bench
