#pragma once

#include <QPushButton>

namespace ai::ui {

// A push button whose caption wraps onto several lines when it is wider than the
// button, as the small labelled buttons of the grid panel need.
class WrappingButton : public QPushButton {
    Q_OBJECT

public:
    WrappingButton(const QString& caption, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace ai::ui
