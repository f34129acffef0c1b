#include "ui/qt_progress.h"

namespace ai::ui {

namespace {

constexpr int kShownAfterMs = 500;

} // namespace

void QtProgress::start(const std::string& label, int total)
{
    dialog_ = std::make_unique<QProgressDialog>(QString::fromStdString(label),
                                                QStringLiteral("Annuler"), 0, total, parent_);
    dialog_->setWindowTitle(QStringLiteral("Analyse d'image"));
    // Nothing else may act on the study while the work runs inside its handler.
    dialog_->setWindowModality(Qt::ApplicationModal);
    dialog_->setMinimumDuration(kShownAfterMs);
    // A cancel stays known until the work asks, even at the last step.
    dialog_->setAutoReset(false);
    dialog_->setAutoClose(false);
    dialog_->setValue(0);
}

bool QtProgress::advance(int done)
{
    if (!dialog_)
        return true;
    dialog_->setValue(done);
    return !dialog_->wasCanceled();
}

void QtProgress::finish() { dialog_.reset(); }

void QtProgress::setLabel(const std::string& label)
{
    if (dialog_)
        dialog_->setLabelText(QString::fromStdString(label));
}

} // namespace ai::ui
