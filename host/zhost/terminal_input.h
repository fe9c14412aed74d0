#pragma once
// Lines typed at a terminal, edited and recalled as in a shell (Up/Down, Left/Right, Home/End, Ctrl+U),
// with the history kept across sessions; a LISP form goes on over the lines typed until it is closed. Ctrl+C
// is taken as a cancel rather than the end of zhost: the session's work is kept. A lone Escape key cancels
// too; Ctrl+D at the start of a line ends the input.
#include <string>

struct editline;
struct history;

namespace zhost {

enum class TerminalRead { Line, Cancel, End };

// While it lives, Ctrl+C interrupts the reading of a line instead of ending the process.
class CancelOnInterrupt {
public:
    CancelOnInterrupt();
    ~CancelOnInterrupt();
    CancelOnInterrupt(const CancelOnInterrupt&) = delete;
    CancelOnInterrupt& operator=(const CancelOnInterrupt&) = delete;
};

// The line editor of standard input, a terminal; its history is "zhost/history" in the user's
// configuration folder.
class TerminalLineEditor {
public:
    TerminalLineEditor();
    ~TerminalLineEditor();
    TerminalLineEditor(const TerminalLineEditor&) = delete;
    TerminalLineEditor& operator=(const TerminalLineEditor&) = delete;

    // Reads the next entry typed after `prompt`, already shown on the terminal: a line (without its line
    // end), or a LISP form its first line leaves open with the lines that close it, joined by line ends.
    // Each further line is asked for as the CAD program's console asks: "((_> " while two brackets are open,
    // "(\"_> " inside a string. The entry is one item of the history; a cancel drops what was typed of it.
    TerminalRead read(const std::string& prompt, std::string& entry);

private:
    static char* promptOf(editline* editor);
    TerminalRead readLine(const std::string& prompt, std::string& line);
    void remember(const std::string& line);

    editline* m_editor = nullptr;
    history* m_history = nullptr;
    std::string m_historyPath;
    std::string m_prompt;
};

} // namespace zhost
