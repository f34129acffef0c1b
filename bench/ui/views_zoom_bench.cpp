// The views over two 6000 x 4000 photographs with 1000 nodes and 1000 triangles spread over
// them: both photographs imported, fitted and painted; one wheel notch or one pan step,
// painting both views. A step that needs a sharper decoding paints a coarser one meanwhile
// and the decoding goes on beside (one thread a view); the worst step of each run is
// reported as `worst_ms`, the process's peak resident size as `peak_MB`.
#include "large_study.h"
#include "offscreen_main.h"
#include "ui/image_view_widget.h"

#include <QMouseEvent>
#include <QWheelEvent>

#include <benchmark/benchmark.h>

#include <chrono>
#include <fstream>
#include <memory>
#include <string>

namespace {

using namespace ai;
using Clock = std::chrono::steady_clock;

// The nodes' spread across the whole photograph.
constexpr float kSpread = 6;

// One study at a time, built for the first benchmark of its format; destroyed before the
// application.
std::string studied;
std::unique_ptr<bench::LargeStudy> current;

// The peak resident size counts from here: writing the photographs is no part of it.
void resetPeakResident() { std::ofstream("/proc/self/clear_refs") << "5"; }

bench::LargeStudy& study(const char* format)
{
    if (!current || studied != format) {
        current.reset();
        current = std::make_unique<bench::LargeStudy>(format, kSpread);
        studied = format;
    }
    resetPeakResident();
    return *current;
}

// A size of /proc/self/status ("VmHWM:" the peak, "VmRSS:" now), in megabytes.
double residentMegabytes(const std::string& field)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(field, 0) == 0)
            return std::stod(line.substr(field.size())) / 1024;
    return 0;
}
double peakResidentMegabytes() { return residentMegabytes("VmHWM:"); }

// Paints both views as they are now; sharper decodings finished meanwhile are taken.
void paintBoth(bench::LargeStudy& s)
{
    QApplication::processEvents();
    s.app.form1().picture1().repaint();
    s.app.form1().picture2().repaint();
}

// From the fitted views, or at natural size, runs `step` once an iteration, painting both
// views after it.
template <typename Step>
void measureSteps(benchmark::State& state, const char* format, bool natural, Step step)
{
    bench::LargeStudy& s = study(format);
    if (!s.complete())
        state.SkipWithError("the study is not 1000 nodes and 1000 triangles");
    s.app.form1().viewsPlacement().fit();
    if (natural)
        s.app.form1().viewsPlacement().naturalSize();
    paintBoth(s);
    state.counters["start_MB"] = residentMegabytes("VmRSS:");
    double worst = 0;
    int k = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        step(s, k++);
        paintBoth(s);
        worst = std::max(worst, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    state.counters["worst_ms"] = worst;
    state.counters["peak_MB"] = peakResidentMegabytes();
}

void BM_ImportBothFittedAndShown(benchmark::State& state, const char* format)
{
    bench::LargeStudy& s = study(format);
    for (auto _ : state) {
        s.dialogs.answers = {s.free, s.loaded};
        s.app.controller().imagelibre();
        s.app.controller().imgcharge();
        paintBoth(s);
    }
    state.counters["peak_MB"] = peakResidentMegabytes();
}

// Twelve notches in (to 21 times the fitted zoom) and twelve out, about a point of the
// free view, round and round.
void BM_WheelNotch(benchmark::State& state, const char* format)
{
    measureSteps(state, format, false, [](bench::LargeStudy& s, int k) {
        ui::ImageViewWidget& view = s.app.form1().picture1();
        const QPointF at(430, 170);
        const int angle = k % 24 < 12 ? 120 : -120;
        QWheelEvent wheel(at, view.mapToGlobal(at), {}, {0, angle}, Qt::NoButton, {},
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(&view, &wheel);
    });
}

// At natural size, a middle-button drag of 40 pixels, sixty to the left then sixty back.
void BM_PanStep(benchmark::State& state, const char* format)
{
    measureSteps(state, format, true, [](bench::LargeStudy& s, int k) {
        ui::ImageViewWidget& view = s.app.form1().picture1();
        const QPointF from(500, 150), to(k % 120 < 60 ? 460 : 540, 150);
        QMouseEvent press(QEvent::MouseButtonPress, from, view.mapToGlobal(from),
                          Qt::MiddleButton, Qt::MiddleButton, {});
        QMouseEvent move(QEvent::MouseMove, to, view.mapToGlobal(to), Qt::NoButton,
                         Qt::MiddleButton, {});
        QMouseEvent release(QEvent::MouseButtonRelease, to, view.mapToGlobal(to),
                            Qt::MiddleButton, Qt::NoButton, {});
        for (QMouseEvent* event : {&press, &move, &release})
            QApplication::sendEvent(&view, event);
    });
}

BENCHMARK_CAPTURE(BM_ImportBothFittedAndShown, jpeg, "JPG")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WheelNotch, jpeg, "JPG")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PanStep, jpeg, "JPG")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ImportBothFittedAndShown, png, "PNG")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WheelNotch, png, "PNG")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PanStep, png, "PNG")->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char* argv[])
{
    return bench::runOffscreen(argc, argv, [] { current.reset(); });
}
