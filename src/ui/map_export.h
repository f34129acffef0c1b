#pragma once

#include "analysis/map_styles.h"
#include "analysis/map_window.h"
#include "analysis/material.h"
#include "io/file_store.h"
#include "model/number_text.h"
#include "shell/main_controller.h"
#include "shell/ports.h"

#include <QObject>

#include <memory>
#include <optional>
#include <string>

class QAction;
class QActionGroup;
class QMenu;

namespace ai::ui {

class Form2;
class OffscreenMap;

// The map window's context menu (right button): the map's style, its picture as PNG or
// SVG, its values as the batch program's two CSV tables, the study's report as PDF. It stands
// between the study and the map window, passing every drawing on, and keeps the study as it was
// when the map was painted, so that the tables hold the values of the map shown even after the mesh
// or the material changed.
class MapExport : public QObject, public MapWindow {
    Q_OBJECT

public:
    MapExport(Form2& window, FileDialogPort& dialogs, FileStore& files, MessagePort& messages);
    ~MapExport() override;

    // The controller whose study the map shows.
    void watch(const MainController& controller) { controller_ = &controller; }

    void show() override;
    void setBackground(const std::string& path) override;
    void drawPoint(float x, float y, Rgb colour) override;
    void drawLegendPoint(float x, float y, Rgb colour) override;
    void setTitle(const std::string& text) override;
    void setMaximumText(const std::string& text) override;
    void setMinimumText(const std::string& text) override;
    void hide() override;

    QMenu& menu() { return *menu_; }

signals:
    // The user chose the scale of a sequence's maps: common to every step, or the step's own.
    void scaleChosen(bool common);

private:
    // Shows the map of the study in a style, and reads the pointer in its terms.
    void showStyle(MapStyle style);
    // A correlated sequence of two steps or more is shown.
    bool showsSequence() const;
    void savePicture();
    void saveSvg();
    // The same map painted with the standard deviation of each value, off screen.
    void saveUncertaintyPicture();
    void saveReport();
    // The map of the standard deviations of the study shown; nothing, with the reason given
    // to the user, when it cannot be computed.
    std::unique_ptr<OffscreenMap> uncertaintyMap();
    void saveNodeValues();
    void saveElementValues();
    // The material of the study the map shows; nothing without a study.
    std::optional<Material> studyMaterial() const;
    // Asks for a name, adds the extension it lacks and writes the bytes whole, or says why not.
    void saveAs(const char* title, const char* extension, const std::string& bytes,
                const char* failure);

    Form2& window_;
    FileDialogPort& dialogs_;
    FileStore& files_;
    MessagePort& messages_;
    const MainController* controller_ = nullptr;
    QMenu* menu_;
    QActionGroup* styles_ = nullptr;
    QAction* commonScale_ = nullptr;
    QAction* stepScale_ = nullptr;
    // The style shown; a sequence keeps it from step to step.
    MapStyle style_ = MapStyle::Points;

    // The study the map was painted from, its material texts and their number format.
    std::unique_ptr<ProjectState> study_;
    std::string young_;
    std::string poisson_;
    NumberFormat format_;
    int subset_ = 31; // the correlation's subsets when the map was painted
    // The background of the map shown, for the map of standard deviations.
    std::string background_;
};

} // namespace ai::ui
