#pragma once

#include <QTranslator>

namespace ai::ui {

// Qt's own texts (the file dialogs, the standard buttons, the text boxes' context menus)
// in French like the rest of the program, for as long as this object lives. Without Qt's
// French translations installed they stay English.
class QtFrenchTexts {
public:
    QtFrenchTexts();
    ~QtFrenchTexts();
    QtFrenchTexts(const QtFrenchTexts&) = delete;
    QtFrenchTexts& operator=(const QtFrenchTexts&) = delete;

private:
    QTranslator translator_;
    bool installed_ = false;
};

} // namespace ai::ui
