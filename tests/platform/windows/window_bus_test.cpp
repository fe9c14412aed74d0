#include "platform/ipc/shared_segment.h"
#include "platform/windows/message_bus.h"
#include "platform/windows/process_memory.h"

#include "tests/platform/windows/window_bus_support.h"
#include "tests/support/user_mode_emulator.h"

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using namespace platform;
using testing_support::ChildProcess;
using testing_support::waitForWindow;
using testing_support::windowOwner;

constexpr std::uint32_t kAnswerPlusOne = WM_USER + 1;
constexpr std::uint32_t kRecordOrder = WM_USER + 2;
constexpr std::uint32_t kReportOrder = WM_USER + 3;

Hwnd create(const std::string& title, Hwnd parent = 0, WindowProc procedure = {}) {
    const std::optional<Hwnd> window = createWindow({"Test", title, parent, 0, WS_VISIBLE}, procedure);
    return window.value_or(0);
}

TEST(WindowTable, KeepsRelationsZOrderAndTitles) {
    const Hwnd frame = create("Cadre");
    const Hwnd client = create("", frame);
    const Hwnd first = create("Un", client);
    const Hwnd second = create("Deux", client);
    ASSERT_TRUE(frame && client && first && second);
    EXPECT_EQ(processOfHandle(frame), getpid());
    EXPECT_EQ(window_table::parent(first), client);
    EXPECT_EQ(window_table::related(frame, GW_CHILD), client);
    EXPECT_EQ(window_table::related(client, GW_CHILD), second) << "the newest child is on top";
    EXPECT_EQ(window_table::related(second, GW_HWNDNEXT), first);
    EXPECT_EQ(window_table::related(first, GW_HWNDPREV), second);
    EXPECT_EQ(window_table::descendants(frame), (std::vector<Hwnd>{client, second, first}));
    EXPECT_TRUE(window_table::bringToTop(first));
    EXPECT_EQ(window_table::related(client, GW_CHILD), first);

    EXPECT_TRUE(window_table::setText(frame, std::string(2000, 'x')));
    EXPECT_EQ(window_table::text(frame).size(), kWindowTitleLimit);
    EXPECT_EQ(window_table::className(frame), "Test");
    EXPECT_TRUE(window_table::isWindow(kDesktopWindow));
    EXPECT_EQ(processOfHandle(kDesktopWindow), 0);

    destroyWindow(frame);
    for (Hwnd gone : {frame, client, first, second})
        EXPECT_FALSE(window_table::isWindow(gone));
}

TEST(WindowTable, AFullTableRefusesClearly) {
    std::vector<Hwnd> made;
    std::string error;
    for (std::size_t i = 0; i <= kWindowTableCapacity; ++i) {
        const std::optional<Hwnd> window = createWindow({"Test", "plein", 0, 0, 0}, {}, &error);
        if (!window) break;
        made.push_back(*window);
    }
    EXPECT_LE(made.size(), kWindowTableCapacity);
    EXPECT_NE(error.find("pleine"), std::string::npos) << error;
    for (Hwnd window : made)
        destroyWindow(window);
    EXPECT_TRUE(create("encore"));
    destroyWindow(waitForWindow("encore"));
}

TEST(WindowTable, WindowsOfAnEndedProcessVanish) {
    ChildProcess owner = windowOwner("mourant", defWindowProc);
    const Hwnd window = waitForWindow("mourant");
    ASSERT_NE(window, 0u);
    EXPECT_TRUE(window_table::isWindow(window));
    owner.kill(SIGKILL);
    EXPECT_FALSE(window_table::isWindow(window));
    EXPECT_EQ(window_table::text(window), "");
    const auto started = std::chrono::steady_clock::now();
    EXPECT_FALSE(sendMessage(Message{window, WM_GETTEXT, 100, 0, {}}).delivered);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(1))
        << "a dead peer fails at once";
}

bool segmentExists(const std::string& object) {
    const int fd = shm_open(object.c_str(), O_RDONLY, 0);
    if (fd >= 0) close(fd);
    return fd >= 0;
}

// zwin with `arguments` in a namespace of its own (this one's, then "gone_").
ChildProcess zwin(std::vector<const char*> arguments) {
    return ChildProcess([arguments]() mutable {
        setenv("ZORTA_NAMESPACE", (std::string(std::getenv("ZORTA_NAMESPACE")) + "gone_").c_str(), 1);
        arguments.insert(arguments.begin(), ZWIN_PROGRAM);
        arguments.push_back(nullptr);
        execv(ZWIN_PROGRAM, const_cast<char* const*>(arguments.data()));
        return 127;
    });
}

TEST(WindowTable, TheLastProcessOutRemovesItAKilledOnesGoesAtTheNextStart) {
    const std::string table = segmentObjectName("gone_WindowTable");
    EXPECT_EQ(zwin({"list"}).wait(), 0);
    EXPECT_FALSE(segmentExists(table));

    ChildProcess waiting = zwin({"wait", "nothing", "20000"});
    for (int tries = 0; tries < 500 && !segmentExists(table); ++tries)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_TRUE(segmentExists(table));
    waiting.kill(SIGKILL);
    EXPECT_TRUE(segmentExists(table));
    EXPECT_EQ(zwin({}).wait(), 2); // a start that looks at no window
    EXPECT_FALSE(segmentExists(table));
}

TEST(MessageBus, TheCallingThreadsWindowIsDispatchedAtOnce) {
    const Hwnd window = create("direct", 0, [](Message& message) -> std::int64_t {
        return message.id == kAnswerPlusOne ? message.lParam + 1 : defWindowProc(message);
    });
    EXPECT_EQ(sendMessage(window, kAnswerPlusOne, 0, 41), 42);
    destroyWindow(window);
    EXPECT_EQ(sendMessage(window, kAnswerPlusOne, 0, 41), 0);
}

TEST(MessageBus, ProcessesSendingToEachOtherAtOnceDoNotDeadlock) {
    const Hwnd mine = create("parent", 0, [](Message& message) -> std::int64_t {
        return message.id == kAnswerPlusOne ? message.lParam + 1 : 0;
    });
    constexpr int kRounds = 50;
    ChildProcess child([&] {
        const auto theirs = createWindow({"Probe", "enfant", 0, 0, 0}, [](Message& message) -> std::int64_t {
            return message.id == kAnswerPlusOne ? message.lParam + 1 : 0;
        });
        if (!theirs) return 3;
        for (int i = 0; i < kRounds; ++i)
            if (sendMessage(mine, kAnswerPlusOne, 0, i) != i + 1) return 4;
        while (pumpMessages(500) > 0) { // serves the parent's last sends
        }
        return 0;
    });
    const Hwnd theirs = waitForWindow("enfant");
    ASSERT_NE(theirs, 0u);
    for (int i = 0; i < kRounds; ++i)
        ASSERT_EQ(sendMessage(theirs, kAnswerPlusOne, 0, 100 + i), 101 + i);
    while (window_table::isWindow(theirs)) // serves the child's last sends
        pumpMessages(50);
    EXPECT_EQ(child.wait(), 0);
    destroyWindow(mine);
}

TEST(MessageBus, AHungPeerFailsAtTheTimeOut) {
    ChildProcess hung([] {
        if (!createWindow({"Probe", "suspendu", 0, 0, 0}, defWindowProc)) return 3;
        pause(); // never pumps
        return 0;
    });
    const Hwnd window = waitForWindow("suspendu");
    ASSERT_NE(window, 0u);
    const auto started = std::chrono::steady_clock::now();
    const SendResult answer = sendMessage(Message{window, WM_GETTEXTLENGTH, 0, 0, {}}, 300);
    const auto waited = std::chrono::steady_clock::now() - started;
    EXPECT_FALSE(answer.delivered);
    EXPECT_EQ(answer.result, 0);
    EXPECT_LT(waited, std::chrono::seconds(3)) << "the time-out given, not the default";
    EXPECT_TRUE(postMessage(window, WM_USER)) << "a post does not wait for the receiver";
}

TEST(MessageBus, PostsArriveInTheOrderSent) {
    constexpr int kPosts = 10000;
    ChildProcess owner =
        windowOwner("ordre", [next = 0, inOrder = 0](Message& message) mutable -> std::int64_t {
            if (message.id == kRecordOrder) inOrder += static_cast<int>(message.wParam) == next++ ? 1 : 0;
            return message.id == kReportOrder ? inOrder : 0;
        });
    const Hwnd window = waitForWindow("ordre");
    ASSERT_NE(window, 0u);
    for (int i = 0; i < kPosts; ++i)
        ASSERT_TRUE(postMessage(window, kRecordOrder, static_cast<std::uint64_t>(i)));
    // Posts are served before the send that follows them on the same connection.
    EXPECT_EQ(sendMessage(Message{window, kReportOrder, 0, 0, {}}, 30000).result, kPosts);
    postMessage(window, WM_CLOSE);
    EXPECT_EQ(owner.wait(), 0);
}

TEST(MessageBus, CodePageTextTravelsBothWays) {
    ChildProcess owner = windowOwner("texte", defWindowProc);
    const Hwnd window = waitForWindow("texte");
    ASSERT_NE(window, 0u);
    const std::string title = "D\xE9j\xE0 vu \x80 \xFF";
    EXPECT_EQ(sendMessage(Message{window, WM_SETTEXT, 0, 0, title}).result, 1);
    EXPECT_EQ(window_table::text(window), title);
    const SendResult answer = sendMessage(Message{window, WM_GETTEXT, 5, 0, {}});
    EXPECT_EQ(answer.text, title.substr(0, 4)) << "cut to the buffer given, less its terminating zero";
    EXPECT_EQ(answer.result, 4);
    postMessage(window, WM_CLOSE);
    EXPECT_EQ(owner.wait(), 0);
}

TEST(MessageBus, ThePumpFilterEndsTheWaitWithoutDispatching) {
    int dispatched = 0;
    const Hwnd window = create("filtre", 0, [&](Message&) -> std::int64_t { return ++dispatched; });
    postMessage(window, WM_CHAR, 'a');
    postMessage(window, WM_CHAR, 27);
    postMessage(window, WM_CHAR, 'b');
    const auto escape = [](const Message& message) { return message.id == WM_CHAR && message.wParam == 27; };
    int served = 0;
    while (served >= 0 && served < 3)
        served = pumpMessages(1000, escape) < 0 ? -1 : served + 1;
    EXPECT_EQ(served, -1);
    EXPECT_EQ(dispatched, 1);
    EXPECT_EQ(pumpMessages(1000), 1) << "what followed the escape stays queued";
    destroyWindow(window);
}

TEST(MessageBus, TheForegroundTellsBothOwners) {
    std::vector<std::pair<Hwnd, std::uint64_t>> activations;
    const WindowProc record = [&](Message& message) -> std::int64_t {
        if (message.id == WM_ACTIVATE) activations.emplace_back(message.window, message.wParam);
        return 0;
    };
    const Hwnd first = create("premier", 0, record);
    const Hwnd second = create("second", 0, record);
    ASSERT_TRUE(setForegroundWindow(first));
    ASSERT_TRUE(setForegroundWindow(second));
    while (pumpMessages(200) > 0) {
    }
    EXPECT_EQ(window_table::foreground(), second);
    EXPECT_EQ(getActiveWindow(), second);
    EXPECT_EQ(window_table::topLevelWindows().front(), second);
    ASSERT_GE(activations.size(), 3u);
    EXPECT_EQ(activations[activations.size() - 2], std::make_pair(first, WA_INACTIVE));
    EXPECT_EQ(activations.back(), std::make_pair(second, WA_ACTIVE));

    EXPECT_TRUE(showWindow(first, SW_MINIMIZE));
    EXPECT_TRUE(window_table::style(first) & WS_MINIMIZE);
    showWindow(first, SW_RESTORE);
    EXPECT_FALSE(window_table::style(first) & WS_MINIMIZE);
    destroyWindow(first);
    destroyWindow(second);
    EXPECT_EQ(window_table::foreground(), 0u);
}

TEST(ProcessMemory, ReadsAndWritesWholeOrNotAtAll) {
    SKIP_UNDER_USER_MODE_EMULATOR("a guest address is not where the child's memory lies");
    static char shared[32] = "avant";
    ChildProcess child([] {
        pause();
        return 0;
    });
    const auto address = reinterpret_cast<std::uint64_t>(shared);
    EXPECT_TRUE(writeProcessMemory(child.pid(), address, "apres", 6));
    char read[6] = {};
    EXPECT_TRUE(readProcessMemory(child.pid(), address, read, sizeof read));
    EXPECT_STREQ(read, "apres");
    EXPECT_STREQ(shared, "avant") << "only the child's copy changed";
    EXPECT_FALSE(readProcessMemory(child.pid(), 0x10, read, sizeof read));
    const long page = sysconf(_SC_PAGESIZE);
    EXPECT_FALSE(readProcessMemory(child.pid(), 0x10, read, static_cast<std::size_t>(page) * 4));
    child.kill(SIGKILL);
    EXPECT_FALSE(readProcessMemory(child.pid(), address, read, sizeof read));
}

TEST(InputIdle, WaitsForTheFirstWindowOrTheEnd) {
    ChildProcess late([] {
        usleep(100000);
        if (!createWindow({"Probe", "tardif", 0, 0, 0}, defWindowProc)) return 3;
        pause();
        return 0;
    });
    EXPECT_EQ(waitForInputIdle(late.pid(), 5000), 0);
    ChildProcess never([] {
        pause();
        return 0;
    });
    EXPECT_EQ(waitForInputIdle(never.pid(), 100), 258);
    ChildProcess ends([] { return 0; });
    ends.wait();
    EXPECT_EQ(waitForInputIdle(ends.pid(), 5000), -1);
}

} // namespace
