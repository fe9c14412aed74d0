#pragma once
// Find and replace of the Edition menu: a French dialog that asks for the text (and its replacement), and
// the search that "Suivant" repeats.
#include <QDialog>
#include <QString>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;

struct FindRequest {
    QString text;
    QString replacement;
    bool caseSensitive = false;
};

class FindDialog : public QDialog {
    Q_OBJECT
public:
    FindDialog(const FindRequest& last, bool replacing, QWidget* parent = nullptr);
    FindRequest request() const;

private:
    QLineEdit* text_;
    QLineEdit* replacement_ = nullptr;
    QCheckBox* case_;
};

// Selects the next occurrence after the caret, wrapping to the start once; false when there is none.
bool findNext(QPlainTextEdit& view, const FindRequest& request);
// Replaces every occurrence; the number replaced.
int replaceAll(QPlainTextEdit& view, const FindRequest& request);
