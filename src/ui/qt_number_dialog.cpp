#include "ui/qt_number_dialog.h"

#include <QApplication>
#include <QInputDialog>

namespace ai::ui {

std::optional<int> QtNumberDialog::wholeNumber(const std::string& title, const std::string& label,
                                               int initial, int minimum, int maximum)
{
    bool accepted = false;
    const int value = QInputDialog::getInt(
        QApplication::activeWindow(), QString::fromStdString(title), QString::fromStdString(label),
        initial, minimum, maximum, 1, &accepted);
    if (!accepted)
        return std::nullopt;
    return value;
}

} // namespace ai::ui
