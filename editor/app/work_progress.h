#pragma once
// How far long work has come, in a box with "Annuler" over the window that waits: it shows only once the
// work has run for a second, so that quick work shows nothing, and it lets the events of the program run
// meanwhile, so that the window is drawn and the button answers.
#include <QProgressDialog>

class WorkProgress {
public:
    WorkProgress(const QString& label, QWidget* parent);
    // Reports `done` of `total`; false once the user cancelled.
    bool report(int done, int total);

private:
    QProgressDialog dialog_;
};
