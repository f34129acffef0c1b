#include "ui/map_svg.h"

#include <QBuffer>
#include <QPainter>
#include <QSvgGenerator>

namespace ai::ui {

QByteArray mapSvg(const MapCanvas& canvas, const MapTexts& texts)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    const QSize size = canvas.surface().size();
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setTitle(QString::fromStdString(texts.title));
    svg.setDescription(QStringLiteral("Carte des contraintes"));
    {
        QPainter painter(&svg);
        canvas.paint(painter, texts);
    }
    return bytes;
}

} // namespace ai::ui
