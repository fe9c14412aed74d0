#pragma once
// The string input dialog (dialog 109), exported by the program so that other modules can ask for a text.
#include <QDialog>

#include <string>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class CDialEditBox : public QDialog {
    Q_OBJECT
public:
    static constexpr int kMultiLine = 0x4;
    static constexpr int kUpperCase = 0x8;
    static constexpr int kLowerCase = 0x10;
    static constexpr int kAutoHorizontalScroll = 0x80;
    static constexpr int kTextLimit = 100000;

    CDialEditBox(const std::string& text, int limit, const char* title, int flags, const char* help,
                 const char* helpFile, QWidget* parent);
    // The text as entered, in the code page.
    std::string text() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void showHelp();
    void applyCase();

    QLineEdit* line_;
    QPlainTextEdit* lines_;
    QPushButton* ok_;
    QPushButton* help_;
    int flags_;
    std::string helpText_;
    std::string helpFile_;
};

// Asks for a text; its length, or -1 when the dialog was cancelled (the text then unchanged).
int EditStringBox(std::string& text, int limit, const char* title, int flags, const char* help,
                  const char* helpFile, QWidget* parent);
