#include "ui/application.h"
#include "ui/qt_file_dialogs.h"
#include "ui/qt_file_store.h"
#include "ui/qt_messages.h"
#include "ui/system_settings.h"

#include <QApplication>
#include <QLocale>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    ai::ui::QtMessages messages;
    ai::ui::QtFileDialogs dialogs;
    ai::ui::QtFileStore files;
    ai::ui::Application application(
        messages, dialogs, files,
        ai::ui::systemSettings(QLocale::system(), QApplication::palette()));
    application.form1().show();
    return QApplication::exec();
}
