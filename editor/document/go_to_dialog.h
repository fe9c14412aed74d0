#pragma once
// Go to (dialog 107): the line, the position in the file and the position in the line, linked so that
// editing one recomputes the other two; OK moves the caret by the field edited last. Positions count as the
// edit control counts them (a line break is two characters).
#include <QDialog>

class QLineEdit;
class QTextDocument;

class GoToDialog : public QDialog {
    Q_OBJECT
public:
    enum Field { Line, FilePosition, LinePosition };
    static constexpr long long kMaxLine = 10000000;
    static constexpr long long kMaxFilePosition = 1000000000;
    static constexpr long long kMaxLinePosition = 1000000;

    // Filled from the caret at `position`.
    GoToDialog(const QTextDocument& document, int position, QWidget* parent = nullptr);

    QLineEdit* field(Field which) const { return fields_[which]; }
    long long value(Field which) const;
    // The document position to move to, by the field edited last; a line past the end is the last line.
    int target() const;

private:
    void recompute(Field edited);
    void show(Field which, long long value);

    const QTextDocument& document_;
    QLineEdit* fields_[3];
    Field lastEdited_ = Line;
    bool recomputing_ = false;
};
