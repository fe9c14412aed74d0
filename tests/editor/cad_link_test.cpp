// The CAD link: coordinates read out of listing lines, the CAD window found among the bus's windows by
// title, and keystrokes posted to a recording window at their pace.
#include "editor/cad_link/cad_commands.h"
#include "editor/cad_link/cad_window_search.h"
#include "editor/cad_link/coordinate_extraction.h"
#include "editor/cad_link/keystrokes.h"
#include "platform/windows/message_bus.h"
#include "services/startup/shared_records.h"
#include "tests/editor/qt_test_app.h"
#include "tests/support/comma_locale.h"

#include <QPlainTextEdit>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <vector>

namespace {

using namespace platform;
using Clock = std::chrono::steady_clock;

TEST(ExtractCoordinates, ReadsMarkedAndUnmarkedLines) {
    EXPECT_EQ(ExtractCoordinates("PT12 X=1250.5 Y=3320.25 Z=101.7", -1), "1250.50,3320.25,101.70");
    EXPECT_EQ(ExtractCoordinates("1250,3320", 0), "1250.00,3320.00");
    EXPECT_EQ(ExtractCoordinates("1250,3320,15", 0), "1250.00,3320.00,15.00");
    EXPECT_EQ(ExtractCoordinates("1250 3320 15", 0), "1250.00,3320.00");
    EXPECT_EQ(ExtractCoordinates("X,Y 10.5 20.25", 0), "10.50,20.25");
    EXPECT_EQ(ExtractCoordinates("xyz 10 20", 0), "10.00,20.00,0.00");
    EXPECT_EQ(ExtractCoordinates("X,Y,Z 1 2 3", 0), "1.00,2.00,3.00");
    EXPECT_EQ(ExtractCoordinates("x = 7 y = 8 z = 9", 0), "7.00,8.00,9.00");
    EXPECT_EQ(ExtractCoordinates("PT -3.126 +4", 3), "-3.13,4.00");
    // A marker after the numbers: the scan starts after it and finds too few numbers.
    EXPECT_EQ(ExtractCoordinates("10 20 XY", 0), "");
    EXPECT_EQ(ExtractCoordinates("10 20 XY 5 6", 0), "5.00,6.00");
}

TEST(ExtractCoordinates, StartsAtTheNumberUnderTheColumnHeldToTheLine) {
    EXPECT_EQ(ExtractCoordinates("P1 100.5 200.5 300", 6), "100.50,200.50");
    EXPECT_EQ(ExtractCoordinates("P1 100.5 200.5 300", 10), "200.50,300.00");
    EXPECT_EQ(ExtractCoordinates("100.5 200.5 300", 0), "100.50,200.50");
    EXPECT_EQ(ExtractCoordinates("100.5 200.5", 4000), "");
    EXPECT_EQ(ExtractCoordinates("100.5 200.5", -7), "100.50,200.50");
}

TEST(ExtractCoordinates, RefusesWhatIsNoNumber) {
    EXPECT_EQ(ExtractCoordinates("-", 0), "");
    EXPECT_EQ(ExtractCoordinates("- . 5", 0), "");
    EXPECT_EQ(ExtractCoordinates("X= - 10 . 20", 0), "10.00,20.00");
    EXPECT_EQ(ExtractCoordinates("no numbers here", 0), "");
    EXPECT_EQ(ExtractCoordinates("", 0), "");
    // Only the first 1,499 characters are read.
    std::string longLine(1500, ' ');
    longLine.replace(1497, 3, "1 2");
    EXPECT_EQ(ExtractCoordinates(longLine, 1497), "");
    longLine.replace(1480, 3, "1 2");
    EXPECT_EQ(ExtractCoordinates(longLine, 1480), "1.00,2.00");
}

TEST(ExtractCoordinates, IgnoresADecimalCommaLocale) {
    const std::string folder = std::filesystem::temp_directory_path() / "cad_link_locale";
    std::filesystem::create_directories(folder);
    if (!testing_support::useCommaLocale(folder)) GTEST_SKIP() << "no French locale can be made here";
    EXPECT_EQ(ExtractCoordinates("12.5 1250.5", 0), "12.50,1250.50");
    EXPECT_EQ(ExtractCoordinates("PT12 X=1250.5 Y=3320.25 Z=101.7", 0), "1250.50,3320.25,101.70");
    testing_support::restoreCLocale();
}

// Windows of this process standing for other programs' windows, removed when the test ends.
class BusWindows : public ::testing::Test {
protected:
    Hwnd make(const std::string& className, const std::string& title, Hwnd parent = 0,
              std::uint32_t style = WS_VISIBLE) {
        const std::optional<Hwnd> window =
            createWindow({className, title, parent, 0, style}, [this](Message& message) {
                if (message.id == WM_CHAR) received.push_back({message, Clock::now()});
                return defWindowProc(message);
            });
        EXPECT_TRUE(window);
        if (!parent && window) created.push_back(*window);
        return window.value_or(0);
    }
    // A CAD window as the host shows it: toolbar, status bar, then the drawing view.
    Hwnd makeCad(const std::string& title, Hwnd* view = nullptr) {
        const Hwnd frame = make("AfxFrame", title);
        // New windows go on top of their siblings: made last to first, they list first to last.
        const Hwnd drawing = make("Afx:view", "", frame);
        make("msctls_statusbar32", "", frame);
        make("Afx:toolbar", "", frame);
        if (view) *view = drawing;
        return frame;
    }
    void TearDown() override {
        for (Hwnd window : created)
            destroyWindow(window);
    }

    struct Received {
        Message message;
        Clock::time_point at;
    };
    std::vector<Hwnd> created;
    std::vector<Received> received;
};

TEST_F(BusWindows, FindsTheDrawingViewOfTheCadWindowWithADrawingName) {
    EXPECT_EQ(FindCadWindow('A', "ZortaPad"), 0u);
    Hwnd firstView = 0;
    Hwnd bracketView = 0;
    makeCad("AutoCAD 2021", &firstView);
    makeCad("Autodesk AutoCAD 2021 - [plan.dwg]", &bracketView);
    make("Other", "AUTODESK viewer");
    EXPECT_EQ(FindCadWindow('A', "ZortaPad"), bracketView);
    const Hwnd bare = make("Plain", "AUTOCAD LT [x]");
    EXPECT_EQ(FindCadWindow('A', "ZortaPad"), bracketView) << "AUTODESK comes before AUTOCAD";
    destroyWindow(created[1]);
    EXPECT_EQ(FindCadWindow('A', "ZortaPad"), created[2]) << "without a \"[\" the last candidate wins";
    destroyWindow(created[2]);
    EXPECT_EQ(FindCadWindow('A', "ZortaPad"), bare) << "a window without a drawing view is itself the result";
}

TEST_F(BusWindows, NamedDrawingAndSharedWindowComeFirst) {
    Hwnd planView = 0;
    makeCad("Autodesk AutoCAD 2021 - [OTHER.dwg]");
    makeCad("Autodesk AutoCAD 2021 - [PLAN.DWG]", &planView);
    makeCad("Autodesk AutoCAD 2021 - [Zed.dwg]");
    EXPECT_EQ(FindCadWindow('A', "QEL:plan 12 points"), planView);

    ASSERT_NE(g_pSZortaTAVRO, nullptr);
    const Hwnd shared = make("Shared", "anything");
    g_pSZortaTAVRO->cadWindow = shared;
    pvg->editorStartWord = 77;
    EXPECT_EQ(FindCadWindow('A', "ZortaPad"), shared);
    EXPECT_EQ(pvg->editorStartWord, 77) << "the shared window is taken as it is";
    showWindow(shared, SW_HIDE);
    EXPECT_NE(FindCadWindow('A', "ZortaPad"), shared);
    EXPECT_EQ(pvg->editorStartWord, 0);
    g_pSZortaTAVRO->cadWindow = 0;
}

TEST_F(BusWindows, ModeBTakesTheFirstBaseWindow) {
    EXPECT_EQ(FindCadWindow('B', "ZortaPad"), 0u);
    const Hwnd first = make("Base", "BAS:ALPHA");
    make("Base", "bas:beta");
    const Hwnd beta = created.back();
    EXPECT_EQ(FindCadWindow('B', "QEL:beta"), beta);
    // The newest window is on top, so it is met first.
    EXPECT_EQ(FindCadWindow('B', "ZortaPad"), beta);
    destroyWindow(beta);
    EXPECT_EQ(FindCadWindow('B', "ZortaPad"), first);
}

TEST_F(BusWindows, PostsCharactersWithTheirScanBitsAndPauses) {
    const Hwnd target = make("Recorder", "recorder");
    const Clock::time_point start = Clock::now();
    EXPECT_EQ(PostKeystrokes(target, "a 1\n"), 4);
    const auto elapsed = Clock::now() - start;
    EXPECT_GE(elapsed, std::chrono::milliseconds(20 + 40 + 20 + 40));
    pumpMessages(0);
    ASSERT_EQ(received.size(), 4u);
    const std::string expected = "a 1\n";
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(received[i].message.wParam, static_cast<unsigned char>(expected[i]));
        EXPECT_EQ(received[i].message.lParam, 0xC0000001LL + (static_cast<long long>(expected[i]) << 16));
    }
    EXPECT_EQ(keystrokeLParam(' '), 0xC0200001LL);

    destroyWindow(target);
    const Clock::time_point gone = Clock::now();
    EXPECT_EQ(PostKeystrokes(target, std::string(200, 'x')), 0);
    EXPECT_LT(Clock::now() - gone, std::chrono::milliseconds(200 * 20)) << "a dead window gets no pauses";
}

class CadCommands : public BusWindows {
protected:
    static void SetUpTestSuite() { testing_support::qtApplication(); }
    void select(int from, int to) {
        QTextCursor cursor = view.textCursor();
        cursor.setPosition(from);
        cursor.setPosition(to, QTextCursor::KeepAnchor);
        view.setTextCursor(cursor);
    }
    std::string typed() {
        pumpMessages(0);
        std::string out;
        for (const Received& r : received)
            out += static_cast<char>(r.message.wParam);
        return out;
    }

    QPlainTextEdit view;
};

TEST_F(CadCommands, SendsEachSelectedLineAPointApart) {
    view.setPlainText("P1 X=1 Y=2\nnothing\n10,20,30\nXY 5 6\nP5 X=9 Y=9");
    EXPECT_EQ(OnSendCoordinates(view, "ZortaPad"), 0) << "no CAD window: nothing sent";
    Hwnd drawing = 0;
    makeCad("Autodesk AutoCAD 2021 - [Drawing1.dwg]", &drawing);
    // Lines 0 to 3, the selection ending at the start of line 4.
    select(0, static_cast<int>(view.toPlainText().indexOf("P5")));
    const Clock::time_point start = Clock::now();
    EXPECT_EQ(OnSendCoordinates(view, "ZortaPad"), 3);
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(3 * 100));
    EXPECT_EQ(typed(), "1.00,2.00\n10.00,20.00,30.00\n5.00,6.00\n");
    EXPECT_EQ(received.front().message.window, drawing);

    received.clear();
    view.setPlainText("1250,3320,15");
    select(5, 9); // "3320"
    EXPECT_EQ(OnSendCoordinates(view, "ZortaPad"), 1);
    EXPECT_EQ(typed(), "3320.00,15.00\n") << "a selection inside one line sends that line from its start";
}

TEST_F(CadCommands, ZoomsOnTheCaretLine) {
    Hwnd drawing = 0;
    const Hwnd frame = makeCad("Autodesk AutoCAD 2021 - [Drawing1.dwg]", &drawing);
    view.setPlainText("no numbers");
    EXPECT_FALSE(OnCadZoom(view, "ZortaPad"));
    view.setPlainText("PT12 X=1250.5 Y=3320.25 Z=101.7");
    EXPECT_TRUE(OnCadZoom(view, "ZortaPad"));
    EXPECT_EQ(typed(), "'_zoom\nc\n1250.50,3320.25,101.70\n\n");
    EXPECT_EQ(window_table::foreground(), frame);

    // A CAD window without a drawing view has no parent to bring: it comes itself.
    destroyWindow(frame);
    const Hwnd bare = make("Plain", "AUTOCAD [plan.dwg]");
    received.clear();
    EXPECT_TRUE(OnCadZoom(view, "ZortaPad"));
    EXPECT_EQ(window_table::foreground(), bare);
    EXPECT_EQ(typed(), "'_zoom\nc\n1250.50,3320.25,101.70\n\n");
}

TEST_F(CadCommands, AHugeSelectionIsRefusedWithAMessage) {
    makeCad("Autodesk AutoCAD 2021 - [Drawing1.dwg]");
    QString text;
    for (int i = 0; i < 10000; ++i)
        text += QStringLiteral("P X=%1 Y=2\n").arg(i);
    view.setPlainText(text);
    select(0, static_cast<int>(text.size()));
    testing_support::ScriptedBoxes boxes;
    EXPECT_EQ(OnSendCoordinates(view, "ZortaPad"), 0);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_NE(boxes.texts[0].find("10000 lignes"), std::string::npos) << boxes.texts[0];
    EXPECT_EQ(typed(), "");
}

} // namespace
