// The map window over a 6000 x 4000 photograph with a map of 1000 triangles' dots: one wheel
// step (the map reduced again for the new zoom, then painted) and one pan step (painted
// only), each as the window handles the event and repaints at once.
#include "offscreen_main.h"
#include "ui/form2.h"

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>
#include <QWheelEvent>

#include <benchmark/benchmark.h>

namespace {

using namespace ai;

struct MapOfLargePhotograph {
    QTemporaryDir dir;
    ui::Form2 window;

    MapOfLargePhotograph()
    {
        QImage image(6000, 4000, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                line[x] = qRgb((x * 7 + y * 13) % 256, (x + y) % 256, 128);
        }
        const QString path = dir.filePath("libre.jpg");
        image.save(path, "JPG", 90);
        window.setBackground(path.toStdString());
        // The 37 dots of each of 1000 triangles, over the whole photograph.
        for (int i = 0; i < 37000; ++i)
            window.drawPoint(15.0f * static_cast<float>((i * 977) % 6000),
                             15.0f * static_cast<float>((i * 613) % 4000),
                             Rgb{255, static_cast<std::uint8_t>(i % 256), 0});
        window.show();
        benchmark::DoNotOptimize(window.grab());
    }

    void wheel(int delta)
    {
        QWheelEvent event(QPointF(500, 200), window.mapToGlobal(QPointF(500, 200)), {}, {0, delta},
                          Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&window, &event);
        benchmark::DoNotOptimize(window.grab());
    }
};

void BM_MapWheelStep(benchmark::State& state)
{
    MapOfLargePhotograph map;
    int delta = 120;
    for (auto _ : state) {
        map.wheel(delta);
        delta = -delta;
    }
}
BENCHMARK(BM_MapWheelStep)->Unit(benchmark::kMillisecond);

void BM_MapPanStep(benchmark::State& state)
{
    MapOfLargePhotograph map;
    map.wheel(120 * 6); // zoomed in past one: the photograph's pixels as squares
    int delta = 20;
    for (auto _ : state) {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(500, 200),
                          map.window.mapToGlobal(QPointF(500, 200)), Qt::MiddleButton,
                          Qt::MiddleButton, {});
        QApplication::sendEvent(&map.window, &press);
        QMouseEvent move(QEvent::MouseMove, QPointF(500 + delta, 200),
                         map.window.mapToGlobal(QPointF(500 + delta, 200)), Qt::NoButton,
                         Qt::MiddleButton, {});
        QApplication::sendEvent(&map.window, &move);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(500 + delta, 200),
                            map.window.mapToGlobal(QPointF(500 + delta, 200)), Qt::MiddleButton, {},
                            {});
        QApplication::sendEvent(&map.window, &release);
        benchmark::DoNotOptimize(map.window.grab());
        delta = -delta;
    }
}
BENCHMARK(BM_MapPanStep)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char* argv[])
{
    return bench::runOffscreen(argc, argv);
}
