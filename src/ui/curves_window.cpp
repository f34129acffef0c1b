#include "ui/curves_window.h"

#include "ui/curve_painter.h"
#include "ui/design_font.h"
#include "ui/offscreen_map.h"
#include "ui/save_through_dialog.h"

#include <QMenu>
#include <QPainter>

namespace ai::ui {

namespace {

constexpr QSize kWindowSize(720, 480);
constexpr QSize kPictureSize(1200, 800);

} // namespace

CurvesWindow::CurvesWindow(FileDialogPort& dialogs, FileStore& files, MessagePort& messages,
                           const NumberFormat& format)
    : dialogs_(dialogs), files_(files), messages_(messages), format_(format),
      menu_(new QMenu(this))
{
    setObjectName(QStringLiteral("Courbes"));
    setWindowTitle(QStringLiteral("Courbes"));
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    resize(kWindowSize);
    setMinimumSize(320, 240);
    setFont(designFont());

    menu_->setObjectName(QStringLiteral("curvesMenu"));
    QAction* csv = menu_->addAction(QString::fromUtf8("Enregistrer la courbe (CSV)"));
    csv->setObjectName(QStringLiteral("saveCurveCsv"));
    connect(csv, &QAction::triggered, this, [this] { saveAs(".csv", curveCsv(curve_)); });
    QAction* png = menu_->addAction(QString::fromUtf8("Enregistrer la courbe (PNG)"));
    png->setObjectName(QStringLiteral("saveCurvePng"));
    connect(png, &QAction::triggered, this,
            [this] { saveAs(".png", pngBytes(picture()).toStdString()); });
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { menu_->popup(mapToGlobal(at)); });
}

void CurvesWindow::showCurve(const HistoryCurve& curve)
{
    curve_ = curve;
    show();
    raise();
    update();
}

QImage CurvesWindow::picture() const
{
    QImage image(kPictureSize, QImage::Format_RGB32);
    QPainter painter(&image);
    // Larger than the window's, for a picture seen at a larger size.
    QFont larger = font();
    larger.setPointSizeF(larger.pointSizeF() * 1.5);
    painter.setFont(larger);
    paintCurve(painter, image.rect(), curve_, format_);
    return image;
}

void CurvesWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paintCurve(painter, rect(), curve_, format_);
}

void CurvesWindow::saveAs(const char* extension, const std::string& bytes)
{
    saveThroughDialog(dialogs_, files_, messages_, "Enregistrer la courbe", extension, bytes,
                      "La courbe n'a pas pu être enregistrée");
}

} // namespace ai::ui
