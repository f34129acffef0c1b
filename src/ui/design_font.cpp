#include "ui/design_font.h"

namespace ai::ui {

QFont designFont()
{
    // The layouts were drawn for a narrow sans-serif of 8.25 points; Liberation Sans has
    // close metrics, where the desktop's default sans-serif is too wide for the small
    // buttons and labels. Without it, the nearest sans-serif stands in.
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.25);
    return font;
}

} // namespace ai::ui
