#include "ui/map_export.h"

#include "analysis/results_csv.h"
#include "analysis/uncertainty_map.h"
#include "shell/sequence_maps.h"
#include "ui/form2.h"
#include "ui/map_svg.h"
#include "ui/offscreen_map.h"
#include "ui/save_through_dialog.h"
#include "ui/study_report_pdf.h"

#include <QAction>
#include <QActionGroup>
#include <QBuffer>
#include <QMenu>

namespace ai::ui {

namespace {

constexpr const char* kValuesNotSaved = "Les valeurs n'ont pas pu être enregistrées";

} // namespace

MapExport::MapExport(Form2& window, FileDialogPort& dialogs, FileStore& files,
                     MessagePort& messages)
    : window_(window), dialogs_(dialogs), files_(files), messages_(messages),
      menu_(new QMenu(&window))
{
    menu_->setObjectName(QStringLiteral("mapMenu"));
    auto add = [this](const char* name, const char* caption, void (MapExport::*save)()) {
        QAction* action = menu_->addAction(QString::fromUtf8(caption));
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, save);
        return action;
    };
    // The map of dots first; each new map starts with it.
    styles_ = new QActionGroup(menu_);
    const auto addStyle = [this](const char* name, const char* caption, MapStyle style) {
        QAction* action = menu_->addAction(QString::fromUtf8(caption));
        action->setObjectName(QString::fromLatin1(name));
        action->setCheckable(true);
        action->setData(static_cast<int>(style));
        styles_->addAction(action);
        connect(action, &QAction::triggered, this, [this, style] { showStyle(style); });
        return action;
    };
    QAction* pointsStyle = addStyle("pointsStyle", "Carte par points", MapStyle::Points);
    pointsStyle->setChecked(true);
    QAction* signedStyle = addStyle("signedStyle", "Carte signée", MapStyle::Signed);
    QAction* continuousStyle = addStyle("continuousStyle", "Carte continue", MapStyle::Continuous);
    // A sequence's maps share one scale, so that colours compare across its steps, or not:
    // a choice the menu holds only while a sequence is shown.
    auto* scales = new QActionGroup(menu_);
    const auto addScale = [this, scales](const char* name, const char* caption, bool common) {
        auto* action = new QAction(QString::fromUtf8(caption), menu_);
        action->setObjectName(QString::fromLatin1(name));
        action->setCheckable(true);
        scales->addAction(action);
        connect(action, &QAction::triggered, this, [this, common] { emit scaleChosen(common); });
        return action;
    };
    commonScale_ = addScale("commonScale", "Échelle commune à toutes les étapes", true);
    stepScale_ = addScale("stepScale", "Échelle de l'étape", false);
    QAction* saves = menu_->addSeparator();
    add("savePicture", "Enregistrer la carte (PNG)", &MapExport::savePicture);
    add("saveSvg", "Enregistrer la carte (SVG)", &MapExport::saveSvg);
    QAction* sdPicture =
        add("saveUncertaintyPicture", "Enregistrer la carte des incertitudes (PNG)",
            &MapExport::saveUncertaintyPicture);
    QAction* report = add("saveReport", "Rapport de l'étude (PDF)", &MapExport::saveReport);
    QAction* nodes = add("saveNodeValues", "Enregistrer les valeurs aux noeuds (CSV)...",
                         &MapExport::saveNodeValues);
    QAction* elements = add("saveElementValues", "Enregistrer les valeurs des éléments (CSV)...",
                            &MapExport::saveElementValues);
    // The tables need a study; the picture is whatever the window shows.
    connect(menu_, &QMenu::aboutToShow, this,
            [this, sdPicture, report, nodes, elements, signedStyle, continuousStyle, saves] {
                for (QAction* action :
                     {sdPicture, report, nodes, elements, signedStyle, continuousStyle})
                    action->setEnabled(study_ != nullptr);
                menu_->removeAction(commonScale_);
                menu_->removeAction(stepScale_);
                if (showsSequence()) {
                    menu_->insertActions(saves, {commonScale_, stepScale_});
                    (controller_->commonMapScale() ? commonScale_ : stepScale_)->setChecked(true);
                }
            });
    window_.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&window_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { menu_->popup(window_.mapToGlobal(at)); });
}

MapExport::~MapExport() = default;

void MapExport::show() { window_.show(); }

void MapExport::setBackground(const std::string& path)
{
    // A new map starts: the study has its new nodal values and still its material texts.
    if (controller_) {
        study_ = std::make_unique<ProjectState>(controller_->state());
        young_ = controller_->youngText();
        poisson_ = controller_->poissonText();
        format_ = controller_->numberFormat();
        subset_ = controller_->subsetSize();
    }
    background_ = path;
    window_.setBackground(path);
    // Each new map starts with the dots, but a sequence keeps its style from step to step.
    if (!showsSequence())
        style_ = MapStyle::Points;
    for (QAction* action : styles_->actions())
        action->setChecked(action->data().toInt() == static_cast<int>(style_));
    showStyle(style_);
}

bool MapExport::showsSequence() const
{
    return controller_ != nullptr && controller_->sequence().steps.size() >= 2;
}

void MapExport::drawPoint(float x, float y, Rgb colour) { window_.drawPoint(x, y, colour); }
void MapExport::drawLegendPoint(float x, float y, Rgb colour)
{
    window_.drawLegendPoint(x, y, colour);
}
void MapExport::setTitle(const std::string& text) { window_.setTitle(text); }
void MapExport::setMaximumText(const std::string& text) { window_.setMaximumText(text); }
void MapExport::setMinimumText(const std::string& text) { window_.setMinimumText(text); }
void MapExport::hide() { window_.hide(); }

void MapExport::showStyle(MapStyle style)
{
    const auto material = studyMaterial();
    if (!material)
        return;
    const auto scale =
        style != MapStyle::Points && showsSequence() && controller_->commonMapScale()
            ? styledExtremesOverSteps(*study_, study_->NodeCount, controller_->sequence().steps,
                                      *material, study_->StressComponent, study_->PlaneStressFlag,
                                      style, format_)
            : std::nullopt;
    auto map = buildStyledMap(*study_, study_->NodeCount, *material, study_->StressComponent,
                              study_->PlaneStressFlag, style, format_, scale);
    if (!map) {
        messages_.message(std::string(kOverflowRefusal));
        return;
    }
    style_ = style;
    window_.showStyled(style == MapStyle::Points ? std::nullopt : map);
    window_.setReadout(std::move(map), format_);
}

void MapExport::saveSvg()
{
    saveAs("Enregistrer l'image de la carte", ".svg",
           mapSvg(window_.canvas(), window_.texts()).toStdString(),
           "L'image n'a pas pu être enregistrée");
}

void MapExport::savePicture()
{
    saveAs("Enregistrer l'image de la carte", ".png", pngBytes(window_.picture()).toStdString(),
           "L'image n'a pas pu être enregistrée");
}

std::unique_ptr<OffscreenMap> MapExport::uncertaintyMap()
{
    const auto material = studyMaterial();
    if (!material)
        return nullptr;
    const StudyUncertainty uncertainty = studyUncertainty(
        *study_, study_->NodeCount, *material, study_->StressComponent, study_->PlaneStressFlag);
    const auto map = buildUncertaintyMap(*study_, study_->NodeCount, uncertainty,
                                         study_->StressComponent, format_);
    if (!map) {
        messages_.message(std::string(kOverflowRefusal));
        return nullptr;
    }
    auto canvas = std::make_unique<OffscreenMap>();
    paintStressMap(*map, *canvas, background_);
    return canvas;
}

void MapExport::saveUncertaintyPicture()
{
    if (const auto canvas = uncertaintyMap())
        saveAs("Enregistrer la carte des incertitudes", ".png", canvas->png().toStdString(),
               "La carte des incertitudes n'a pas pu être enregistrée");
}

void MapExport::saveReport()
{
    const auto material = studyMaterial();
    const auto sd = material ? uncertaintyMap() : nullptr;
    if (!sd)
        return;
    // The table gives the values with their physical sign, as the readable maps do.
    const auto values =
        buildStyledMap(*study_, study_->NodeCount, *material, study_->StressComponent,
                       study_->PlaneStressFlag, MapStyle::Signed, format_);
    if (!values) {
        messages_.message(std::string(kOverflowRefusal));
        return;
    }
    const StudyReport report = summariseStudy(
        *study_, study_->NodeCount, *values, study_->StressComponent, study_->PlaneStressFlag,
        *material, reportPhotographs(study_->FreeImageFile, study_->LoadImageFile),
        CorrelationChoices{.subset = subset_});
    saveAs("Enregistrer le rapport de l'étude", ".pdf",
           studyReportPdf(report, format_, window_.picture(), sd->picture(), reportDate())
               .toStdString(),
           "Le rapport n'a pas pu être enregistré");
}

void MapExport::saveNodeValues()
{
    const auto material = studyMaterial();
    if (!material)
        return;
    saveAs("Enregistrer les valeurs aux noeuds", ".csv",
           nodeResultsCsv(*study_, study_->NodeCount, *material, study_->StressComponent,
                          study_->PlaneStressFlag),
           kValuesNotSaved);
}

void MapExport::saveElementValues()
{
    const auto material = studyMaterial();
    if (!material)
        return;
    saveAs("Enregistrer les valeurs des éléments", ".csv",
           elementResultsCsv(*study_, *material, study_->StressComponent, study_->PlaneStressFlag),
           kValuesNotSaved);
}

std::optional<Material> MapExport::studyMaterial() const
{
    if (!study_)
        return std::nullopt;
    // The map exists, so the study accepted this material.
    return readMaterial(young_, poisson_, study_->PlaneStressFlag, format_).material;
}

void MapExport::saveAs(const char* title, const char* extension, const std::string& bytes,
                       const char* failure)
{
    saveThroughDialog(dialogs_, files_, messages_, title, extension, bytes, failure);
}

} // namespace ai::ui
