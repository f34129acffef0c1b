#pragma once

#include "analysis/curves_window.h"
#include "io/file_store.h"
#include "model/number_text.h"
#include "shell/ports.h"

#include <QImage>
#include <QWidget>

class QMenu;

namespace ai::ui {

// The window "Courbes": the last curve asked for, drawn to the window's size, with a context
// menu (right button) that saves it as CSV (the core's table) or as a PNG picture of a fixed
// size painted by the same code. A resizable tool window, like the map's.
class CurvesWindow : public QWidget, public CurvesWindowPort {
    Q_OBJECT

public:
    CurvesWindow(FileDialogPort& dialogs, FileStore& files, MessagePort& messages,
                 const NumberFormat& format);

    void showCurve(const HistoryCurve& curve) override;

    const HistoryCurve& curve() const { return curve_; }
    QMenu& menu() { return *menu_; }
    // The curve as its PNG holds it.
    QImage picture() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void saveAs(const char* extension, const std::string& bytes);

    FileDialogPort& dialogs_;
    FileStore& files_;
    MessagePort& messages_;
    NumberFormat format_;
    HistoryCurve curve_;
    QMenu* menu_;
};

} // namespace ai::ui
