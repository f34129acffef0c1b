#include "ui/application.h"

#include "ui/image_view_widget.h"

#include <QCoreApplication>

namespace ai::ui {

namespace {

// Pixels decoded around what a view shows: a node at the view's edge keeps its largest
// subset (61 pixels, half 30), the search around it (20) and the refinement's interpolation
// window (ten pixels more) inside the decoded part.
constexpr int kCorrelationMargin = 64;

QSize correlationRegion(ImageViewWidget& free, ImageViewWidget& loaded)
{
    return free.contentsRect().size().expandedTo(loaded.contentsRect().size()) +
           QSize(kCorrelationMargin, kCorrelationMargin);
}

} // namespace

Application::Application(MessagePort& messages, FileDialogPort& dialogs, FileStore& files,
                         const Settings& settings, NumberDialogPort* numbers)
    : mapExport_(form2_, dialogs, files, messages),
      photographs_(correlationRegion(form1_.picture1(), form1_.picture2())), progress_(&form1_),
      controller_(Platform{form1_, form1_.picture1(), form1_.picture2(), mapExport_, messages,
                           dialogs, files, photographs_, progress_,
                           numbers != nullptr ? *numbers : numbers_},
                  settings)
{
    mapExport_.watch(controller_);
    form1_.bind(controller_);
    QObject::connect(&form2_, &Form2::closedByUser, &form1_,
                     [this] { controller_.mapWindowClosed(); });
    // Closing the main window ends the program at once, map window included.
    QObject::connect(&form1_, &Form1::closed, &form1_, [this] {
        form2_.hide();
        QCoreApplication::quit();
    });
}

} // namespace ai::ui
