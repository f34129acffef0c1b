// The whole batch study of the worked example: read the mesh file, study sigma xx in plane
// stress, write both tables and the map over the photograph as PNG, save the mesh file.
#include "batch/batch_run.h"
#include "ui/qt_file_store.h"
#include "ui/qt_photograph_source.h"

#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

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
