#include "work_progress.h"

#include "text/localisation.h"

#include <QApplication>
#include <QProgressDialog>

namespace verdan {

TWorkProgress::TWorkProgress(QWidget* parent, const QString& label)
    : dialog_(new QProgressDialog(label, Translate(QStringLiteral("Cancel")), 0, 0, parent)) {
    dialog_->setWindowModality(Qt::WindowModal);
    dialog_->setMinimumDuration(kShowAfterMs);
    dialog_->setAutoReset(false);
    dialog_->setAutoClose(false);
    dialog_->setValue(0);
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

TWorkProgress::~TWorkProgress() {
    QApplication::restoreOverrideCursor();
    delete dialog_;
}

bool TWorkProgress::Step(int done, int total) {
    if (dialog_->maximum() != total)
        dialog_->setMaximum(std::max(total, 1));
    // Setting the value shows the dialog once the minimum duration has passed and runs pending events.
    dialog_->setValue(std::min(done, std::max(total, 1)));
    QApplication::processEvents();
    return !dialog_->wasCanceled();
}

bool TWorkProgress::Cancelled() const {
    return dialog_->wasCanceled();
}

} // namespace verdan
