#include "editor/app/work_progress.h"

namespace {

constexpr int kShownAfterMs = 1000;

} // namespace

WorkProgress::WorkProgress(const QString& label, QWidget* parent)
    : dialog_(label, QStringLiteral("Annuler"), 0, 0, parent) {
    dialog_.setWindowTitle(QStringLiteral("ZortaPad"));
    dialog_.setWindowModality(Qt::WindowModal);
    dialog_.setMinimumDuration(kShownAfterMs);
    dialog_.setAutoReset(false);
}

bool WorkProgress::report(int done, int total) {
    if (dialog_.maximum() != total) dialog_.setMaximum(total);
    dialog_.setValue(done);
    return !dialog_.wasCanceled();
}
