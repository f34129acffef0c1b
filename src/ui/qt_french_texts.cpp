#include "ui/qt_french_texts.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace ai::ui {

QtFrenchTexts::QtFrenchTexts()
{
    // The program speaks French whatever the system's language, so Qt's texts must too.
    installed_ = translator_.load(QStringLiteral("qtbase_fr"),
                                  QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
                 QCoreApplication::installTranslator(&translator_);
}

QtFrenchTexts::~QtFrenchTexts()
{
    if (installed_)
        QCoreApplication::removeTranslator(&translator_);
}

} // namespace ai::ui
