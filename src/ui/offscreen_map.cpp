#include "ui/offscreen_map.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPalette>

namespace ai::ui {

OffscreenMap::OffscreenMap()
    : canvas_(QGuiApplication::palette().color(QPalette::Window),
              QGuiApplication::palette().color(QPalette::WindowText))
{
}

void OffscreenMap::setBackground(const std::string& path)
{
    backgroundRead_ = canvas_.setBackground(path) || path.empty();
}

void OffscreenMap::drawPoint(float x, float y, Rgb colour) { canvas_.drawPoint(x, y, colour); }

void OffscreenMap::drawLegendPoint(float x, float y, Rgb colour)
{
    canvas_.drawLegendPoint(x, y, colour);
}

QByteArray pngBytes(const QImage& picture)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    // Qt's quality 80 is zlib's level 1.
    picture.save(&buffer, "PNG", 80);
    return bytes;
}

QByteArray OffscreenMap::png() const { return pngBytes(picture()); }

} // namespace ai::ui
