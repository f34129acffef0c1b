#pragma once

#include "shell/ports.h"

#include <QPointer>
#include <QProgressDialog>

#include <memory>

namespace ai::ui {

// A progress dialog with a cancel button over the whole application, shown only once the
// work looks like lasting longer than half a second.
class QtProgress : public ProgressPort {
public:
    explicit QtProgress(QWidget* parent) : parent_(parent) {}

    void start(const std::string& label, int total) override;
    bool advance(int done) override;
    void finish() override;
    void setLabel(const std::string& label) override;

private:
    QPointer<QWidget> parent_;
    std::unique_ptr<QProgressDialog> dialog_;
};

} // namespace ai::ui
