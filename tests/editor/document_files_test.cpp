// Documents keep the bytes of their files: every code-page byte, NULs and each line's own terminator.
#include "editor/document/pad_doc.h"
#include "editor/document/pad_view.h"
#include "tests/editor/qt_test_app.h"
#include "tests/support/temp_folder.h"

#include <QTest>
#include <QTextBlock>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using namespace platform;
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
