#pragma once
// Checks the host makes on behalf of tests, at the moments a real host would suffer from a careless module:
// nothing may be open for write while a prompt or a drag waits for the user, nothing may stay open once a
// command has ended, and a command must leave document locks and undo groups as it found them. Each
// failure is printed on the command line and kept for tests to assert.
#include <functional>
#include <string>
#include <vector>

namespace host {

class EditorChecks {
public:
    // A prompt or a drag (`what`) is about to wait for input.
    void atPrompt(const wchar_t* what);
    // What a command starts with, compared at its end.
    struct CommandState {
        int lockDepth = 0;
        int undoDepth = 0;
    };
    CommandState commandStarts() const;
    // Closes what the command left open in the undo stack and reports every difference.
    void commandEnded(const std::wstring& command, const CommandState& start);

    const std::vector<std::wstring>& failures() const { return m_failures; }
    void clear() { m_failures.clear(); }

private:
    void fail(std::wstring message);
    // Reports what a command left (and puts it back) or released beyond what it took.
    void balance(int difference, const std::wstring& what, const std::wstring& command,
                 const std::function<void()>& putBack);
    std::vector<std::wstring> m_failures;
};

EditorChecks& editorChecks();

} // namespace host
