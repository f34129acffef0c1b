// The photograph decoders on a 24-megapixel camera-sized photograph (6000 x 4000), as JPEG
// and PNG: the whole grey levels for the correlation, the picture fitted in a view (1/8),
// and a view's part at full resolution.
#include "ui/picture_decoder.h"

#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

namespace {

// Written once: a smooth texture with some colour, as a speckled coupon photographed.
const std::string& photograph(const char* format)
{
    static QTemporaryDir folder;
    static const QImage picture = [] {
        QImage image(6000, 4000, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                const int v = 128 + static_cast<int>(60 * std::sin(0.31 * x + 0.17 * y) +
                                                     50 * std::sin(0.23 * y - 0.41 * x));
                line[x] = qRgb(v, (v + 40) % 256, 255 - v);
            }
        }
        return image;
    }();
    static std::string jpeg, png;
    std::string& path = std::string(format) == "JPEG" ? jpeg : png;
    if (path.empty()) {
        path = folder.filePath(std::string(format) == "JPEG" ? "photo.jpg" : "photo.png").toStdString();
        picture.save(QString::fromStdString(path), format, 90);
    }
    return path;
}

void BM_GreyLevels(benchmark::State& state, const char* format)
{
    const std::string& path = photograph(format);
    for (auto _ : state)
        benchmark::DoNotOptimize(ai::ui::decodeGreyLevels(path));
}
BENCHMARK_CAPTURE(BM_GreyLevels, jpeg, "JPEG")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_GreyLevels, png, "PNG")->Unit(benchmark::kMillisecond);

void BM_Region(benchmark::State& state, const char* format)
{
    const std::string& path = photograph(format);
    const int step = static_cast<int>(state.range(0));
    // Fitted: the whole photograph; natural size: a view's part in the middle.
    const QRect region = step > 1 ? QRect(0, 0, 6000, 4000) : QRect(2500, 1800, 1001, 329);
    for (auto _ : state)
        benchmark::DoNotOptimize(ai::ui::decodeRegion(path, region, step));
}
BENCHMARK_CAPTURE(BM_Region, jpeg, "JPEG")->Arg(8)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Region, png, "PNG")->Arg(8)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Size(benchmark::State& state, const char* format)
{
    const std::string& path = photograph(format);
    for (auto _ : state)
        benchmark::DoNotOptimize(ai::ui::photographSize(path));
}
BENCHMARK_CAPTURE(BM_Size, jpeg, "JPEG")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Size, png, "PNG")->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    benchmark::Initialize(&argc, argv);
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
