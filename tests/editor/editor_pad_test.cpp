// The editor's side of the link, with the editor in a process of its own: the hand-shake, the hand-off to
// another instance, validation and titles.
#include "services/output/tavropad.h"
#include "services/startup/shared_records.h"
#include "tests/editor/editor_process.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

using namespace platform;
using namespace testing_support;

class EditorPad : public ::testing::Test {
protected:
    void TearDown() override {
        closeEditors();
        if (g_pTpadG) *g_pTpadG = Tavropad(0);
    }
};

std::string hex(std::uint64_t value) {
    std::ostringstream text;
    text << std::hex << value;
    return text.str();
}

// The frame field of a link that the editor writes from its own process.
Hwnd frameOf(const Tavropad& link) {
    std::atomic_signal_fence(std::memory_order_seq_cst);
    Hwnd frame;
    std::memcpy(&frame, &link, sizeof frame);
    return frame;
}

// The child frames' titles of an editor, once it has opened its first document.
std::vector<std::string> childTitles(Hwnd frame) {
    std::vector<std::string> titles;
    for (Hwnd child : windowsOfClass(frame, "ZortaPadChild"))
        titles.push_back(window_table::text(child));
    return titles;
}

// The frame of the editor started now (not of one that ran before), once it has its first document.
Hwnd startedEditor(const std::vector<std::string>& arguments) {
    const std::vector<Hwnd> before = editorFrames();
    if (startProgram("ZortaPad", arguments) < 0) return 0;
    Hwnd frame = 0;
    eventually([&] {
        for (Hwnd candidate : editorFrames())
            if (std::find(before.begin(), before.end(), candidate) == before.end()) frame = candidate;
        return frame && !windowsOfClass(frame, "Edit").empty();
    });
    return frame;
}

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

TEST_F(EditorPad, AnIdOfMinusOneHoldsTheGlobalScreen) {
    const Hwnd frame = startedEditor({"/ID=-1,1,0"});
    ASSERT_NE(frame, 0u);
    EXPECT_EQ(g_pTpadG->frameWindow, frame);
    const Hwnd edit = g_pTpadG->Text(1);
    ASSERT_NE(edit, 0u);
    EXPECT_EQ(window_table::text(window_table::parent(edit)), "Ecran Texte ( *G\xE9n\xE9ral* )");
    EXPECT_TRUE(window_table::style(edit) & ES_READONLY);
}

TEST_F(EditorPad, TheHandshakeWritesTheFrameIntoTheCallersLinkOnly) {
    Tavropad waiting(0);
    waiting.processId = getpid();
    waiting.lineLimit = 77;
    const Hwnd frame = startedEditor({"/ID=" + std::to_string(getpid()) + "," +
                                      hex(reinterpret_cast<std::uintptr_t>(&waiting)) + ",30b2e"});
    ASSERT_NE(frame, 0u);
    EXPECT_EQ(frameOf(waiting), frame);
    EXPECT_EQ(waiting.lineLimit, 77) << "only the frame is written";

    Tavropad other(0);
    other.processId = 12345; // waits for another editor
    ASSERT_NE(startedEditor({"-id=" + std::to_string(getpid()) + "," +
                             hex(reinterpret_cast<std::uintptr_t>(&other)) + ",0"}),
              0u);
    EXPECT_EQ(frameOf(other), 0u);
}

// The start-up's own message shows in the editor that is starting: no second editor is started for it.
TEST_F(EditorPad, AWrongInstallFolderIsShownInTheStartingEditor) {
    setenv("ZORTA", "/tmp/zorta-sans-dll/", 1);
    const Hwnd frame = startedEditor({});
    unsetenv("ZORTA");
    ASSERT_NE(frame, 0u);
    EXPECT_TRUE(eventually([&] {
        for (Hwnd edit : windowsOfClass(frame, "Edit"))
            if (textOf(edit).find("Invalide ; ZORTA=") != std::string::npos) return true;
        return false;
    }));
    EXPECT_EQ(editorFrames().size(), 1u);
}

TEST_F(EditorPad, MalformedOrUnreachableHandshakesAreIgnored) {
    for (const std::string& id :
         std::vector<std::string>{"/ID=", "/ID=abc", "/ID=1,zz,0", "/ID=12,34", "/ID=0,10,0",
                                  "/ID=" + std::to_string(getpid()) + ",10,0", "/ID=999999,1000,0"})
        EXPECT_NE(startedEditor({id}), 0u) << id;
    EXPECT_EQ(g_pTpadG->frameWindow, 0u);
}

TEST_F(EditorPad, ASecondEditorHandsItsCommandLineToTheFirst) {
    TempFolder folder;
    const std::string file = folder.path() + "/liste.txt";
    std::ofstream(file, std::ios::binary) << "ligne 1\r\nligne \xE9t\xE9\r\n";
    const Hwnd first = startedEditor({"/fen=Cible"});
    ASSERT_NE(first, 0u);
    EXPECT_EQ(window_table::text(first), "Cible");
    ASSERT_TRUE(eventually([&] { return window_table::foreground() == first; })) << "the first one is up";
    // The window in front when the second editor starts is the one to return to.
    const auto front = createWindow({"Probe", "appelant", 0, 0, WS_VISIBLE}, defWindowProc);
    ASSERT_TRUE(front);
    setForegroundWindow(*front);
    const pid_t stopped = startProgram("link_probe", {"wait"});
    const pid_t second = startProgram("ZortaPad", {"/fen=Cib", "/titre=Suffixe", "/ro=1", "-on=0",
                                                   "/Stop=" + std::to_string(stopped), file});
    ASSERT_GT(second, 0);
    EXPECT_EQ(waitForProcess(second, 20000), 0) << "the second one ends";
    EXPECT_EQ(editorFrames().size(), 1u);

    const std::string title = "Suffixe (" + file + ")";
    ASSERT_TRUE(eventually([&] {
        const std::vector<std::string> titles = childTitles(first);
        return std::find(titles.begin(), titles.end(), title) != titles.end();
    }));
    Hwnd edit = 0;
    for (Hwnd candidate : windowsOfClass(first, "Edit"))
        if (window_table::text(window_table::parent(candidate)) == title) edit = candidate;
    EXPECT_EQ(textOf(edit), "ligne 1\r\nligne \xE9t\xE9\r\n");
    EXPECT_TRUE(window_table::style(edit) & ES_READONLY);

    // Validating the changed document saves it, ends the "Stop=" process and brings the caller back.
    setForegroundWindow(first);
    sendMessage(edit, EM_SETREADONLY, 0);
    sendMessage(edit, EM_SETSEL, 0, 0);
    sendMessage(Message{edit, EM_REPLACESEL, 0, 0, "ajout\r\n"});
    sendMessage(edit, WM_COMMAND, 32786);
    EXPECT_EQ(readFile(file), "ajout\r\nligne 1\r\nligne \xE9t\xE9\r\n");
    EXPECT_EQ(waitForProcess(stopped, 20000), 128 + SIGTERM);
    EXPECT_EQ(window_table::foreground(), *front);
    destroyWindow(*front);
}

TEST_F(EditorPad, AnEmptyWindowPrefixFindsNoInstance) {
    ASSERT_NE(startedEditor({"/fen=Autre"}), 0u);
    ASSERT_NE(startedEditor({"/fen="}), 0u) << "it stays, with its own frame";
    EXPECT_EQ(editorFrames().size(), 2u);
}

TEST_F(EditorPad, TitlesAreCutAt999Characters) {
    const Hwnd frame = startedEditor({});
    ASSERT_NE(frame, 0u);
    Tavropad link(0);
    link.frameWindow = frame;
    link.editWindow = windowsOfClass(frame, "Edit").front();
    const std::string longTitle(2000, 't');
    EXPECT_EQ(link.SetViewTitre(longTitle.c_str()), 2000);
    EXPECT_EQ(window_table::text(window_table::parent(link.editWindow)), longTitle.substr(0, 999));
    EXPECT_EQ(link.SetTitre(longTitle.c_str()), 2000);
    EXPECT_EQ(window_table::text(frame), longTitle.substr(0, 999));
    EXPECT_EQ(link.SetTitre("Z"), 1);
    EXPECT_EQ(window_table::text(frame), "ZortaPad - [" + longTitle.substr(0, 999) + "]")
        << "a title of one character leaves the program's name and the document's";
}

TEST_F(EditorPad, AFileEditedAndSavedThroughZwinKeepsEveryOtherByte) {
    TempFolder folder;
    const std::string path = folder / "mixed.txt";
    const std::string bytes = std::string("un\nd\xE9ux\r\ntrois\rquatre\0fin", 25);
    writeFile(path, bytes);
    const Hwnd frame = startedEditor({path});
    ASSERT_NE(frame, 0u);
    const std::string edit = hex(windowsOfClass(frame, "Edit").front());
    runProgram("zwin", "send 0x" + edit + " WM_COMMAND 57603");
    EXPECT_EQ(readFile(path), bytes);

    runProgram("zwin", "send 0x" + edit + " EM_SETSEL 4 4");
    runProgram("zwin", "send 0x" + edit + " EM_REPLACESEL 0 0 --text X");
    runProgram("zwin", "send 0x" + edit + " WM_COMMAND 57603");
    EXPECT_EQ(readFile(path), std::string("un\nXd\xE9ux\r\ntrois\rquatre\0fin", 26));
}

} // namespace
