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

QByteArray OffscreenMap::png() const
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture().save(&buffer, "PNG");
    return bytes;
}

} // namespace ai::ui
