#pragma once
// Lines typed at a terminal, with Ctrl+C taken as a cancel rather than the end of zhost: the session's work
// is kept. Escape typed on a line cancels it too; Ctrl+D at the start of a line is the end of the input.
#include <string>

namespace zhost {

enum class TerminalRead { Line, Cancel, End };

// Reads the next line typed (without its line end) from standard input.
TerminalRead readTerminalLine(std::string& line);

// While it lives, Ctrl+C interrupts the reading of a line instead of ending the process.
class CancelOnInterrupt {
public:
    CancelOnInterrupt();
    ~CancelOnInterrupt();
    CancelOnInterrupt(const CancelOnInterrupt&) = delete;
    CancelOnInterrupt& operator=(const CancelOnInterrupt&) = delete;
};

} // namespace zhost
