#include "services/dos/dos.h"

#include "platform/windows/message_bus.h"
#include "tests/platform/windows/window_bus_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

namespace {

using namespace platform;
using testing_support::ChildProcess;
using testing_support::waitForWindow;

constexpr std::uint32_t kReport = WM_USER + 20;

// A child with a frame and an edit control that records the characters and setting changes it hears; with
// `focused` the control has the focus.
ChildProcess typist(const std::string& title, bool focused) {
    return ChildProcess([title, focused] {
        std::string typed;
        Hwnd control = 0;
        const WindowProc record = [&](Message& message) -> std::int64_t {
            if (message.id == WM_CHAR)
                typed += std::string(1, static_cast<char>(message.wParam)) +
                         (message.window == control ? "@edit:" : "@frame:") + std::to_string(message.lParam) +
                         " ";
            if (message.id == WM_SETTINGCHANGE) typed += "setting " + message.text + " ";
            if (message.id == kReport) message.text = typed;
            return 0;
        };
        const auto frame = createWindow({"Probe", "", 0, 0, WS_VISIBLE}, record);
        const auto edit = createWindow({"Edit", "", *frame, 0, WS_VISIBLE}, record);
        if (!frame || !edit) return 3;
        control = *edit;
        if (focused) window_table::setFocus(*edit);
        window_table::setText(*frame, title);
        for (;;)
            pumpMessages(1000);
    });
}

std::string reportOf(Hwnd window) {
    return sendMessage(Message{window, kReport, 0, 0, {}}).text;
}

TEST(DosWindows, FindsWindowsByTitleStartAndByThread) {
    ChildProcess owner = typist("Fen\xEAtre de Recherche", false);
    const Hwnd window = waitForWindow("Fen\xEAtre de Recherche");
    ASSERT_NE(window, 0u);
    EXPECT_EQ(DOS::FindWindowA("fen\xEAtre de"), window) << "case ignored";
    EXPECT_EQ(DOS::FindWindowA("Fen\xEAtre de Recherche plus long"), 0u);
    EXPECT_EQ(DOS::GetMainThreadWindow(owner.pid()), window);
    EXPECT_EQ(DOS::GetMainThreadWindow(1), 0u);
}

TEST(DosWindows, ClavWriteTypesIntoTheFocusedControlOfAnotherProcess) {
    ChildProcess owner = typist("clavier", true);
    const Hwnd window = waitForWindow("clavier");
    ASSERT_NE(window, 0u);
    EXPECT_EQ(DOS::clav_write("A0x41B", window), 6);
    const std::string a = "@edit:" + std::to_string((0x1E << 16) + 1) + " ";
    const std::string b = "@edit:" + std::to_string((0x30 << 16) + 1) + " ";
    EXPECT_EQ(reportOf(window), "A" + a + "A" + a + "B" + b);
    EXPECT_EQ(window_table::foreground(), window);
    EXPECT_EQ(DOS::clav_write("", window), 0);
    EXPECT_EQ(DOS::clav_write(nullptr, window), 0);
}

TEST(DosWindows, ClavWriteWithoutAFocusTypesIntoTheTargetAfterASecond) {
    ChildProcess owner = typist("sans focus", false);
    const Hwnd window = waitForWindow("sans focus");
    ASSERT_NE(window, 0u);
    EXPECT_EQ(DOS::clav_write("z", window), 1);
    EXPECT_EQ(reportOf(window), "z@frame:" + std::to_string((0x2C << 16) + 1) + " ");
}

TEST(DosWindows, SleepServesMessagesAndEndsAtAPostedEscape) {
    std::string heard;
    const auto window = createWindow({"Probe", "dormeur", 0, 0, 0}, [&](Message& message) -> std::int64_t {
        if (message.id == WM_CHAR) heard += static_cast<char>(message.wParam);
        return 0;
    });
    ASSERT_TRUE(window);
    ChildProcess waker([&] {
        postMessage(*window, WM_CHAR, 'a');
        postMessage(*window, WM_CHAR, 27);
        return 0;
    });
    const auto started = std::chrono::steady_clock::now();
    SLEEP(20000);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
    EXPECT_EQ(heard, "a") << "the escape ends the wait without being dispatched";
    EXPECT_EQ(waker.wait(), 0);
    destroyWindow(*window);
}

TEST(DosWindows, SetEnvTellsEveryWindowAndPassesAHungOne) {
    ChildProcess hung([] {
        if (!createWindow({"Probe", "bloque", 0, 0, 0}, defWindowProc)) return 3;
        pause();
        return 0;
    });
    ChildProcess listener = typist("auditeur", false);
    const Hwnd window = waitForWindow("auditeur");
    ASSERT_NE(waitForWindow("bloque"), 0u);
    ASSERT_NE(window, 0u);
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(DOS::SetEnv("ZORTA_ESSAI", "oui", 0), 1);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(4))
        << "not the default time-out";
    EXPECT_EQ(reportOf(window), "setting Environment ");
}

} // namespace
