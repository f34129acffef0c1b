// One pointer movement over the free view in a drawing mode, core plus Qt painting of both
// views, with 1000 nodes and 1000 triangles over two 6000 x 4000 photographs: with the
// decoded photographs kept by the views, and with both decoded again at every movement.
#include "support/fakes.h"
#include "ui/application.h"
#include "ui/image_view_widget.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <memory>

namespace {

using namespace ai;

// A photograph-like 6000 x 4000 JPEG: smooth shading with fine texture.
std::string writePhotograph(const QTemporaryDir& dir, const char* name, int shift)
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
    image.save(path, "JPG", 90);
    return path.toStdString();
}

struct Study {
    QTemporaryDir dir;
    std::string free = writePhotograph(dir, "libre.jpg", 0);
    std::string loaded = writePhotograph(dir, "chargee.jpg", 11);
    test::FakeMessages messages;
    test::FakeDialogs dialogs;
    test::MemoryFiles files;
    ui::Application app{messages, dialogs, files, Settings{NumberFormat{','}, Rgb{0, 120, 215}}};

    Study()
    {
        MainController& c = app.controller();
        dialogs.answers = {free, loaded};
        c.imagelibre();
        c.imgcharge();

        // 40 x 25 nodes, 360 x 190 units apart; the loaded positions a little stretched.
        constexpr int columns = 40;
        const auto x = [](int column) { return 300.0f + 360.0f * static_cast<float>(column); };
        const auto y = [](int row) { return 200.0f + 190.0f * static_cast<float>(row); };
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

    void moveOverFreeView(int step)
    {
        ui::ImageViewWidget& view = app.form1().picture1();
        const QPointF at(400 + step % 200, 150);
        QMouseEvent move(QEvent::MouseMove, at, view.mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(&view, &move);
        app.form1().picture1().repaint();
        app.form1().picture2().repaint();
    }
};

// Made at first use; destroyed by main while the QApplication that its windows need lives.
std::unique_ptr<Study> built;

Study& study()
{
    if (!built)
        built = std::make_unique<Study>();
    return *built;
}

void checkStudy(benchmark::State& state, Study& s)
{
    if (s.app.controller().state().NodeCount != kMaxNodes ||
        s.app.controller().state().ElementCount != kMaxElements)
        state.SkipWithError("the study is not 1000 nodes and 1000 triangles");
}

void BM_PointerMoveWithKeptPhotographs(benchmark::State& state)
{
    Study& s = study();
    checkStudy(state, s);
    int step = 0;
    for (auto _ : state)
        s.moveOverFreeView(step++);
}
BENCHMARK(BM_PointerMoveWithKeptPhotographs)->Unit(benchmark::kMillisecond);

void BM_PointerMoveDecodingPhotographsEveryTime(benchmark::State& state)
{
    Study& s = study();
    checkStudy(state, s);
    // A new modification time makes the views take the files as changed and decode them.
    const auto stamp = std::filesystem::last_write_time(s.free);
    int step = 0;
    for (auto _ : state) {
        ++step;
        std::filesystem::last_write_time(s.free, stamp + std::chrono::seconds(step));
        std::filesystem::last_write_time(s.loaded, stamp + std::chrono::seconds(step));
        s.moveOverFreeView(step);
    }
}
BENCHMARK(BM_PointerMoveDecodingPhotographsEveryTime)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    benchmark::Initialize(&argc, argv);
    QApplication app(argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    built.reset();
    return 0;
}
