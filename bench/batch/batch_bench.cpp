// The whole batch study of the worked example: read the mesh file, study sigma xx in plane
// stress, write both tables and the map over the photograph as PNG, save the mesh file. And a
// test's sequence: 1000 points over 20 load steps of 5-megapixel PNG photographs.
#include "batch/batch_run.h"
#include "ui/qt_file_store.h"
#include "ui/qt_photograph_source.h"

#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <sstream>

namespace {

const QString kExamples = QStringLiteral(ANALYSE_EXAMPLES_DIR);

QStringList exampleArguments(const QTemporaryDir& out)
{
    return {"--study=sxx",
            "--plane-stress",
            "--young=2000",
            "--poisson=0.3",
            "--nodes-csv=" + out.filePath("nodes.csv"),
            "--elements-csv=" + out.filePath("elements.csv"),
            "--map-png=" + out.filePath("map.png"),
            "--image=" + kExamples + "/plate-free.png",
            "--save=" + out.filePath("saved.MEF"),
            kExamples + "/plate-with-hole.MEF"};
}

// In the program's own process: the study and its files, without the start of a process.
void BM_BatchStudyOfTheExample(benchmark::State& state)
{
    QTemporaryDir out;
    std::vector<std::string> arguments;
    for (const QString& argument : exampleArguments(out))
        arguments.push_back(argument.toStdString());
    const auto line = ai::batch::parseCommandLine(arguments);
    ai::ui::QtFileStore files;
    ai::ui::QtPhotographSource photographs;
    for (auto _ : state) {
        std::ostringstream errors;
        if (ai::batch::runBatch(*line.options, ai::NumberFormat{','}, files, photographs, errors) !=
            0)
            state.SkipWithError(errors.str().c_str());
    }
}
BENCHMARK(BM_BatchStudyOfTheExample)->Unit(benchmark::kMillisecond);

// As a script runs it: a new process each time.
void BM_BatchProgramOnTheExample(benchmark::State& state)
{
    QTemporaryDir out;
    const QStringList arguments = exampleArguments(out);
    for (auto _ : state) {
        QProcess process;
        process.start(QStringLiteral(ANALYSE_BATCH_PROGRAM), arguments);
        if (!process.waitForFinished(60000) || process.exitCode() != 0)
            state.SkipWithError("the batch program failed");
    }
}
BENCHMARK(BM_BatchProgramOnTheExample)->Unit(benchmark::kMillisecond);

constexpr int kWidth = 2592, kHeight = 1944, kSteps = 20;

// A speckle of about two pixels' grain: white noise smoothed twice by a 3 x 3 box.
QImage speckle()
{
    std::mt19937 random(11);
    std::uniform_int_distribution<int> level(0, 255);
    std::vector<float> grey(std::size_t(kWidth) * kHeight);
    for (float& g : grey)
        g = float(level(random));
    for (int pass = 0; pass < 2; ++pass) {
        std::vector<float> smooth(grey.size());
        for (int y = 1; y + 1 < kHeight; ++y)
            for (int x = 1; x + 1 < kWidth; ++x) {
                float sum = 0;
                for (int j = -1; j <= 1; ++j)
                    for (int i = -1; i <= 1; ++i)
                        sum += grey[std::size_t(y + j) * kWidth + std::size_t(x + i)];
                smooth[std::size_t(y) * kWidth + std::size_t(x)] = sum / 9;
            }
        grey.swap(smooth);
    }
    QImage image(kWidth, kHeight, QImage::Format_Grayscale8);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            image.scanLine(y)[x] = uchar(std::clamp(
                128 + 2.5f * (grey[std::size_t(y) * kWidth + std::size_t(x)] - 128), 0.f, 255.f));
    return image;
}

// The free speckle stretched along x about the middle column, sampled bilinearly.
QImage stretched(const QImage& free, double stretch)
{
    QImage image(kWidth, kHeight, QImage::Format_Grayscale8);
    const double centre = kWidth / 2.0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const double from = std::clamp(centre + (x - centre) / stretch, 0.0, kWidth - 2.0);
            const int i = int(from);
            const double t = from - i;
            const uchar* row = free.constScanLine(y);
            image.scanLine(y)[x] = uchar(std::lround(row[i] * (1 - t) + row[i + 1] * t));
        }
    return image;
}

// 20 steps of 2 % each, to 40 %, and 1000 points that stay on the photographs throughout.
void BM_BatchSequenceOf20Steps(benchmark::State& state)
{
    QTemporaryDir out;
    const QImage free = speckle();
    free.save(out.filePath("free.png"));
    std::vector<std::string> arguments{"--points=" + out.filePath("points.csv").toStdString(),
                                       "--correlate",
                                       "--free-image=" + out.filePath("free.png").toStdString(),
                                       "--nodes-csv=" + out.filePath("nodes.csv").toStdString()};
    for (int k = 1; k <= kSteps; ++k) {
        const QString name = out.filePath(QString("step%1.png").arg(k));
        stretched(free, 1.0 + 0.02 * k).save(name);
        arguments.push_back("--loaded-image=" + name.toStdString());
    }
    QFile points(out.filePath("points.csv"));
    points.open(QIODevice::WriteOnly);
    points.write("x,y\n");
    for (int j = 0; j < 25; ++j)
        for (int i = 0; i < 40; ++i)
            points.write(QByteArray::number(450 + i * 43) + ',' + QByteArray::number(300 + j * 56) +
                         '\n');
    points.close();
    const auto line = ai::batch::parseCommandLine(arguments);
    if (!line.options) {
        state.SkipWithError(line.error.c_str());
        return;
    }
    ai::ui::QtFileStore files;
    for (auto _ : state) {
        // A new source each time: every photograph is decoded within the measure.
        ai::ui::QtPhotographSource photographs;
        std::ostringstream errors;
        if (ai::batch::runBatch(*line.options, ai::NumberFormat{','}, files, photographs, errors) !=
            0)
            state.SkipWithError(errors.str().c_str());
        // Steps with a point not found: a speed bought by losing points is no speed.
        const std::string text = errors.str();
        int missed = 0;
        for (std::size_t at = text.find("Étape"); at != std::string::npos;
             at = text.find("Étape", at + 1))
            missed += text.compare(text.find(", ", at), 18, ", 0 non trouvé(s)") != 0;
        state.counters["steps_with_points_not_found"] = missed;
    }
}
BENCHMARK(BM_BatchSequenceOf20Steps)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    benchmark::Initialize(&argc, argv);
    QGuiApplication app(argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
