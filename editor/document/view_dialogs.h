#pragma once
// The small dialogs of the edit view: options (106) and the settings of a word series (108).
#include "editor/document/replace_series.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;

// Tab stops in characters (1 to 16) and the text screen's line limit (20 to 50,000).
class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    OptionsDialog(int tabCharacters, int lineLimit, QWidget* parent = nullptr);
    QLineEdit* tabField() const { return tabs_; }
    QLineEdit* limitField() const { return limit_; }
    // The values entered, held to their ranges.
    int tabCharacters() const;
    int lineLimit() const;

private:
    QLineEdit* tabs_;
    QLineEdit* limit_;
};

class SeriesDialog : public QDialog {
    Q_OBJECT
public:
    explicit SeriesDialog(QWidget* parent = nullptr);
    QLineEdit* separatorField() const { return separator_; }
    QCheckBox* caseBox() const { return case_; }
    QCheckBox* emptyBox() const { return empty_; }
    SeriesOptions options() const;

private:
    QLineEdit* separator_;
    QCheckBox* case_;
    QCheckBox* empty_;
};
