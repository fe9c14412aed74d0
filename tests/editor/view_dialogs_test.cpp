// The edit view's dialogs and the word series: linked go-to fields, the string input dialog, replacing a
// series of words.
#include "editor/app/edit_string_box.h"
#include "editor/document/go_to_dialog.h"
#include "editor/document/replace_series.h"
#include "editor/link/bus_window.h"
#include "tests/editor/qt_test_app.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using namespace testing_support;

class ViewDialogs : public ::testing::Test {
protected:
    static void SetUpTestSuite() { qtApplication(); }

    // Runs `act` on the modal dialog once it shows.
    static void whenShown(std::function<void(CDialEditBox&)> act) {
        QTimer::singleShot(0, [act] {
            auto* box = qobject_cast<CDialEditBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            act(*box);
        });
    }
};

std::string replaced(const std::string& text, const std::string& list, SeriesOptions options = {}) {
    QTextDocument document(fromCodePage(text));
    replaceSeries(document, list, options);
    return toCodePage(document.toPlainText());
}

TEST_F(ViewDialogs, ASeriesReplacesEveryWordOfItsLines) {
    EXPECT_EQ(replaced("rue de la Rue, rue", "rue!avenue\n"), "avenue de la avenue, avenue")
        << "the case counts only when the dialog says so";
    EXPECT_EQ(replaced("Rue de la RUE", "rue!avenue\n"), "Rue de la RUE")
        << "a word is replaced only when it stands in the text as it is written";
    SeriesOptions exact;
    exact.caseSensitive = true;
    EXPECT_EQ(replaced("rue de la Rue", "rue!avenue", exact), "avenue de la Rue");
    EXPECT_EQ(replaced("grand rue", "rue!"), "grand rue") << "an empty replacement needs leave";
    SeriesOptions empty;
    empty.allowEmpty = true;
    EXPECT_EQ(replaced("grand rue", "rue!", empty), "grand ");
    EXPECT_EQ(replaced("rue", "rue avenue\n!x\n"), "rue") << "no separator, and an empty word, are skipped";
    EXPECT_EQ(replaced("a b", "a!  x y  \r\nb!z!ignored\n"), "x y z")
        << "trimmed without a second separator, cut at it otherwise; CR ends the line";
    EXPECT_EQ(replaced("a", "a!x\ny"), "x") << "LF ends the replacement too";
    SeriesOptions semicolon;
    semicolon.separator = ';';
    EXPECT_EQ(replaced("caf\xE9!", "caf\xE9;th\xE9", semicolon), "th\xE9!");
    EXPECT_EQ(seriesPairOf(std::string(30000, 'w') + "!x", '!'), std::nullopt)
        << "lines are cut at 20,000 characters";
}

TEST_F(ViewDialogs, GoToFieldsFollowEachOtherAndOkUsesTheLastEdited) {
    QTextDocument document(QStringLiteral("first\nsecond line\nthird"));
    const int caret = document.findBlockByNumber(1).position() + 3;
    GoToDialog dialog(document, caret);
    EXPECT_EQ(dialog.field(GoToDialog::Line)->text(), "2");
    EXPECT_EQ(dialog.field(GoToDialog::FilePosition)->text(), "10") << "a line break counts two";
    EXPECT_EQ(dialog.field(GoToDialog::LinePosition)->text(), "3");

    dialog.field(GoToDialog::FilePosition)->setText("22");
    EXPECT_EQ(dialog.field(GoToDialog::Line)->text(), "3");
    EXPECT_EQ(dialog.field(GoToDialog::LinePosition)->text(), "2");
    EXPECT_EQ(dialog.target(), document.findBlockByNumber(2).position() + 2);

    dialog.field(GoToDialog::LinePosition)->setText("4");
    EXPECT_EQ(dialog.field(GoToDialog::FilePosition)->text(), "24");
    EXPECT_EQ(dialog.target(), document.findBlockByNumber(2).position() + 4);

    dialog.field(GoToDialog::Line)->setText("1");
    EXPECT_EQ(dialog.field(GoToDialog::FilePosition)->text(), "0");
    EXPECT_EQ(dialog.target(), 0);
    dialog.field(GoToDialog::Line)->setText("99");
    EXPECT_EQ(dialog.target(), document.lastBlock().position()) << "past the end: the last line";

    QTest::keyClicks(dialog.field(GoToDialog::Line), "99999999");
    EXPECT_LE(dialog.value(GoToDialog::Line), GoToDialog::kMaxLine);
}

TEST_F(ViewDialogs, TheStringBoxReturnsTheLengthOrMinusOneWithTheTextKept) {
    std::string text = "kept";
    whenShown([](CDialEditBox& box) {
        QTest::keyClicks(box.findChild<QLineEdit*>("1000"), "more");
        box.reject();
    });
    EXPECT_EQ(EditStringBox(text, 0, "Titre", 0, nullptr, nullptr, nullptr), -1);
    EXPECT_EQ(text, "kept");

    whenShown([](CDialEditBox& box) {
        EXPECT_EQ(box.windowTitle(), "Titre");
        EXPECT_FALSE(box.findChild<QPlainTextEdit*>("1109")->isVisibleTo(&box));
        EXPECT_EQ(box.findChild<QPushButton*>("1001")->text(), "A  I  D E");
        box.findChild<QLineEdit*>("1000")->insert(QString::fromUtf8("\xC3\xA9tape 12345"));
        box.accept();
    });
    text = "ab";
    EXPECT_EQ(EditStringBox(text, 6, "Titre", CDialEditBox::kUpperCase, nullptr, nullptr, nullptr), 6);
    EXPECT_EQ(text, "AB\xC9TAP") << "upper-cased and held to the limit";

    whenShown([](CDialEditBox& box) {
        auto* lines = box.findChild<QPlainTextEdit*>("1109");
        EXPECT_TRUE(lines->isVisibleTo(&box));
        lines->moveCursor(QTextCursor::End);
        QTest::keyClicks(lines, "L2");
        box.resize(300, 200);
        EXPECT_EQ(lines->width(), 290);
        EXPECT_EQ(lines->height(), 200 - 25 - 5);
        box.accept();
    });
    text = "L1\n";
    EXPECT_EQ(EditStringBox(text, 0, "", CDialEditBox::kMultiLine | CDialEditBox::kLowerCase, nullptr,
                            nullptr, nullptr),
              5);
    EXPECT_EQ(text, "l1\nl2");
}

TEST_F(ViewDialogs, TheHelpButtonShowsTheHelpTextWithoutAHelpFile) {
    ScriptedBoxes boxes({platform::IDOK});
    std::string text;
    whenShown([](CDialEditBox& box) {
        box.findChild<QPushButton*>("1001")->click();
        box.reject();
    });
    EditStringBox(text, 0, "T", 0, "Aide en ligne", nullptr, nullptr);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], "Aide en ligne");
}

} // namespace
