#include "services/output/tavropad.h"

#include "platform/ui/message_box.h"
#include "services/startup/shared_records.h"
#include "tests/services/output/recording_editor.h"
#include "tests/support/user_mode_emulator.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using testing_support::RecordingEditor;

// A link of this process to the recording editor, its text screen asked for.
struct LinkedEditor {
    explicit LinkedEditor(Tavropad& link) : link(link), editor("ZortaPad enregistreur") {
        link = Tavropad(0);
        link.lineLimit = 0; // the constructor leaves the cache as it finds it
        link.frameWindow = editor.frame;
    }
    ~LinkedEditor() {
        editor.kill();
        link = Tavropad(0);
    }
    Tavropad& link;
    RecordingEditor editor;
};

TEST(TavropadLink, TextAsksTheFrameForTheScreenAndPrintsInPiecesOfAThousandAndOne) {
    Tavropad link(0);
    LinkedEditor linked(link);
    ASSERT_NE(linked.editor.edit, 0u);
    EXPECT_EQ(link.Text(0), 0u) << "without `open` nothing is asked";
    EXPECT_EQ(link.Text(1), linked.editor.edit);
    EXPECT_EQ(link.print(std::string(2500, 'x').c_str()), 498);
    EXPECT_EQ(linked.editor.report(), "select 7 7\n"
                                      "piece 1001 xxxxxxxx\n"
                                      "piece 1001 xxxxxxxx\n"
                                      "piece 498 xxxxxxxx\n");
}

TEST(TavropadLink, NewlinesGetACarriageReturnOnlyWhereMissing) {
    Tavropad link(0);
    LinkedEditor linked(link);
    ASSERT_TRUE(link.Text(1));
    EXPECT_EQ(link.print("a\nb"), 4);
    EXPECT_EQ(link.print("c\r\nd"), 4);
    EXPECT_EQ(link.printf("%d\n", 42), 4);
    EXPECT_EQ(linked.editor.report(), "select 7 7\npiece 4 a\r\nb\n"
                                      "select 7 7\npiece 4 c\r\nd\n"
                                      "select 7 7\npiece 4 42\r\n\n");
}

TEST(TavropadLink, TheGlobalScreenIsTrimmedPastAFifthOverItsLimit) {
    ASSERT_NE(g_pTpadG, nullptr);
    LinkedEditor linked(*g_pTpadG);
    ASSERT_TRUE(g_pTpadG->Text(1));
    linked.editor.set(RecordingEditor::kSetLines, 6001);
    g_pTpadG->print("x");
    EXPECT_EQ(g_pTpadG->lineLimit, 5001);
    EXPECT_EQ(linked.editor.report().find("clear selection"), std::string::npos);

    linked.editor.set(RecordingEditor::kSetLines, 6002);
    g_pTpadG->print("y");
    EXPECT_NE(linked.editor.report().find("line index 1000\n"
                                          "read-only 0\n"
                                          "select 1 10000\n"
                                          "clear selection\n"
                                          "read-only 1\n"),
              std::string::npos);
}

TEST(TavropadLink, ALimitThatIsNotPositiveTrimsNothing) {
    ASSERT_NE(g_pTpadG, nullptr);
    LinkedEditor linked(*g_pTpadG);
    ASSERT_TRUE(g_pTpadG->Text(1));
    linked.editor.set(RecordingEditor::kSetLimit, 0);
    linked.editor.set(RecordingEditor::kSetLines, 60000);
    g_pTpadG->print("x");
    EXPECT_EQ(linked.editor.report(), "select 7 7\npiece 1 x\n");
}

TEST(TavropadLink, OnlyTheGlobalLinkTrims) {
    Tavropad link(0);
    LinkedEditor linked(link);
    ASSERT_TRUE(link.Text(1));
    linked.editor.set(RecordingEditor::kSetLines, 60000);
    link.print("x");
    EXPECT_EQ(linked.editor.report(), "select 7 7\npiece 1 x\n");
}

TEST(TavropadLink, TitlesTravelAsRecordsReadFromThisProcess) {
    SKIP_UNDER_USER_MODE_EMULATOR("the editor cannot read records at a guest address");
    Tavropad link(0);
    EXPECT_EQ(link.SetTitre("sans cadre"), 10) << "no frame: nothing is sent, the length is answered";
    LinkedEditor linked(link);
    ASSERT_TRUE(link.Text(1));
    EXPECT_EQ(link.SetTitre("Cadre \xE9t\xE9"), 9);
    EXPECT_EQ(link.SetViewTitre("Vue"), 3);
    EXPECT_EQ(linked.editor.report(), "frame title Cadre \xE9t\xE9\nview title Vue\n");
}

TEST(TavropadLink, ShowClearAndAGoneEditor) {
    Tavropad link(0);
    LinkedEditor linked(link);
    EXPECT_EQ(link.TShow(1), 0) << "no text screen yet";
    ASSERT_TRUE(link.Text(1));
    EXPECT_EQ(link.Mcls(), 1);
    EXPECT_EQ(link.TShow(1), 1);
    EXPECT_EQ(platform::window_table::foreground(), linked.editor.frame);
    const platform::Hwnd childFrame = platform::window_table::parent(linked.editor.edit);
    EXPECT_EQ(linked.editor.report(), "clear screen\nactivate " + std::to_string(childFrame) + "\n");
    EXPECT_EQ(link.TShow(0), 1);
    EXPECT_TRUE(platform::window_table::style(linked.editor.frame) & platform::WS_MINIMIZE);

    linked.editor.kill();
    EXPECT_EQ(link.Text(0), 0u);
    EXPECT_EQ(link.editWindow, 0u);
    EXPECT_EQ(link.print("perdu"), 0);
    EXPECT_EQ(link.Open(0), 0u);
    EXPECT_EQ(link.frameWindow, 0u);
}

} // namespace
