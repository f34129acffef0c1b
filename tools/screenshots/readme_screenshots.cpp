// Takes the README's screenshots of the worked example on an X server (Xvfb):
//   xvfb-run -a -s "-screen 0 1280x1280x24" readme-screenshots EXAMPLES_DIR OUTPUT_DIR
// (tools/screenshots/take_readme_screenshots.sh runs it and stores the pictures in docs/)
// The photographs are imported and the mesh opened through the window's own commands (the
// file dialogs answered from here), the material typed into the panel and the study chosen
// from the menu; then both windows are grabbed from the screen, as the user sees them.
#include "support/fakes.h"
#include "ui/application.h"
#include "ui/qt_file_store.h"
#include "ui/system_settings.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QLocale>
#include <QScreen>
#include <QTest>

#include <iostream>

namespace {

void choose(QWidget& window, const char* command)
{
    auto* action = window.findChild<QAction*>(QString::fromLatin1(command));
    if (!action) {
        std::cerr << "readme-screenshots: no command " << command << "\n";
        std::exit(1);
    }
    action->trigger();
}

void type(QWidget& window, const char* box, const char* text)
{
    auto* edit = window.findChild<QLineEdit*>(QString::fromLatin1(box));
    edit->selectAll();
    QTest::keyClicks(edit, QString::fromUtf8(text));
}

// What the X server shows of the window, once it has painted everything pending.
bool save(QWidget& window, const QString& path)
{
    if (!QTest::qWaitForWindowExposed(&window))
        return false;
    QTest::qWait(300);
    return window.screen()->grabWindow(window.winId()).save(path);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc != 3) {
        std::cerr << "usage: readme-screenshots EXAMPLES_DIR OUTPUT_DIR\n";
        return 2;
    }
    const std::string examples = argv[1];
    const QString output = QString::fromLocal8Bit(argv[2]);

    ai::test::FakeMessages messages;
    ai::test::FakeDialogs dialogs;
    for (const char* file : {"/plate-free.png", "/plate-loaded.png", "/plate-with-hole.MEF"})
        dialogs.answers.push_back(examples + file);
    ai::ui::QtFileStore files;
    // A French user's settings: the decimal comma.
    ai::ui::Application application(
        messages, dialogs, files,
        ai::ui::systemSettings(QLocale(QLocale::French), QApplication::palette()));
    ai::ui::Form1& form = application.form1();
    form.show();

    choose(form, "imagelibre");
    choose(form, "imgcharge");
    choose(form, "open");
    application.controller().formMoved(); // the pointer over the window draws the mesh
    application.controller().label7Moved(); // over "+", then over "Matériau"
    application.controller().label5Moved();
    type(form, "Text1", "2000");
    type(form, "Text2", "0,3");
    choose(form, "sxxctrteplane");
    // The map window opens centred; below the main window, neither hides the other.
    application.form2().move(0, form.frameGeometry().bottom() + 1);

    const bool saved = save(form, output + "/example-main.png") &&
                       save(application.form2(), output + "/example-map.png");
    for (const std::string& text : messages.shown)
        std::cout << text << "\n";
    if (!saved) {
        std::cerr << "readme-screenshots: the windows could not be grabbed\n";
        return 1;
    }
    return 0;
}
