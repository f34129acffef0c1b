// analyse-image-batch: the study of a mesh file from the command line, with no window.
#include "batch/batch_options.h"
#include "batch/batch_run.h"
#include "ui/qt_file_store.h"
#include "ui/qt_photograph_source.h"
#include "ui/system_settings.h"

#include <QGuiApplication>
#include <QLocale>
#include <QPalette>

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char* argv[])
{
    // The map is painted off screen whatever the display; Qt's own options are not ours,
    // so the application sees the program's name only.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Standard error carries the program's own lines only, for scripts to read; Qt's
    // notes about the environment are not for the user.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);

    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const ai::batch::CommandLine line = ai::batch::parseCommandLine(arguments);
    if (line.help) {
        std::cout << ai::batch::kUsage;
        return ai::batch::kExitDone;
    }
    if (!line.options) {
        std::cerr << "analyse-image-batch : " << line.error << "\n"
                  << "Voir analyse-image-batch --help.\n";
        return ai::batch::kExitUsage;
    }

    ai::NumberFormat format =
        ai::ui::systemSettings(QLocale::system(), QGuiApplication::palette()).format;
    if (line.options->decimal)
        format.decimal = *line.options->decimal;
    ai::ui::QtFileStore files;
    ai::ui::QtPhotographSource photographs;
    return ai::batch::runBatch(*line.options, format, files, photographs, std::cerr);
}
