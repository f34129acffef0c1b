#include "ui/system_settings.h"

#include <QLocale>
#include <QPalette>

namespace ai::ui {

Settings systemSettings(const QLocale& locale, const QPalette& palette)
{
    Settings settings;
    // The core writes one-byte separators; a locale whose separator is not ASCII gets
    // the point, which every reader of the program's texts understands.
    const QString point = locale.decimalPoint();
    settings.format.decimal =
        point.size() == 1 && point.front().unicode() < 0x80 ? point.front().toLatin1() : '.';
    const QColor highlight = palette.color(QPalette::Active, QPalette::Highlight);
    settings.highlight = Rgb{static_cast<std::uint8_t>(highlight.red()),
                             static_cast<std::uint8_t>(highlight.green()),
                             static_cast<std::uint8_t>(highlight.blue())};
    return settings;
}

} // namespace ai::ui
