#pragma once

#include "analysis/curves_window.h"
#include "analysis/history.h"
#include "analysis/map_window.h"
#include "correlation/photograph_source.h"
#include "io/file_store.h"
#include "model/colour.h"
#include "model/number_text.h"
#include "model/picking.h"
#include "model/project_state.h"
#include "render/image_view.h"
#include "render/views_redraw.h"
#include "shell/load_sequence.h"
#include "shell/ports.h"
#include "shell/scroll_bars.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ai {

struct MapRange;
struct StudyRequest;

// Everything the core needs from the platform.
struct Platform {
    MainWindowPort& window;
    ImageView& picture1;
    ImageView& picture2;
    MapWindow& map;
    MessagePort& messages;
    FileDialogPort& dialogs;
    FileStore& files;
    PhotographSource& photographs;
    ProgressPort& progress;
    NumberDialogPort& numbers;
    CurvesWindowPort& curves;
};

struct Settings {
    NumberFormat format;            // the user's decimal separator
    Rgb highlight{0, 120, 215};     // the system's colour for selected items: triangle edges
};

// The main window's behaviour: one handler per user action, named after its control
// and its event, over the one study in memory. The status text is the interaction mode.
class MainController {
public:
    MainController(const Platform& platform, const Settings& settings);

    const ProjectState& state() const { return state_; }
    const std::string& statusLine() const { return status_; }
    bool isVisible(Panel panel) const { return visible_[static_cast<std::size_t>(panel)]; }
    int barValue(Bar bar) const { return bars_[bar]; }
    const std::string& youngText() const { return young_; }
    const std::string& poissonText() const { return poisson_; }
    const NumberFormat& numberFormat() const { return settings_.format; }
    bool assistedLocation() const { return assisted_; }
    int subsetSize() const { return subset_; }
    const LoadSequence& sequence() const { return sequence_; }
    const HistorySelection& curveSelection() const { return curveSelection_; }
    HistoryQuantity curveQuantity() const { return curveQuantity_; }

    // Menu "Import d'images"
    void imgcharge();
    void imagelibre();
    void imgsequence();

    // The load step selector, moved by the user to step 1 to N.
    void stepSelected(int step);
    // The map window's scale: common to every step of a sequence, or the step's own.
    void commonScaleChosen(bool common);
    bool commonMapScale() const { return commonScale_; }

    // Menu "Maillage"
    void effder();
    void effmesh();
    void eff();
    void node();
    void manumesh();
    void mesh();
    void automesh();
    void save();
    void open();
    void grilleregion();
    void enregistrersequence();
    void ouvrirsequence();

    // Menu "Etude"
    void sxxctrteplane();
    void syyctrteplane();
    void sxyctrteplane();
    void vonmiesectrteplane();
    void sxxdefplane();
    void syydefplane();
    void sxydefplane();
    void vonmisesdefplane();

    // Menu "Arret" (also the Del key)
    void stopcmd();

    // Menu "Corrélation"
    void localisercorrelation();
    void localisationassistee(bool checked);
    void tailleimagettes(int pixels);

    // Menu "Courbes": what to follow, picked on the free view; the quantity; its curve.
    void courbesnoeuds();
    void courbeselements();
    void jaugevirtuelle();
    void extensometrevirtuel();
    void grandeurcourbe(HistoryQuantity quantity);
    void affichercourbe();

    // "Valider" buttons of Frame3 and Frame4
    void command6Click();
    void command7Click();

    // A bar's value changed (by the user); the core's own moves report nothing back.
    void barChanged(Bar bar, int value);

    // The material panel's text boxes
    void text1Changed(const std::string& text);
    void text2Changed(const std::string& text);

    // Pointer events, positions in view units from the view's origin
    void picture1Pressed(float X, float Y);
    void picture1Moved(float X, float Y);
    void picture1Released();
    void picture2Pressed(float X, float Y);
    void picture2Moved(float X, float Y);
    void picture2Released();
    void formMoved();
    // The views' zoom, screen pixels a photograph pixel: a click catches a node within the
    // same distance on the screen at every zoom.
    void setViewZoom(double zoom);
    void frame3Moved();
    void label7Moved();
    void label5Moved();

    // The user closed the map window.
    void mapWindowClosed();

    // The redraw of both views.
    void majgraphique();

private:
    void setStatus(std::string_view text);
    void setVisible(Panel panel, bool visible);
    void setBar(Bar bar, int value);
    // The imported file's path, or nothing when the user cancelled or it cannot be read.
    std::optional<std::string> importInto(ImageView& view, std::string& rememberedFile);
    bool importFile(ImageView& view, std::string& rememberedFile, const std::string& path);
    void reloadViews();

    // Node creation, manual meshing and dragging
    void pickForTriangle(float X, float Y);
    void catchNode(bool onFreeView, float X, float Y);
    void moveCaughtNode(bool onFreeView, float X, float Y);
    void dropNode(bool onFreeView);
    void refuseFullTable(int limit, std::string_view what);

    // Mesh generators
    void mailleurautomatique();
    void majautomesh();

    // The grid over a region drawn on the free view
    void drawRegionBand();
    void finishRegion();
    void restartRegion();

    // The correlation
    struct GreyPair {
        std::shared_ptr<const GreyImage> free;
        std::shared_ptr<const GreyImage> loaded;
    };
    std::optional<GreyPair> correlationPhotographs(bool withLoaded = true);
    void refineLocation(int node);

    // The study
    void runStudyCommand(Component component, bool planeStress);
    void RunStudy();

    // The curves' picks on the free view; false when no such pick is under way.
    void startCurvePick(HistorySelection::Kind kind, std::string_view prompt);
    bool pickForCurve(float X, float Y);
    void moveCurvePick(float X, float Y);
    void finishGauge();
    bool drawsCurvePicks() const;
    void drawCurvePicks();
    // The load sequence
    void startSequence(std::vector<std::string> files);
    // Shows step `step`'s photograph and the nodes' positions found at that step, moves the
    // selector there and redraws the views, and the map when one is shown.
    void selectStep(int step);
    void showStepSelector();
    void correlateLoadedSequence();
    // A loaded position set by hand at the selected step goes into that step's record.
    void keepInStep(int node);
    // The study at every correlated step: a refusal naming the step, or none with the
    // extremes of every step's nodal values.
    std::string studyAtEveryStep(int nodeCount, const StudyRequest& request,
                                 MapRange& extremes) const;

    Platform platform_;
    Settings settings_;
    ProjectState state_;
    ViewsRedraw views_; // what the two views show
    std::string status_;
    std::array<bool, 4> visible_{};
    BarValues bars_;
    std::string young_;
    std::string poisson_;
    // Corners picked so far for the triangle under construction.
    std::array<int, 3> picks_{};
    // Corners of the region being drawn for a grid, in view units.
    std::array<float, 4> region_{};
    // Half-side of the pick square in units, for the views' zoom.
    float pickTolerance_ = PickTolerance;
    // The menu "Corrélation"'s choices: assisted location, the subsets' side in pixels.
    bool assisted_ = false;
    int subset_ = 31;
    // The loaded photographs, step by step.
    LoadSequence sequence_;
    // What the menu "Courbes" follows, and which quantity.
    HistorySelection curveSelection_;
    HistoryQuantity curveQuantity_ = HistoryQuantity::Exx;
    bool commonScale_ = true;
    bool mapShown_ = false; // a study's map is in the window, to redraw for another step
};

} // namespace ai
