#pragma once
// Find and replace of the Edition menu, as the platform's own dialogs: the text to find (and its
// replacement), whole words only, case, and for Find the direction. The dialog acts on the view while it
// stays open: "Suivant" finds the next occurrence, "Remplacer" replaces the one selected and finds the next,
// "Remplacer tout" replaces every one; "Annuler" closes it.
#include <QDialog>
#include <QString>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

struct FindRequest {
    QString text;
    QString replacement;
    bool caseSensitive = false;
    bool wholeWord = false;
    bool upward = false;
};

class FindDialog : public QDialog {
    Q_OBJECT
public:
    // Offers `last`, or the view's selection when it is part of one line.
    FindDialog(QPlainTextEdit& view, const FindRequest& last, bool replacing, QWidget* parent = nullptr);
    FindRequest request() const;

private:
    QPushButton* addButton(const QString& caption, void (FindDialog::*act)());
    void findNextOne();
    void replaceOne();
    void replaceEvery();

    QPlainTextEdit& view_;
    QLineEdit* text_;
    QLineEdit* replacement_ = nullptr;
    QCheckBox* wholeWord_;
    QCheckBox* case_;
    QRadioButton* up_ = nullptr;
    QList<QPushButton*> actions_;
};

// Selects the next occurrence from the caret in the request's direction, going round the text once; false
// when there is none.
bool findNext(QPlainTextEdit& view, const FindRequest& request);
// Replaces the selection when it is an occurrence, then selects the next one; false when there is none.
bool replaceNext(QPlainTextEdit& view, const FindRequest& request);
// Replaces every occurrence as one undo step, with a box to follow and cancel it when it takes more than a
// second (cancelled, nothing is replaced); the number replaced.
int replaceAll(QPlainTextEdit& view, const FindRequest& request);
