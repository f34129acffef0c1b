#include "ui/application.h"

#include "ui/image_view_widget.h"

#include <QCoreApplication>

namespace ai::ui {

Application::Application(MessagePort& messages, FileDialogPort& dialogs, FileStore& files,
                         const Settings& settings, NumberDialogPort* numbers)
    : mapExport_(form2_, dialogs, files, messages),
      progress_(&form1_), curves_(dialogs, files, messages, settings.format),
      controller_(Platform{form1_, form1_.picture1(), form1_.picture2(), mapExport_, messages,
                           dialogs, files, photographs_, progress_,
                           numbers != nullptr ? *numbers : numbers_, curves_},
                  settings)
{
    mapExport_.watch(controller_);
    form1_.bind(controller_);
    QObject::connect(&form2_, &Form2::closedByUser, &form1_,
                     [this] { controller_.mapWindowClosed(); });
    QObject::connect(&mapExport_, &MapExport::scaleChosen, &form1_,
                     [this](bool common) { controller_.commonScaleChosen(common); });
    // Closing the main window ends the program at once, map window included.
    QObject::connect(&form1_, &Form1::closed, &form1_, [this] {
        form2_.hide();
        curves_.hide();
        QCoreApplication::quit();
    });
}

} // namespace ai::ui
