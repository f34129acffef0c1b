#pragma once

#include "shell/main_controller.h"
#include "ui/curves_window.h"
#include "ui/form1.h"
#include "ui/form2.h"
#include "ui/map_export.h"
#include "ui/qt_french_texts.h"
#include "ui/qt_number_dialog.h"
#include "ui/qt_photograph_source.h"
#include "ui/qt_progress.h"

namespace ai::ui {

// The whole program's windows around one controller. The message boxes, file dialogs and
// files come from outside so that tests can answer them without a modal window;
// so may the number dialog, Qt's own by default.
class Application {
public:
    Application(MessagePort& messages, FileDialogPort& dialogs, FileStore& files,
                const Settings& settings, NumberDialogPort* numbers = nullptr);

    Form1& form1() { return form1_; }
    Form2& form2() { return form2_; }
    CurvesWindow& curves() { return curves_; }
    MainController& controller() { return controller_; }

private:
    // First, so that every window is built with Qt's texts already in French.
    QtFrenchTexts qtTexts_;
    Form2 form2_;
    Form1 form1_;
    // The study paints the map through its context menu's keeper of values.
    MapExport mapExport_;
    QtPhotographSource photographs_;
    QtProgress progress_;
    QtNumberDialog numbers_;
    CurvesWindow curves_;
    MainController controller_;
};

} // namespace ai::ui
