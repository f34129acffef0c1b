#pragma once

#include "analysis/map_window.h"
#include "ui/map_canvas.h"

#include <QImage>
#include <QWidget>

class QLabel;

namespace ai::ui {

// The stress map window: a persistent drawing surface that starts from the free
// photograph at natural size and keeps every point painted on it, so the map survives
// being covered; three labels over it. A tool window of fixed size with no task-bar entry.
class Form2 : public QWidget, public MapWindow {
    Q_OBJECT

public:
    Form2();

    void show() override;
    void setBackground(const std::string& path) override;
    void drawPoint(float x, float y, Rgb colour) override;
    void setTitle(const std::string& text) override;
    void setMaximumText(const std::string& text) override;
    void setMinimumText(const std::string& text) override;
    void hide() override;

    const QImage& surface() const { return canvas_.surface(); }
    // What the window shows, labels included, as its context menu saves it.
    QImage picture() const;

signals:
    // The user closed the window; hide() does not count.
    void closedByUser();

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void repaintLater();

    MapCanvas canvas_;
    QLabel* label1_ = nullptr;
    QLabel* label2_ = nullptr;
    QLabel* label3_ = nullptr;
    bool repaintRequested_ = false;
};

} // namespace ai::ui
