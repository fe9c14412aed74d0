#include "host/zhost/terminal_input.h"

#include <cerrno>
#include <csignal>
#include <unistd.h>

namespace zhost {

namespace {

volatile std::sig_atomic_t g_interrupted = 0;
struct sigaction g_previous {};

void onInterrupt(int) {
    g_interrupted = 1;
}

constexpr char kEscape = '\x1b';

} // namespace

CancelOnInterrupt::CancelOnInterrupt() {
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0; // no SA_RESTART: a read waiting for a line returns at once
    sigaction(SIGINT, &action, &g_previous);
}

CancelOnInterrupt::~CancelOnInterrupt() {
    sigaction(SIGINT, &g_previous, nullptr);
}

TerminalRead readTerminalLine(std::string& line) {
    line.clear();
    // A Ctrl+C pressed while a command worked cancels the next prompt.
    if (g_interrupted) {
        g_interrupted = 0;
        return TerminalRead::Cancel;
    }
    for (;;) {
        char c = 0;
        const ssize_t n = read(STDIN_FILENO, &c, 1);
        if (n < 0 && errno == EINTR) {
            if (!g_interrupted) continue;
            g_interrupted = 0;
            return TerminalRead::Cancel;
        }
        if (n <= 0) return line.empty() ? TerminalRead::End : TerminalRead::Line;
        if (c == '\n')
            return line.find(kEscape) == std::string::npos ? TerminalRead::Line : TerminalRead::Cancel;
        line.push_back(c);
    }
}

} // namespace zhost
