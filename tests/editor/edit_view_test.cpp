// The edit view answers the messages of an edit control, counting CR LF as two characters.
#include "editor/document/pad_doc.h"
#include "editor/document/pad_view.h"
#include "tests/editor/qt_test_app.h"

#include <QApplication>

#include <gtest/gtest.h>

namespace {

using namespace platform;

class EditView : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing_support::qtApplication(); }

    std::int64_t send(std::uint32_t id, std::uint64_t w = 0, std::int64_t l = 0, std::string text = {}) {
        return sendMessage(Message{view.handle(), id, w, l, std::move(text)}).result;
    }
    std::string text() { return sendMessage(Message{view.handle(), WM_GETTEXT, 1000, 0, {}}).text; }

    CPadDoc document;
    CPadView view{document, 0};
};

TEST_F(EditView, CountsLineBreaksAsTwoCharacters) {
    send(WM_SETTEXT, 0, 0, "ab\r\ncd\r\n\xE9");
    EXPECT_EQ(send(EM_GETLINECOUNT), 3);
    EXPECT_EQ(send(WM_GETTEXTLENGTH), 9);
    EXPECT_EQ(text(), "ab\r\ncd\r\n\xE9");
    EXPECT_EQ(send(EM_LINEINDEX, 1), 4);
    EXPECT_EQ(send(EM_LINEINDEX, 2), 8);
    EXPECT_EQ(send(EM_LINEINDEX, 3), -1);
    EXPECT_EQ(sendMessage(Message{view.handle(), WM_GETTEXT, 4, 0, {}}).text, "ab\r");
}

TEST_F(EditView, SelectsReplacesAndClearsByEditIndices) {
    send(WM_SETTEXT, 0, 0, "ab\r\ncd");
    send(EM_SETSEL, 1, 5);
    EXPECT_EQ(send(EM_GETSEL), 1 | (5 << 16));
    send(WM_CLEAR);
    EXPECT_EQ(text(), "ad");
    send(EM_SETSEL, 2, 2);
    send(EM_REPLACESEL, 0, 0, "\r\nx\ny");
    EXPECT_EQ(text(), "ad\r\nx\r\ny");
    EXPECT_EQ(send(EM_GETLINECOUNT), 3);
    send(EM_SETSEL, 3, 3); // between a CR and its LF: the line's end
    send(EM_REPLACESEL, 0, 0, "!");
    EXPECT_EQ(text(), "ad!\r\nx\r\ny");
}

TEST_F(EditView, ReadOnlyKeepsItsStyleBitAndRefusesTypingButNotTheLibrary) {
    send(WM_SETTEXT, 0, 0, "abc");
    EXPECT_EQ(send(EM_SETREADONLY, 1), 1);
    EXPECT_TRUE(window_table::style(view.handle()) & ES_READONLY);
    send(EM_SETSEL, 0, 1);
    send(WM_CLEAR);
    send(WM_CHAR, 'z');
    EXPECT_EQ(text(), "abc");
    send(EM_SETSEL, 3, 3);
    send(EM_REPLACESEL, 0, 0, "d");
    EXPECT_EQ(text(), "abcd");
    send(EM_SETREADONLY, 0);
    EXPECT_FALSE(window_table::style(view.handle()) & ES_READONLY);
    send(WM_CHAR, 'e');
    send(WM_CHAR, 8);
    send(WM_CHAR, '\r');
    EXPECT_EQ(text(), "abcd\r\n");
}

TEST_F(EditView, TitleSuffixesComeWithTheirPath) {
    document.titleSuffix = "Listing";
    document.SetTitle("x");
    EXPECT_EQ(document.title(), "Listing");
    document.path = "C:\\a.txt";
    document.SetTitle("x");
    EXPECT_EQ(document.title(), "Listing (C:\\a.txt)");
    document.titleSuffix.clear();
    document.SetTitle("a.txt");
    EXPECT_EQ(document.title(), "a.txt");
    EXPECT_FALSE(document.setStopProcess(0));
    EXPECT_FALSE(document.setStopProcess(-1));
    EXPECT_FALSE(document.setStopProcess(getpid()));
}

} // namespace
