#include "ui/map_canvas.h"

#include "ui/design_font.h"
#include "ui/styled_map_painter.h"
#include "ui/view_units.h"

#include <QFontMetrics>
#include <QPainter>
#include <QString>

#include <algorithm>

namespace ai::ui {

namespace {

// Any photograph whole: the pixel limit refuses what could not be held.
constexpr QSize kWholePhotograph(1 << 20, 1 << 20);

} // namespace

LegendPlace legendPlace(QSize area, double scale)
{
    const double right = area.width() - kMapClientSize.width() * scale;
    const double bottom = area.height() - kMapClientSize.height() * scale;
    return {scale, QPointF(right, 0), QPointF(right / 2, bottom)};
}

double legendScale(QSize size)
{
    return std::max(1.0, std::min(static_cast<double>(size.width()) / kMapClientSize.width(),
                                  static_cast<double>(size.height()) / kMapClientSize.height()));
}

MapCanvas::MapCanvas(QColor window, QColor text)
    : window_(window), text_(text), background_(kWholePhotograph),
      surface_(kMapClientSize, QImage::Format_RGB32)
{
    surface_.fill(window_);
}

bool MapCanvas::setBackground(const std::string& path)
{
    legend_.clear();
    dots_.clear();
    styled_.reset();
    styledSurface_ = QImage();
    const QImage& picture = background_.picture(path);
    photograph_ = picture; // shared, not copied
    const QSize size = kMapClientSize.expandedTo(picture.size());
    if (surface_.size() != size)
        surface_ = QImage(size, QImage::Format_RGB32);
    surface_.fill(window_);
    if (picture.isNull())
        return false;
    QPainter painter(&surface_);
    painter.drawImage(QPoint(0, 0), picture);
    return true;
}

void MapCanvas::drawPoint(float x, float y, Rgb colour)
{
    const auto point = toPixel(x, y);
    if (point && surface_.rect().contains(*point)) {
        const QRgb rgb = qRgb(colour.red, colour.green, colour.blue);
        surface_.setPixel(*point, rgb);
        dots_.push_back({point->x(), point->y(), rgb});
    }
}

void MapCanvas::paintDots(QPainter& painter, double zoom, QPointF origin) const
{
    if (styled_)
        return;
    for (const Dot& dot : dots_) {
        painter.setPen(QColor(dot.colour));
        painter.drawPoint(
            QPointF((dot.x + 0.5 - origin.x()) * zoom, (dot.y + 0.5 - origin.y()) * zoom));
    }
}

void MapCanvas::drawLegendPoint(float x, float y, Rgb colour)
{
    const auto point = toPixel(x, y);
    if (point && QRect(QPoint(0, 0), kMapClientSize).contains(*point))
        legend_.push_back({point->x(), point->y(), qRgb(colour.red, colour.green, colour.blue)});
}

void MapCanvas::showStyled(std::optional<StyledMap> map)
{
    styled_ = std::move(map);
    styledSurface_ =
        styled_ ? paintStyledSurface(photograph_, surface_.size(), window_, *styled_) : QImage();
}

void MapCanvas::paintLegend(QPainter& painter, QSize area, double scale, const MapTexts& texts,
                            bool labels) const
{
    if (styled_) {
        paintStyledLegend(painter, *styled_, area, scale);
        return;
    }
    const LegendPlace place = legendPlace(area, scale);
    painter.save();
    painter.translate(place.bar);
    painter.scale(scale, scale);
    for (const Dot& dot : legend_)
        painter.fillRect(QRect(dot.x, dot.y, 1, 1), QColor(dot.colour));
    if (!labels) {
        painter.restore();
        return;
    }
    painter.setPen(text_);
    auto label = [&painter, this](const QRect& at, const std::string& text, const QFont& font,
                                  int flags) {
        painter.fillRect(at, window_);
        painter.setFont(font);
        painter.drawText(at, flags, QString::fromStdString(text));
    };
    label(kMapMaximumRect, texts.maximum, designFont(), Qt::AlignLeft | Qt::AlignVCenter);
    label(kMapMinimumRect, texts.minimum, designFont(), Qt::AlignLeft | Qt::AlignVCenter);
    painter.restore();

    painter.save();
    painter.translate(place.title);
    painter.scale(scale, scale);
    painter.setPen(text_);
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
    painter.restore();
}

QImage MapCanvas::picture(const MapTexts& texts) const
{
    QImage picture = surface();
    QPainter painter(&picture);
    paintLegend(painter, picture.size(), legendScale(picture.size()), texts, true);
    return picture;
}

void MapCanvas::paint(QPainter& painter, const MapTexts& texts) const
{
    painter.drawImage(QPoint(0, 0), surface());
    paintLegend(painter, surface().size(), legendScale(surface().size()), texts, true);
}

} // namespace ai::ui
