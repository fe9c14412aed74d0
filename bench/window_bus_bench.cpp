// The window bus across processes: a SendMessage round trip, next to a round trip over a pair of pipes
// between the same two processes (the anchor), and 10,000 lines printed into the editor's global text screen,
// next to 10,000 lines written to a pipe that another process drains.
#include <benchmark/benchmark.h>

#include "platform/windows/message_bus.h"
#include "services/output/tavropad.h"
#include "services/startup/shared_records.h"

#include <csignal>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace platform;

constexpr std::uint32_t kEcho = WM_USER + 1;
constexpr int kLines = 10000;

// A child that owns a window answering kEcho with its lParam, until it is killed.
pid_t echoWindowOwner() {
    const pid_t pid = fork();
    if (pid == 0) {
        createWindow({"Bench", "echo", 0, 0, 0},
                     [](Message& message) -> std::int64_t { return message.lParam; });
        for (;;)
            pumpMessages(1000);
    }
    return pid;
}

Hwnd windowTitled(const std::string& title) {
    for (int tries = 0; tries < 500; ++tries) {
        for (Hwnd window : window_table::topLevelWindows())
            if (window_table::text(window) == title) return window;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return 0;
}

void SendMessageRoundTrip(benchmark::State& state) {
    const pid_t owner = echoWindowOwner();
    const Hwnd window = windowTitled("echo");
    std::int64_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(sendMessage(window, kEcho, 0, ++i));
    kill(owner, SIGKILL);
    waitpid(owner, nullptr, 0);
}
BENCHMARK(SendMessageRoundTrip)->Unit(benchmark::kMicrosecond);

// The anchor: one byte there and back over two pipes.
void PipeRoundTrip(benchmark::State& state) {
    int there[2];
    int back[2];
    if (pipe(there) != 0 || pipe(back) != 0) return;
    const pid_t echo = fork();
    if (echo == 0) {
        close(there[1]);
        close(back[0]);
        char byte;
        while (read(there[0], &byte, 1) == 1 && write(back[1], &byte, 1) == 1) {
        }
        _exit(0);
    }
    char byte = 'x';
    for (auto _ : state) {
        benchmark::DoNotOptimize(write(there[1], &byte, 1));
        benchmark::DoNotOptimize(read(back[0], &byte, 1));
    }
    close(there[1]);
    waitpid(echo, nullptr, 0);
    close(there[0]);
    close(back[0]);
    close(back[1]);
}
BENCHMARK(PipeRoundTrip)->Unit(benchmark::kMicrosecond);

// Needs ZortaPad next to this program and QT_QPA_PLATFORM=offscreen without a display.
void LinesIntoTheGlobalScreen(benchmark::State& state) {
    if (!g_pTpadG || !g_pTpadG->Text(1)) {
        state.SkipWithError("no editor");
        return;
    }
    for (auto _ : state) {
        for (int line = 0; line < kLines; ++line)
            g_pTpadG->print("Point 1234 X=652000.123 Y=6234000.456 Z=420.789\n");
    }
    state.SetItemsProcessed(state.iterations() * kLines);
    sendMessage(g_pTpadG->frameWindow, WM_CLOSE);
}
// Wall time: the lines are in the screen when the editor has taken them, whatever this process's CPU did.
BENCHMARK(LinesIntoTheGlobalScreen)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

// The anchor: the same lines written one by one to a pipe that another process drains.
void LinesIntoAPipe(benchmark::State& state) {
    int fds[2];
    if (pipe(fds) != 0) return;
    const pid_t drain = fork();
    if (drain == 0) {
        close(fds[1]);
        char buffer[4096];
        while (read(fds[0], buffer, sizeof buffer) > 0) {
        }
        _exit(0);
    }
    close(fds[0]);
    const std::string line = "Point 1234 X=652000.123 Y=6234000.456 Z=420.789\r\n";
    for (auto _ : state)
        for (int i = 0; i < kLines; ++i)
            benchmark::DoNotOptimize(write(fds[1], line.data(), line.size()));
    state.SetItemsProcessed(state.iterations() * kLines);
    close(fds[1]);
    waitpid(drain, nullptr, 0);
}
BENCHMARK(LinesIntoAPipe)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

} // namespace
BENCHMARK_MAIN();
