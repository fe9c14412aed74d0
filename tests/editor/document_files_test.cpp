// Documents keep the bytes of their files: every code-page byte, NULs, each line's own terminator and the
// encoding they were read in.
#include "editor/document/pad_doc.h"
#include "editor/document/pad_view.h"
#include "tests/editor/qt_test_app.h"
#include "tests/support/temp_folder.h"

#include <QProgressDialog>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using namespace platform;

// Types text as a keyboard would, any character (QTest's key clicks know only Latin-1 keys).
void typeText(QWidget& widget, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
    QApplication::sendEvent(&widget, &press);
}
using namespace testing_support;

class DocumentFiles : public ::testing::Test {
protected:
    static void SetUpTestSuite() { qtApplication(); }

    // Opens the bytes from a file and saves them to another; the saved bytes.
    std::string roundTrip(const std::string& bytes) {
        writeFile(folder / "in.txt", bytes);
        EXPECT_TRUE(document.open(folder / "in.txt"));
        EXPECT_TRUE(document.save(folder / "out.txt"));
        return readFile(folder / "out.txt");
    }

    TempFolder folder;
    CPadDoc document;
    CPadView view{document, 0};
};

TEST_F(DocumentFiles, EveryTerminatorAndEveryByteComesBackUnchanged) {
    std::string allBytes;
    for (int byte = 0; byte < 256; ++byte)
        allBytes += static_cast<char>(byte);
    for (const std::string& bytes :
         {std::string("a\r\nb\r\n"), std::string("a\nb\n"), std::string("a\rb\r"),
          std::string("a\r\nb\nc\rd"), std::string("\n\n\r\r\n"), std::string("no end"), std::string(),
          allBytes, allBytes + "\r\n" + allBytes + "\n"}) {
        EXPECT_EQ(roundTrip(bytes), bytes) << "for " << bytes.size() << " bytes";
        EXPECT_FALSE(document.isModified());
    }
}

TEST_F(DocumentFiles, AnEditedLineChangesOnlyItsBytesAndATypedLineTakesTheFilesTerminator) {
    writeFile(folder / "in.txt", "one\ntwo\r\nthree\rfour");
    ASSERT_TRUE(document.open(folder / "in.txt"));
    QTextCursor cursor(view.document()->findBlockByNumber(1));
    cursor.insertText(QStringLiteral("2\xA0"));
    view.setTextCursor(cursor);
    ASSERT_TRUE(document.save(folder / "out.txt"));
    EXPECT_EQ(readFile(folder / "out.txt"), "one\n2\xA0two\r\nthree\rfour");

    writeFile(folder / "lf.txt", "a\nb\n");
    ASSERT_TRUE(document.open(folder / "lf.txt"));
    QTextCursor end(view.document()->findBlockByNumber(0));
    end.movePosition(QTextCursor::EndOfBlock);
    view.setTextCursor(end);
    QTest::keyClick(&view, Qt::Key_Return);
    QTest::keyClicks(&view, "x");
    ASSERT_TRUE(document.save(folder / "out.txt"));
    EXPECT_EQ(readFile(folder / "out.txt"), "a\nx\nb\n");

    document.DeleteContents();
    QTest::keyClicks(&view, "new");
    QTest::keyClick(&view, Qt::Key_Return);
    ASSERT_TRUE(document.save(folder / "new.txt"));
    EXPECT_EQ(readFile(folder / "new.txt"), "new\r\n") << "a new document ends its lines with CR LF";
}

// A file read in each encoding shows its characters, comes back byte for byte, and an edited line is written
// in the file's encoding with its mark kept.
TEST_F(DocumentFiles, EachEncodingIsShownAsItsCharactersAndSavedInItself) {
    struct Case {
        const char* name;
        std::string bytes;
        TextEncoding encoding;
        QString shown;
        std::string edited; // after "é" typed at the start of the second line
    };
    const QString cote = QString::fromUtf8("c\xC3\xB4t\xC3\xA9");
    const std::vector<Case> cases{
        {"Windows-1252", "c\xF4t\xE9\r\nb", TextEncoding::Windows1252, cote + "\nb",
         "c\xF4t\xE9\r\n\xE9"
         "b"},
        {"ASCII", "a\nb", TextEncoding::Windows1252, "a\nb",
         "a\n\xE9"
         "b"},
        {"bad UTF-8", "c\xC3\xB4t\xC3\nb", TextEncoding::Windows1252,
         QString::fromUtf8("c\xC3\x83\xC2\xB4t\xC3\x83\nb"),
         "c\xC3\xB4t\xC3\n\xE9"
         "b"},
        {"UTF-8", "c\xC3\xB4t\xC3\xA9\nb", TextEncoding::Utf8, cote + "\nb",
         "c\xC3\xB4t\xC3\xA9\n\xC3\xA9"
         "b"},
        {"UTF-8 BOM",
         "\xEF\xBB\xBF"
         "a\r\nb",
         TextEncoding::Utf8Bom, "a\nb",
         "\xEF\xBB\xBF"
         "a\r\n\xC3\xA9"
         "b"},
        {"UTF-8, two marks",
         "\xEF\xBB\xBF\xEF\xBB\xBF"
         "a",
         TextEncoding::Utf8Bom, QString(QChar(0xFEFF)) + "a",
         "\xEF\xBB\xBF\xC3\xA9\xEF\xBB\xBF"
         "a"},
        {"UTF-16 LE",
         std::string("\xFF\xFE"
                     "a\0\r\0\n\0b\0\0\xDC",
                     12),
         TextEncoding::Utf16Le, QString("a\nb") + QChar(0xDC00),
         std::string("\xFF\xFE"
                     "a\0\r\0\n\0\xE9\0"
                     "b\0\0\xDC",
                     14)},
        {"UTF-16 BE", std::string("\xFE\xFF\0a\0\n\x20\x29\0b", 10), TextEncoding::Utf16Be, "a\n\nb",
         std::string("\xFE\xFF\0a\0\n\0\xE9\x20\x29\0b", 12)},
        {"odd UTF-16",
         std::string("\xFF\xFE"
                     "a\0\n",
                     5),
         TextEncoding::Windows1252,
         QString::fromUtf8("\xC3\xBF\xC3\xBE"
                           "a") +
             QChar(0) + "\n",
         std::string("\xFF\xFE"
                     "a\0\n\xE9",
                     6)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(roundTrip(c.bytes), c.bytes);
        EXPECT_EQ(document.encoding(), c.encoding);
        EXPECT_EQ(joinedText(*view.document(), "\n"), c.shown);
        QTextCursor cursor(view.document()->findBlockByNumber(1));
        cursor.insertText(QString::fromUtf8("\xC3\xA9"));
        ASSERT_TRUE(document.save(folder / "out.txt"));
        EXPECT_EQ(readFile(folder / "out.txt"), c.edited);
    }
}

// "α≤✓" typed into a Windows-1252 file is never saved as "???": the user keeps it (the file goes UTF-8) or
// it is refused as it is typed.
TEST_F(DocumentFiles, ACharacterTheEncodingLacksIsKeptInUtf8OrRefused) {
    const QString typed = QString::fromUtf8("\xCE\xB1\xE2\x89\xA4\xE2\x9C\x93");
    for (const int answer : {IDYES, IDNO}) {
        writeFile(folder / "in.txt", "caf\xE9\n");
        ASSERT_TRUE(document.open(folder / "in.txt"));
        ScriptedBoxes boxes({answer});
        QTest::keyClicks(&view, "x");
        typeText(view, typed);
        typeText(view, QString::fromUtf8("\xF0\x9F\x98\x80"));
        QCoreApplication::processEvents();
        ASSERT_EQ(boxes.texts.size(), 1u) << "asked once";
        EXPECT_NE(boxes.texts[0].find("U+03B1"), std::string::npos) << boxes.texts[0];
        EXPECT_EQ(boxes.types[0] & 0xF00, 0u) << "Oui, which keeps the text, is the default";
        ASSERT_TRUE(document.save(folder / "out.txt"));
        EXPECT_EQ(readFile(folder / "out.txt"), answer == IDYES
                                                    ? "x\xCE\xB1\xE2\x89\xA4\xE2\x9C\x93\xF0\x9F\x98\x80"
                                                      "caf\xC3\xA9\n"
                                                    : "xcaf\xE9\n");
        EXPECT_EQ(boxes.texts.size(), 1u) << "saving asks nothing more";
    }
}

// Another program's change is never saved over without a yes, nor a deleted file recreated.
TEST_F(DocumentFiles, AFileChangedOnDiskIsReloadedOrSavedOverOnlyOnAYes) {
    const std::string path = folder / "doc.txt";
    writeFile(path, "mine");
    ASSERT_TRUE(document.open(path));
    QTest::keyClicks(&view, "+");
    writeFile(path, "theirs, longer");
    EXPECT_EQ(document.diskChange(), CPadDoc::DiskChange::Changed);
    {
        ScriptedBoxes boxes({IDNO, IDNO});
        document.checkDisk();
        document.checkDisk();
        ASSERT_EQ(boxes.texts.size(), 1u) << "one change, one question";
        EXPECT_NE(boxes.texts[0].find("recharger"), std::string::npos) << boxes.texts[0];
        EXPECT_TRUE(boxes.types[0] & MB_DEFBUTTON2) << "with changes here, No is the default";
        EXPECT_FALSE(document.save(path));
        EXPECT_EQ(readFile(path), "theirs, longer");
        EXPECT_TRUE(document.isModified());
    }
    {
        // The file changes again while the question is on the screen: nothing is written over it.
        setMessageBoxHandler([&](const MessageBoxRequest&) {
            writeFile(path, "theirs again");
            return IDYES;
        });
        EXPECT_FALSE(document.save(path));
        setMessageBoxHandler({});
        EXPECT_EQ(readFile(path), "theirs again");
    }
    {
        ScriptedBoxes boxes({IDYES});
        EXPECT_TRUE(document.save(path));
        EXPECT_EQ(readFile(path), "+mine");
        EXPECT_EQ(document.diskChange(), CPadDoc::DiskChange::None) << "its own save is no change";
    }
    {
        writeFile(path, "reloaded");
        ScriptedBoxes boxes({IDYES});
        document.checkDisk();
        EXPECT_EQ(view.toPlainText(), "reloaded");
        EXPECT_FALSE(document.isModified());
    }
    std::filesystem::remove(path);
    ScriptedBoxes boxes({IDNO});
    EXPECT_EQ(document.checkDisk(), CPadDoc::DiskChange::Deleted);
    EXPECT_EQ(document.checkDisk(), CPadDoc::DiskChange::None) << "told once";
    EXPECT_FALSE(document.save(path));
    EXPECT_FALSE(std::filesystem::exists(path)) << "not recreated on a no";
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_NE(boxes.texts[0].find("supprim"), std::string::npos);
}

// The progress box shows once the load has run for a second; its "Annuler" is pressed as soon as it does.
TEST_F(DocumentFiles, ALongLoadCancelledLeavesTheDocumentWithoutTheFile) {
    std::string lines;
    while (lines.size() < (12u << 20))
        lines += "PT 2512345.678 1123456.789\r\n";
    writeFile(folder / "long.txt", lines);
    writeFile(folder / "short.txt", "court");
    ASSERT_TRUE(document.open(folder / "short.txt"));
    QTimer cancel;
    bool cancelled = false;
    QObject::connect(&cancel, &QTimer::timeout, [&] {
        if (auto* progress = view.findChild<QProgressDialog*>(); progress && progress->isVisible()) {
            progress->cancel();
            cancelled = true;
        }
    });
    cancel.start(20);
    ScriptedBoxes boxes({IDYES});
    EXPECT_FALSE(document.open(folder / "long.txt"));
    EXPECT_TRUE(cancelled);
    EXPECT_TRUE(document.path.empty()) << "a part of the file can never be saved over it";
    EXPECT_TRUE(view.document()->isEmpty());
}

TEST_F(DocumentFiles, AFileOfMoreThan4MiBIsLoadedOnlyWhenTheAnswerIsYes) {
    const std::string big(5 << 20, 'z');
    writeFile(folder / "big.txt", big);
    {
        ScriptedBoxes boxes({IDNO});
        EXPECT_FALSE(document.open(folder / "big.txt"));
        ASSERT_EQ(boxes.texts.size(), 1u);
        EXPECT_EQ(boxes.texts[0], "Fichier de 5 Mega Octets Le CHARGER !!!");
        EXPECT_EQ(boxes.types[0] & 0xF, MB_YESNO);
        EXPECT_TRUE(boxes.types[0] & MB_DEFBUTTON2) << "No is the default";
        EXPECT_TRUE(view.document()->isEmpty());
        EXPECT_TRUE(document.path.empty());
    }
    ScriptedBoxes boxes({IDYES});
    ASSERT_TRUE(document.open(folder / "big.txt"));
    EXPECT_EQ(view.document()->characterCount() - 1, static_cast<int>(big.size()));
    writeFile(folder / "edge.txt", std::string(CPadDoc::kAskAbove, 'e'));
    EXPECT_TRUE(document.open(folder / "edge.txt"));
    EXPECT_EQ(boxes.texts.size(), 1u) << "exactly 4 MiB is not asked about";
}

TEST_F(DocumentFiles, SaveModifiedKeepsTheChangesUnlessSavedOrDropped) {
    const std::string path = folder / "doc.txt";
    writeFile(path, "text");
    ASSERT_TRUE(document.open(path));
    const auto change = [&] { QTest::keyClicks(&view, "+"); };

    change();
    {
        ScriptedBoxes boxes({IDCANCEL});
        EXPECT_FALSE(document.SaveModified());
        EXPECT_TRUE(document.isModified()) << "cancel keeps the changes";
    }
    {
        ScriptedBoxes boxes({IDNO});
        EXPECT_TRUE(document.SaveModified());
        EXPECT_FALSE(document.isModified());
        EXPECT_EQ(readFile(path), "text");
    }
    change();
    {
        ScriptedBoxes boxes({IDYES});
        EXPECT_TRUE(document.SaveModified());
        EXPECT_FALSE(document.isModified());
        EXPECT_EQ(readFile(path), "++text") << "No keeps the text and drops only the question";
    }
    change();
    document.setAskToSave(0);
    ScriptedBoxes boxes;
    EXPECT_TRUE(document.SaveModified());
    EXPECT_TRUE(boxes.texts.empty()) << "a flag of 0 never asks";
    EXPECT_FALSE(document.isModified());
}

TEST_F(DocumentFiles, FilesThatCannotBeReadOrWrittenSayWhyAndLeaveTheDocumentAsItWas) {
    const std::string path = folder / "doc.txt";
    writeFile(path, "kept");
    ASSERT_TRUE(document.open(path));
    QTest::keyClicks(&view, "!");
    ScriptedBoxes boxes;

    std::filesystem::remove(path);
    EXPECT_FALSE(document.open(path)) << "deleted meanwhile";
    EXPECT_FALSE(document.open(folder.path())) << "a folder";
    EXPECT_FALSE(document.save("/proc/zortapad-cannot-be-here.txt"));
    EXPECT_FALSE(document.save(folder / "no-such-folder/doc.txt"));
    writeFile(folder / "read-only.txt", "untouched");
    std::filesystem::permissions(folder / "read-only.txt", std::filesystem::perms::owner_read);
    EXPECT_FALSE(document.save(folder / "read-only.txt"));
    EXPECT_EQ(readFile(folder / "read-only.txt"), "untouched");
    ASSERT_EQ(boxes.texts.size(), 5u);
    for (const std::string& text : boxes.texts)
        EXPECT_NE(text.find("Impossible"), std::string::npos) << text;
    EXPECT_NE(boxes.texts[0].find(path), std::string::npos);
    EXPECT_EQ(toCodePage(view.toPlainText()), "!kept");
    EXPECT_TRUE(document.isModified());
    EXPECT_EQ(document.path, path);
}

} // namespace
