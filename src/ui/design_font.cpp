#include "ui/design_font.h"

#include <QFontDatabase>

namespace ai::ui {

QFont designFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSizeF(8.25);
    return font;
}

} // namespace ai::ui
