// The library's editor link against the real editor program, both in processes of their own.
#include "services/output/output.h"
#include "services/output/output_mode.h"
#include "services/startup/shared_records.h"
#include "tests/editor/editor_process.h"

#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <thread>

namespace {

using namespace platform;
using namespace testing_support;

class EditorLink : public ::testing::Test {
protected:
    void TearDown() override {
        closeEditors();
        if (g_pTpadG) *g_pTpadG = Tavropad(0);
        Tpadl = Tavropad(0);
    }
};

std::string childTitleOf(Hwnd edit) {
    return window_table::text(window_table::parent(edit));
}

Hwnd localFrameOf(const std::string& probeOutput) {
    return std::stoull(probeOutput.substr(0, probeOutput.find(' ')), nullptr, 16);
}

TEST_F(EditorLink, TextWithoutOpenStartsNothing) {
    EXPECT_EQ(Tpadl.Text(0), 0u);
    EXPECT_EQ(g_pTpadG->Text(0), 0u);
    EXPECT_TRUE(editorFrames().empty());
}

TEST_F(EditorLink, OneEditorCarriesTheGlobalScreenOfEveryProcess) {
    mprintf("$G$$S$Hello");
    const std::vector<Hwnd> frames = editorFrames();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(g_pTpadG->frameWindow, frames[0]);
    const Hwnd edit = g_pTpadG->editWindow;
    EXPECT_EQ(textOf(edit), "Hello");
    EXPECT_EQ(childTitleOf(edit), "Ecran Texte ( *G\xE9n\xE9ral* )");
    EXPECT_EQ(window_table::foreground(), frames[0]) << "$S$ brings the screen to the front";

    runProgram("link_probe", "print '$G$ et la sonde\n'");
    EXPECT_EQ(editorFrames().size(), 1u) << "no second editor";
    EXPECT_EQ(textOf(edit), "Hello et la sonde\r\n");

    const Hwnd local = localFrameOf(runProgram("link_probe", "print '$L$local'"));
    EXPECT_NE(local, 0u);
    EXPECT_NE(local, frames[0]);
    EXPECT_EQ(window_table::className(local), "ZortaPad");
    EXPECT_EQ(editorFrames().size(), 2u);
}

TEST_F(EditorLink, TheLocalScreenIsTitledAfterTheProgram) {
    const Hwnd local = localFrameOf(runProgram("link_probe", "mode 5"));
    ASSERT_NE(local, 0u);
    const std::vector<Hwnd> edits = windowsOfClass(local, "Edit");
    bool titled = false;
    for (Hwnd edit : edits)
        titled = titled || childTitleOf(edit) == "Ecran Texte (link_probe)";
    EXPECT_TRUE(titled);
}

// The one that finds the start under way waits for it and prints into the editor it brings.
TEST_F(EditorLink, TwoProcessesStartingAtOnceStartOneEditorAndLoseNoLine) {
    constexpr int kLines = 1000;
    std::thread first([] { runProgram("link_probe", "lines un " + std::to_string(kLines)); });
    std::thread second([] { runProgram("link_probe", "lines deux " + std::to_string(kLines)); });
    first.join();
    second.join();
    EXPECT_EQ(editorFrames().size(), 1u);
    EXPECT_EQ(g_pZortaGenSeg->busyWord, 0);
    const std::string screen = "\r\n" + textOf(g_pTpadG->Text(0));
    for (const char* tag : {"un", "deux"})
        for (int line = 0; line < kLines; ++line)
            ASSERT_NE(screen.find("\r\n" + std::string(tag) + " " + std::to_string(line) + "\r\n"),
                      std::string::npos)
                << tag << " " << line;
}

TEST_F(EditorLink, AKilledEditorsLinkGoesIdleAndTheNextPrintStartsAnother) {
    mprintf("$G$avant");
    const Hwnd first = g_pTpadG->frameWindow;
    ASSERT_NE(first, 0u);
    kill(processOfHandle(first), SIGKILL);
    ASSERT_TRUE(eventually([&] { return !window_table::isWindow(first); }));
    EXPECT_EQ(g_pTpadG->Text(0), 0u);
    mprintf("$G$apres");
    EXPECT_NE(g_pTpadG->frameWindow, 0u);
    EXPECT_NE(g_pTpadG->frameWindow, first);
    EXPECT_EQ(textOf(g_pTpadG->editWindow), "apres");
}

} // namespace
