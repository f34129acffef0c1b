#include "batch/batch_run.h"

#include "analysis/map_styles.h"
#include "analysis/results_csv.h"
#include "analysis/study.h"
#include "analysis/study_report.h"
#include "analysis/uncertainty_map.h"
#include "batch/mesh_file_check.h"
#include "batch/points_file.h"
#include "correlation/sequence_correlation.h"
#include "correlation/study_correlation.h"
#include "io/mesh_file_reader.h"
#include "io/mesh_file_writer.h"
#include "mesh/automatic_mesher.h"
#include "mesh/region_grid.h"
#include "mesh/structured_grid.h"
#include "ui/offscreen_map.h"
#include "ui/study_report_pdf.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <utility>
#include <vector>

namespace ai::batch {

namespace {

// A material text with either separator, in the format the study reads.
std::string withDecimal(std::string text, const NumberFormat& format)
{
    const auto comma = text.find(',');
    const auto point = text.find('.');
    if ((comma == std::string::npos) != (point == std::string::npos))
        text[comma != std::string::npos ? comma : point] = format.decimal;
    return text;
}

std::string quoted(const std::string& text) { return "« " + text + " »"; }

// The name of a load step's file: the step, zero-padded to the width of the last one and at
// least two digits, before the extension ("map-03.png").
std::string stepFileName(const std::string& path, int step, int steps)
{
    const std::size_t width = std::max<std::size_t>(2, std::to_string(steps).size());
    std::string number = std::to_string(step);
    number.insert(0, width - number.size(), '0');
    const std::filesystem::path name(path);
    return (name.parent_path() / (name.stem().string() + "-" + number + name.extension().string()))
        .string();
}

class Run {
public:
    Run(const Options& options, const NumberFormat& format, FileStore& files,
        PhotographSource& photographs, std::ostream& errors)
        : options_(options), format_(format), files_(files), photographs_(photographs),
          errors_(errors), state_(std::make_unique<ProjectState>())
    {
    }

    int operator()()
    {
        if (!read() || !grid() || !correlate())
            return kExitRefused;
        if (steps_.empty()) {
            if (!study() || !outputs() || !save() ||
                !history({1, loadedImage(), found_, notFound_}))
                return kExitRefused;
        } else {
            for (std::size_t k = 0; k < steps_.size(); ++k) {
                step_ = static_cast<int>(k) + 1;
                applyStep(*state_, steps_[k]);
                const StudyCorrelationOutcome& counts = steps_[k].outcome;
                if (!study() || !outputs() || !save() ||
                    !history({step_, loadedImage(), static_cast<int>(counts.found.size()),
                              static_cast<int>(counts.notFound.size())}))
                    return kExitRefused;
            }
        }
        if (!options_.historyCsv.empty())
            pending_.emplace_back(options_.historyCsv, std::move(history_));
        // Every output is made before the first is written: a refusal leaves none behind.
        for (const auto& [path, bytes] : pending_)
            if (!write(path, bytes))
                return kExitRefused;
        return kExitDone;
    }

private:
    bool refuse(const std::string& message)
    {
        errors_ << "analyse-image-batch : " << message << '\n';
        return false;
    }

    bool read()
    {
        if (!options_.pointsFile.empty())
            return readPoints();
        const std::string& path = options_.meshFile;
        const auto bytes = files_.read(path, kMaxMeshFileBytes);
        if (!bytes)
            return refuse("impossible de lire le fichier de maillage " + quoted(path) + ".");
        if (!hasMeshCounts(*bytes))
            return refuse(quoted(path) + " n'est pas un fichier de maillage : sa section [init] "
                                         "ne donne ni le nombre de noeuds ni celui d'éléments.");
        const auto counts = readMeshFile(*bytes, *state_);
        if (!counts)
            return refuse("le fichier de maillage " + quoted(path) +
                          " est endommagé : un nombre de sa section [init] n'est pas un nombre.");
        errors_ << formatWhole(counts->nodes) << " noeuds et " << formatWhole(counts->elements)
                << " élément(s)\n";
        if (auto problem = incompleteEntry(*bytes, *counts))
            return refuse("le fichier de maillage " + quoted(path) +
                          " est endommagé : " + *problem);
        return true;
    }

    bool readPoints()
    {
        const std::string& path = options_.pointsFile;
        const auto bytes = files_.read(path, kMaxPointsFileBytes);
        if (!bytes)
            return refuse("--points : impossible de lire la liste de points " + quoted(path) +
                          " (ou elle dépasse 1 Mio).");
        if (auto problem = readPointsFile(*bytes, *state_))
            return refuse("--points : la liste " + quoted(path) + " est refusée : " + *problem);
        errors_ << formatWhole(state_->NodeCount) << " noeuds et 0 élément(s)\n";
        return true;
    }

    bool grid()
    {
        if (options_.grid) {
            const GridBars& bars = *options_.grid;
            state_->GridBaseNodeCount = state_->NodeCount;
            state_->GridBaseElementCount = state_->ElementCount;
            const GridOutcome outcome = rebuildStructuredGrid(*state_, bars);
            if (!outcome.built)
                return refuse("--grid : la structure maillée de " + formatWhole(bars.columns) +
                              " x " + formatWhole(bars.rows) + " noeuds ajouterait " +
                              formatWhole(gridNodeCount(bars)) + " noeuds et " +
                              formatWhole(gridElementCount(bars)) +
                              " éléments ; l'étude ne peut plus en prendre que " +
                              formatWhole(outcome.nodeRoom) + " et " +
                              formatWhole(outcome.elementRoom) + " (1000 de chaque au plus).");
        }
        if (options_.region && !gridRegion(*options_.region))
            return false;
        if (options_.automeshDistance)
            buildAutomaticMesh(*state_, *options_.automeshDistance);
        return true;
    }

    bool gridRegion(const GridRegion& grid)
    {
        const GridBars bars = regionGridBars(grid.region, grid.step);
        if (appendGrid(*state_, bars))
            return true;
        const int finest = finestFittingStep(*state_, grid.region);
        return refuse("--grid-region : la grille de " + formatWhole(bars.columns) + " x " +
                      formatWhole(bars.rows) + " noeuds ajouterait " +
                      formatWhole(gridNodeCount(bars)) + " noeuds et " +
                      formatWhole(gridElementCount(bars)) +
                      " éléments ; l'étude ne peut plus en prendre que " +
                      formatWhole(kMaxNodes - state_->NodeCount) + " et " +
                      formatWhole(kMaxElements - state_->ElementCount) +
                      " (1000 de chaque au plus). " +
                      (finest == 0 ? std::string("Aucun pas ne convient sur ce rectangle.")
                                   : "Le plus petit pas qui convient est de " +
                                         formatWhole(finest) + " pixels."));
    }

    bool correlate()
    {
        if (!options_.correlate)
            return true;
        const auto free = photograph("--free-image", options_.freeImage);
        if (!free)
            return false;
        const CorrelationSettings settings{.subset = options_.subset,
                                           .searchRadius = options_.search};
        if (options_.loadedImages.size() > 1)
            return correlateSequence(*free, settings);
        const auto loaded = photograph("--loaded-image", options_.loadedImages.front());
        if (!loaded)
            return false;
        const auto outcome = correlateStudyNodes(*state_, state_->NodeCount, *free, *loaded,
                                                 settings, [](int, int) { return true; });
        if (!outcome)
            return refuse("la corrélation n'a pas abouti.");
        errors_ << correlationCountsText(*outcome) << '\n';
        found_ = static_cast<int>(outcome->found.size());
        notFound_ = static_cast<int>(outcome->notFound.size());
        return true;
    }

    bool correlateSequence(const GreyImage& free, const CorrelationSettings& settings)
    {
        auto sequence =
            ai::correlateSequence(*state_, state_->NodeCount, free, options_.loadedImages,
                                  photographs_, settings, [](int, int, int, int) { return true; });
        if (!sequence)
            return refuse("la corrélation n'a pas abouti.");
        if (sequence->unreadableStep > 0) {
            step_ = sequence->unreadableStep;
            const std::string& path = loadedImage();
            const std::string why = photographs_.failure(path);
            return refuse("--loaded-image : impossible de lire la photographie de l'étape " +
                          formatWhole(step_) + ", " + quoted(path) + "." +
                          (why.empty() ? "" : " " + why));
        }
        steps_ = std::move(sequence->steps);
        for (std::size_t k = 0; k < steps_.size(); ++k)
            errors_ << "Étape " << formatWhole(static_cast<long long>(k) + 1) << " : "
                    << correlationCountsText(steps_[k].outcome) << '\n';
        return true;
    }

    // The loaded photograph of the step at hand; empty without a correlation.
    const std::string& loadedImage() const
    {
        static const std::string none;
        const auto& images = options_.loadedImages;
        return images.empty() ? none : images[static_cast<std::size_t>(std::max(step_, 1) - 1)];
    }

    // A file's name as the step at hand writes it.
    std::string output(const std::string& path) const
    {
        return steps_.empty() ? path : stepFileName(path, step_, static_cast<int>(steps_.size()));
    }

    bool history(const HistoryStep& step)
    {
        if (options_.historyCsv.empty())
            return true;
        if (history_.empty())
            history_ = historyCsvHeader(state_->NodeCount, state_->ElementCount,
                                        options_.gauge.has_value());
        const auto material =
            readMaterial(young_, poisson_, options_.planeStress, format_).material;
        std::optional<GaugeRectangle> gauge;
        if (const auto& g = options_.gauge)
            gauge = GaugeRectangle{{g->x0 * kTwipsPerPixel, g->y0 * kTwipsPerPixel},
                                   {g->x1 * kTwipsPerPixel, g->y1 * kTwipsPerPixel}};
        history_ += historyCsvRow(*state_, state_->NodeCount, step, *material, *options_.study,
                                  options_.planeStress, gauge);
        return true;
    }

    std::shared_ptr<const GreyImage> photograph(const char* option, const std::string& path)
    {
        auto grey = photographs_.greyLevels(path);
        if (!grey || grey->empty()) {
            const std::string why = photographs_.failure(path);
            refuse(std::string(option) + " : impossible de lire la photographie " + quoted(path) +
                   "." + (why.empty() ? "" : " " + why));
            return nullptr;
        }
        return grey;
    }

    bool study()
    {
        if (!options_.study)
            return true;
        if (state_->ElementCount == 0)
            return refuse("--study : le maillage n'a aucun élément, il n'y a rien à calculer.");
        young_ = withDecimal(options_.young, format_);
        poisson_ = withDecimal(options_.poisson, format_);
        outcome_ = computeStudy(*state_, state_->NodeCount,
                                {young_, poisson_, *options_.study, options_.planeStress, format_});
        if (!outcome_.refusal.empty())
            return refuse(outcome_.refusal);
        if (outcome_.map.unusable)
            return refuse(std::string(kUnusableMeshMessage));
        state_->StressComponent = *options_.study;
        state_->PlaneStressFlag = options_.planeStress;
        for (int n = 1; n <= state_->NodeCount; ++n)
            state_->NodeSums[static_cast<std::size_t>(n)] =
                outcome_.sums[static_cast<std::size_t>(n)];
        return true;
    }

    // The step's outputs, made in memory.
    bool outputs()
    {
        auto& files = pending_;
        // The study accepted this material.
        const auto material =
            options_.study ? readMaterial(young_, poisson_, options_.planeStress, format_).material
                           : std::nullopt;
        if (!options_.nodesCsv.empty())
            files.emplace_back(output(options_.nodesCsv),
                               material ? nodeResultsCsv(*state_, state_->NodeCount, *material,
                                                         *options_.study, options_.planeStress)
                                        : nodeResultsCsv(*state_, state_->NodeCount));
        if (!options_.elementsCsv.empty())
            files.emplace_back(
                output(options_.elementsCsv),
                elementResultsCsv(*state_, *material, *options_.study, options_.planeStress));
        const bool report = !options_.report.empty();
        ui::OffscreenMap canvas;
        if (!options_.mapPng.empty() || !options_.mapSvg.empty() || report) {
            if (!paintOn(canvas, outcome_.map))
                return false;
            if (options_.mapStyle != MapStyle::Points) {
                auto styled = styledMap(*material, options_.mapStyle);
                if (!styled)
                    return refuse(std::string(kOverflowRefusal));
                canvas.showStyled(std::move(styled));
            }
            if (!options_.mapPng.empty())
                files.emplace_back(output(options_.mapPng), canvas.png().toStdString());
            if (!options_.mapSvg.empty())
                files.emplace_back(output(options_.mapSvg), canvas.svg().toStdString());
        }
        ui::OffscreenMap sdCanvas;
        if (!options_.sdMapPng.empty() || report) {
            const auto map = sdMap(*material);
            if (!map)
                return refuse(std::string(kOverflowRefusal));
            if (!paintOn(sdCanvas, *map))
                return false;
            if (!options_.sdMapPng.empty())
                files.emplace_back(output(options_.sdMapPng), sdCanvas.png().toStdString());
        }
        if (report) {
            // The table gives the values with their physical sign, as the readable maps do.
            const auto values = styledMap(*material, MapStyle::Signed);
            if (!values)
                return refuse(std::string(kOverflowRefusal));
            const StudyReport summary = summariseStudy(
                *state_, state_->NodeCount, *values, *options_.study, options_.planeStress,
                *material, ui::reportPhotographs(background(), loadedImage()),
                CorrelationChoices{options_.subset, options_.search});
            files.emplace_back(output(options_.report),
                               ui::studyReportPdf(summary, format_, canvas.picture(),
                                                  sdCanvas.picture(), ui::reportDate())
                                   .toStdString());
        }
        return true;
    }

    // The map of the standard deviations of the study's values.
    std::optional<StressMap> sdMap(const Material& material) const
    {
        const StudyUncertainty uncertainty = studyUncertainty(
            *state_, state_->NodeCount, material, *options_.study, options_.planeStress);
        return buildUncertaintyMap(*state_, state_->NodeCount, uncertainty, *options_.study,
                                   format_);
    }

    std::optional<StyledMap> styledMap(const Material& material, MapStyle style) const
    {
        return buildStyledMap(*state_, state_->NodeCount, material, *options_.study,
                              options_.planeStress, style, format_);
    }

    // The maps' photograph: --image, else --free-image.
    const std::string& background() const
    {
        return options_.image.empty() ? options_.freeImage : options_.image;
    }

    // The map painted over the photograph.
    bool paintOn(ui::OffscreenMap& canvas, const StressMap& map)
    {
        paintStressMap(map, canvas, background());
        if (!canvas.backgroundRead())
            return refuse(std::string(options_.image.empty() ? "--free-image" : "--image") +
                          " : impossible de lire la photographie " + quoted(background()) + ".");
        return true;
    }

    bool save()
    {
        if (options_.save.empty())
            return true;
        pending_.emplace_back(output(options_.save),
                              writeMeshFile(*state_, state_->NodeCount, format_));
        return true;
    }

    bool write(const std::string& path, const std::string& bytes)
    {
        const std::string reason = files_.writeAtomically(path, bytes);
        if (!reason.empty())
            return refuse("impossible d'écrire " + quoted(path) + " : " + reason + ".");
        return true;
    }

    const Options& options_;
    NumberFormat format_;
    FileStore& files_;
    PhotographSource& photographs_;
    std::ostream& errors_;
    std::unique_ptr<ProjectState> state_;
    std::string young_;
    std::string poisson_;
    StudyOutcome outcome_;
    // The load steps of a sequence, and the one at hand (1 to N); none for a single pair.
    std::vector<SequenceStep> steps_;
    int step_ = 0;
    int found_ = 0;
    int notFound_ = 0;
    std::string history_;
    std::vector<std::pair<std::string, std::string>> pending_;
};

} // namespace

int runBatch(const Options& options, const NumberFormat& format, FileStore& files,
             PhotographSource& photographs, std::ostream& errors)
{
    return Run(options, format, files, photographs, errors)();
}

} // namespace ai::batch
