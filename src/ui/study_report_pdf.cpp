#include "ui/study_report_pdf.h"

#include <QBuffer>
#include <QDateTime>
#include <QFont>
#include <QFontMetricsF>
#include <QImageReader>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <array>

namespace ai::ui {

namespace {

constexpr int kDotsPerInch = 300;

QFont reportFont(double points, bool bold = false)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QString text(const std::string& s) { return QString::fromStdString(s); }

// Writes lines and pictures down a page, each below the last.
class Page {
public:
    Page(QPainter& painter, QRectF area) : painter_(painter), area_(area), y_(area.top()) {}

    void line(const QString& words, const QFont& font, double spaceAfter = 0.3)
    {
        painter_.setFont(font);
        const QFontMetricsF metrics(font, painter_.device());
        const QRectF room(area_.left(), y_, area_.width(), area_.bottom() - y_);
        const QRectF used = painter_.boundingRect(room, Qt::TextWordWrap, words);
        painter_.drawText(room, Qt::TextWordWrap, words);
        y_ = used.bottom() + metrics.height() * spaceAfter;
    }

    // Columns of a table, the first left-aligned and the others right-aligned.
    void row(const std::array<QString, 4>& cells, const QFont& font)
    {
        painter_.setFont(font);
        const QFontMetricsF metrics(font, painter_.device());
        constexpr std::array<double, 5> kEdges{0, 0.28, 0.46, 0.73, 1.0};
        for (std::size_t i = 0; i < cells.size(); ++i) {
            const QRectF cell(area_.left() + kEdges[i] * area_.width(), y_,
                              (kEdges[i + 1] - kEdges[i]) * area_.width() - metrics.height() / 2,
                              metrics.height() * 1.4);
            painter_.drawText(cell, (i == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter,
                              cells[i]);
        }
        y_ += metrics.height() * 1.4;
        painter_.drawLine(QPointF(area_.left(), y_), QPointF(area_.right(), y_));
    }

    void picture(const QImage& image, double maxHeight)
    {
        const double scale = std::min(area_.width() / image.width(), maxHeight / image.height());
        const QRectF target(area_.left(), y_, image.width() * scale, image.height() * scale);
        // Reduced to the printer's dots first: a large photograph's map would weigh on the
        // file and on the memory for detail that no page can print.
        const QSize dots = target.size().toSize();
        painter_.drawImage(target,
                           image.width() > dots.width()
                               ? image.scaled(dots, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                               : image);
        y_ = target.bottom() + area_.height() * 0.02;
    }

    void restart() { y_ = area_.top(); }
    double y() const { return y_; }
    const QRectF& area() const { return area_; }

private:
    QPainter& painter_;
    QRectF area_;
    double y_;
};

} // namespace

std::vector<ReportPhotograph> reportPhotographs(const std::string& free, const std::string& loaded)
{
    std::vector<ReportPhotograph> photographs;
    for (const auto& [role, path] :
         {std::pair{"Structure libre", &free}, std::pair{"Structure chargée", &loaded}}) {
        ReportPhotograph photograph{role, *path, std::nullopt};
        QImageReader reader(QString::fromStdString(*path));
        reader.setDecideFormatFromContent(true);
        if (const QSize size = reader.size(); !path->empty() && size.isValid())
            photograph.size = std::pair{size.width(), size.height()};
        photographs.push_back(std::move(photograph));
    }
    return photographs;
}

QString reportDate()
{
    return QLocale(QLocale::French, QLocale::France)
        .toString(QDateTime::currentDateTime(), QStringLiteral("d MMMM yyyy 'à' HH:mm"));
}

QByteArray studyReportPdf(const StudyReport& report, const NumberFormat& format, const QImage& map,
                          const QImage& sdMap, const QString& date)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&buffer);
    pdf.setTitle(QStringLiteral("Rapport de l'étude"));
    pdf.setCreator(QStringLiteral("Analyse d'image"));
    pdf.setResolution(kDotsPerInch);
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                  QMarginsF(18, 18, 18, 18), QPageLayout::Millimeter));
    QPainter painter(&pdf);
    const QRectF area(QPointF(0, 0), QSizeF(pdf.width(), pdf.height()));
    const QFont title = reportFont(18, true), heading = reportFont(13, true),
                body = reportFont(10.5), bold = reportFont(10.5, true);

    int pageNumber = 1;
    const auto footer = [&] {
        painter.setFont(reportFont(9));
        painter.drawText(
            QRectF(area.left(), area.bottom() - area.height() * 0.02, area.width(),
                   area.height() * 0.02),
            Qt::AlignRight | Qt::AlignBottom,
            QStringLiteral("Analyse d'image – rapport du %1 – page %2").arg(date).arg(pageNumber));
    };

    Page page(painter, area);
    footer();
    page.line(QStringLiteral("Rapport de l'étude"), title, 0.2);
    page.line(QStringLiteral("Établi le %1").arg(date), body, 1.0);
    for (const auto& [name, lines] : report.sections(format)) {
        page.line(text(name), heading, 0.2);
        for (const std::string& words : lines)
            page.line(text(words), body, 0.1);
        page.line(QString(), body, 0.4);
    }
    page.line(QStringLiteral("Valeurs des éléments"), heading, 0.3);
    if (report.values.empty()) {
        page.line(QStringLiteral("Aucun élément n'a de valeur."), body);
    } else {
        const QString unit = text(report.unit);
        page.row({QString(), QStringLiteral("Élément"), QStringLiteral("Valeur (%1)").arg(unit),
                  QStringLiteral("Écart type (%1)").arg(unit)},
                 bold);
        for (const ReportValue& v : report.values)
            page.row({text(v.name), QString::number(v.element), text(shortNumber(v.value, format)),
                      isSet(v.sd) ? text(shortNumber(v.sd, format)) : QStringLiteral("–")},
                     body);
    }
    page.line(QString(), body, 0.6);

    // The maps, each under its heading, on the page that has room for it.
    const double mapHeight = area.height() * 0.42;
    const double footerHeight = area.height() * 0.04;
    for (const auto& [name, image] :
         {std::pair{QStringLiteral("Carte"), &map},
          std::pair{QStringLiteral("Carte des écarts types"), &sdMap}}) {
        const double scale = std::min(area.width() / image->width(), mapHeight / image->height());
        const double needed = QFontMetricsF(heading, &pdf).height() * 1.3 + image->height() * scale;
        if (page.y() + needed > area.bottom() - footerHeight) {
            pdf.newPage();
            ++pageNumber;
            page.restart();
            footer();
        }
        page.line(name, heading, 0.3);
        page.picture(*image, mapHeight);
    }
    return bytes;
}

} // namespace ai::ui
