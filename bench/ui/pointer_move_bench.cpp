// One pointer movement over the free view in a drawing mode, core plus Qt painting of both
// views, with 1000 nodes and 1000 triangles over two 6000 x 4000 photographs: with the
// decoded photographs kept by the views, and with both decoded again at every movement.
#include "large_study.h"
#include "offscreen_main.h"
#include "ui/image_view_widget.h"

#include <QMouseEvent>

#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <memory>

namespace {

using namespace ai;

struct Study : bench::LargeStudy {
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
    if (!s.complete())
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
    return bench::runOffscreen(argc, argv, [] { built.reset(); });
}
