// Replacing every occurrence in one pass finds what the document's own search finds, keeps each line's
// terminator, is one undo step, and leaves the text whole when stopped.
#include "editor/document/line_ends.h"
#include "editor/document/replace_every.h"
#include "tests/editor/qt_test_app.h"

#include <QTextBlock>

#include <gtest/gtest.h>

namespace {

using testing_support::qtApplication;

// The occurrences one by one through QTextDocument::find, as replacing did before.
int replaceOneByOne(QTextDocument& document, const QString& text, const QString& by,
                    QTextDocument::FindFlags flags) {
    int count = 0;
    for (QTextCursor found = document.find(text, 0, flags); !found.isNull();
         found = document.find(text, found.position(), flags), ++count)
        found.insertText(by);
    return count;
}

TEST(ReplaceEvery, FindsWhatTheDocumentsSearchFinds) {
    qtApplication();
    struct Case {
        const char* text;
        const char* find;
        const char* by;
        QTextDocument::FindFlags flags;
    };
    const QTextDocument::FindFlags whole = QTextDocument::FindWholeWords;
    const QTextDocument::FindFlags exact = QTextDocument::FindCaseSensitively;
    for (const Case& c :
         {Case{"rue Rue rues\nla rue", "rue", "avenue", {}},
          Case{"rue Rue rues\nla rue", "rue", "avenue", exact},
          Case{"rue Rue rues ru\xC3\xA9 prue", "rue", "av", whole}, Case{"aaaa\naaa", "aa", "a", {}},
          Case{"a\xC2\xA0"
               "b a b",
               "a b",
               "x",
               {}},
          Case{"sans", "rue", "x", {}}, Case{"ab\ncd", "b\nc", "x", {}}}) {
        SCOPED_TRACE(c.text);
        QTextDocument expected(QString::fromUtf8(c.text));
        QTextDocument document(QString::fromUtf8(c.text));
        const int count = replaceOneByOne(expected, QString::fromUtf8(c.find), c.by, c.flags);
        EXPECT_EQ(replaceEvery(document, QString::fromUtf8(c.find), c.by, c.flags), count);
        EXPECT_EQ(joinedText(document, "\n"), joinedText(expected, "\n"));
    }
}

TEST(ReplaceEvery, KeepsLineEndsIsOneUndoStepAndLeavesTheTextWholeWhenStopped) {
    qtApplication();
    for (const int lines : {3, 3000}) {
        QString text;
        QString expected;
        std::vector<LineEnd> ends;
        for (int i = 0; i < lines; ++i) {
            const LineEnd end = i % 2 ? LineEnd::Lf : LineEnd::Cr;
            text += QStringLiteral("rue %1").arg(i) + (i + 1 < lines ? "\n" : "");
            expected += QStringLiteral("avenue %1").arg(i) + (i + 1 < lines ? (i % 2 ? "\n" : "\r") : "");
            if (i + 1 < lines) ends.push_back(end);
        }
        QTextDocument document(text);
        markLineEnds(document, ends);
        EXPECT_EQ(replaceEvery(document, "rue", "avenue", {}), lines);
        EXPECT_EQ(fileText(document, LineEnd::CrLf), expected) << lines << " lines";
        document.undo();
        EXPECT_EQ(joinedText(document, "\n"), text) << "one undo step, " << lines << " lines";
    }

    QString lines;
    for (int i = 0; i < 10000; ++i)
        lines += QStringLiteral("rue %1\n").arg(i);
    QTextDocument many(lines);
    int reports = 0;
    EXPECT_EQ(replaceEvery(many, "rue", "avenue", {},
                           [&](int done, int total) {
                               EXPECT_LE(done, total);
                               return ++reports < 2;
                           }),
              0);
    EXPECT_EQ(joinedText(many, "\n"), lines) << "stopped, nothing is replaced";
}

} // namespace
