#include "ui/map_canvas.h"

#include "ui/design_font.h"
#include "ui/view_units.h"

#include <QFontMetrics>
#include <QPainter>
#include <QString>

namespace ai::ui {

MapCanvas::MapCanvas(QColor window, QColor text)
    : window_(window), text_(text), background_(kMapClientSize),
      surface_(kMapClientSize, QImage::Format_RGB32)
{
    surface_.fill(window_);
}

bool MapCanvas::setBackground(const std::string& path)
{
    surface_.fill(window_);
    const QImage& picture = background_.picture(path);
    if (picture.isNull())
        return false;
    QPainter painter(&surface_);
    painter.drawImage(QPoint(0, 0), picture);
    return true;
}

void MapCanvas::drawPoint(float x, float y, Rgb colour)
{
    const auto point = toPixel(x, y);
    if (point && surface_.rect().contains(*point))
        surface_.setPixel(*point, qRgb(colour.red, colour.green, colour.blue));
}

QImage MapCanvas::picture(const MapTexts& texts) const
{
    QImage picture = surface_;
    QPainter painter(&picture);
    painter.setPen(text_);
    auto label = [&painter, this](const QRect& at, const std::string& text, const QFont& font,
                                  int flags) {
        painter.fillRect(at, window_);
        painter.setFont(font);
        painter.drawText(at, flags, QString::fromStdString(text));
    };
    QFont italic = designFont();
    italic.setItalic(true);
    // A title that needs more than the label's two lines (that of a map of standard
    // deviations) grows upwards over the empty band rather than losing its last line.
    constexpr int kTitleFlags = Qt::AlignCenter | Qt::TextWordWrap;
    QRect title = kMapTitleRect;
    const int needed = QFontMetrics(italic)
                           .boundingRect(title, kTitleFlags, QString::fromStdString(texts.title))
                           .height();
    if (needed > title.height())
        title.setTop(title.bottom() + 1 - needed);
    label(title, texts.title, italic, kTitleFlags);
    label(kMapMaximumRect, texts.maximum, designFont(), Qt::AlignLeft | Qt::AlignVCenter);
    label(kMapMinimumRect, texts.minimum, designFont(), Qt::AlignLeft | Qt::AlignVCenter);
    return picture;
}

} // namespace ai::ui
