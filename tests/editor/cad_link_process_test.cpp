// The CAD link between processes: zhost shows its CAD window on the bus, and ZortaPad types coordinates
// into it; what zhost does with them is read from its transcript.
#include "tests/editor/editor_process.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <future>

namespace {

using namespace platform;
using namespace testing_support;

constexpr const char* kCadTitle = "Autodesk AutoCAD 2021 - [Drawing1.dwg]";
constexpr std::uint32_t kCadZoom = 32787;
constexpr std::uint32_t kSendCoordinates = 32788;

Hwnd cadWindow() {
    for (Hwnd window : window_table::topLevelWindows())
        if (window_table::text(window) == kCadTitle) return window;
    return 0;
}

class CadLinkProcesses : public ::testing::Test {
protected:
    void TearDown() override {
        closeEditors();
        std::filesystem::remove(script);
    }
    // Starts zhost on `lines` and waits for its window; its transcript comes with the future.
    std::future<std::string> startZhost(const std::string& lines) {
        std::ofstream(script) << lines;
        auto transcript = std::async(std::launch::async, [this] {
            return runProgram("zhost", "--window --script " + script + " 2>&1");
        });
        EXPECT_TRUE(eventually([] { return cadWindow() != 0; })) << "zhost shows no CAD window";
        return transcript;
    }
    // Starts ZortaPad with `text` in its document, the selection from `from` to `to`; its edit view.
    Hwnd startEditor(const std::string& text, int from, int to) {
        EXPECT_GT(startProgram("ZortaPad", {}), 0);
        Hwnd view = 0;
        EXPECT_TRUE(eventually([&] {
            const std::vector<Hwnd> frames = editorFrames();
            const std::vector<Hwnd> views =
                frames.empty() ? std::vector<Hwnd>{} : windowsOfClass(frames[0], "Edit");
            view = views.empty() ? 0 : views[0];
            return view != 0;
        }));
        sendMessage(Message{view, WM_SETTEXT, 0, 0, text});
        sendMessage(view, EM_SETSEL, static_cast<std::uint64_t>(from), to);
        return view;
    }

    std::string script =
        (std::filesystem::temp_directory_path() / ("cad_link_" + std::to_string(getpid()) + ".scr")).string();
};

TEST_F(CadLinkProcesses, ZoomOnTheCaretLineCentresTheCadViewAndKeepsItsHeight) {
    auto transcript = startZhost("@typed 4 20000\n(getvar \"VIEWCTR\")\n(getvar \"VIEWSIZE\")\n");
    const Hwnd view = startEditor("PT12 X=1250.5 Y=3320.25 Z=101.7", 0, 0);
    sendMessage(Message{view, WM_COMMAND, kCadZoom, 0, {}}, 20000);
    const std::string out = transcript.get();
    EXPECT_NE(out.find("(1250.5 3320.25 101.7)"), std::string::npos) << out;
    EXPECT_NE(out.find("\n100.0"), std::string::npos) << out;
    EXPECT_EQ(out.find("@typed:"), std::string::npos) << out;
}

TEST_F(CadLinkProcesses, SentCoordinatesAnswerThePointPromptOfARunningCommand) {
    auto transcript = startZhost("_ZOOM\nC\n@typed 1 20000\n\n(getvar \"VIEWCTR\")\n");
    const Hwnd view = startEditor("1250,3320,15", 0, 4);
    sendMessage(Message{view, WM_COMMAND, kSendCoordinates, 0, {}}, 20000);
    const std::string out = transcript.get();
    EXPECT_NE(out.find("Spécifiez le point central: 1250.00,3320.00,15.00"), std::string::npos) << out;
    EXPECT_NE(out.find("(1250.0 3320.0 15.0)"), std::string::npos) << out;
}

TEST_F(CadLinkProcesses, APostedCtrlCCancelsAndASilentWindowTimesOut) {
    auto transcript = startZhost("_ZOOM\n@typed 1 20000\n(getvar \"VIEWCTR\")\n@typed 1 300\n");
    // The status bar comes after its frame: a loaded machine can show the frame alone for a while.
    std::vector<Hwnd> children;
    EXPECT_TRUE(eventually([&] {
        children = windowsOfClass(cadWindow(), "msctls_statusbar32");
        return !children.empty();
    }));
    EXPECT_EQ(children.size(), 1u);
    EXPECT_TRUE(postMessage(cadWindow(), WM_CHAR, 3, 0x402E0001));
    const std::string out = transcript.get();
    EXPECT_EQ(out.find("point central"), std::string::npos) << "the option prompt was cancelled\n" << out;
    EXPECT_NE(out.find("(0.0 0.0 0.0)"), std::string::npos) << out;
    EXPECT_NE(out.find("@typed: 0 ligne(s) tap\xC3\xA9"
                       "e(s) sur 1 en 300 ms"),
              std::string::npos)
        << out;
}

} // namespace
