#include "host/zhost/terminal_input.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <histedit.h>
#include <locale.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include "host/filing/text_codec.h"
#include "host/lisp/lisp_text.h"

namespace zhost {

namespace {

volatile std::sig_atomic_t g_interrupted = 0;
struct sigaction g_previous {};
bool g_escaped = false;
int g_pendingByte = -1; // the byte read after an Escape that began a key's sequence

// The handler's wake-up of a read waiting for a key: a Ctrl+C that comes after the flag was looked at, but
// before the read began, would not interrupt it.
int g_interruptPipe[2] = {-1, -1};

void onInterrupt(int) {
    g_interrupted = 1;
    const char wake = 0;
    if (g_interruptPipe[1] >= 0) {
        [[maybe_unused]] const ssize_t written = write(g_interruptPipe[1], &wake, 1); // full: awake already
    }
}

// Whether a Ctrl+C came since it was last taken.
bool takeInterrupt() {
    if (!g_interrupted) return false;
    g_interrupted = 0;
    char wakes[64];
    while (g_interruptPipe[0] >= 0 && ::read(g_interruptPipe[0], wakes, sizeof wakes) > 0) {
    }
    return true;
}

constexpr unsigned char kEscape = 0x1b;
constexpr int kEscapeSequenceWaitMs = 50; // the rest of an arrow key's sequence comes at once
constexpr std::size_t kHistorySize = 1000;

// "$XDG_CONFIG_HOME/zhost/history", else "~/.config/zhost/history", its folders made; empty without a home.
std::string historyPath() {
    std::string folder;
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config == '/') {
        folder = config;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        folder = std::string(home) + "/.config";
        mkdir(folder.c_str(), 0700);
    } else {
        return {};
    }
    folder += "/zhost";
    mkdir(folder.c_str(), 0700);
    return folder + "/history";
}

bool readByte(unsigned char& byte) {
    if (g_pendingByte >= 0) {
        byte = static_cast<unsigned char>(g_pendingByte);
        g_pendingByte = -1;
        return true;
    }
    pollfd waits[2] = {{STDIN_FILENO, POLLIN, 0}, {g_interruptPipe[0], POLLIN, 0}};
    const int ready = g_interrupted ? 0 : poll(waits, 2, -1);
    if (g_interrupted || (ready < 0 && errno == EINTR) || (ready > 0 && (waits[1].revents & POLLIN))) {
        errno = EINTR;
        return false;
    }
    errno = 0; // the end of the input leaves errno as it was: no earlier EINTR taken for a Ctrl+C
    const ssize_t n = ::read(STDIN_FILENO, &byte, 1);
    return n == 1;
}

bool byteFollowsSoon() {
    pollfd input{STDIN_FILENO, POLLIN, 0};
    return poll(&input, 1, kEscapeSequenceWaitMs) > 0;
}

// The editor's reading of one character: UTF-8 decoded, and a lone Escape (or Escape then Enter) taken as
// a cancel, where the editor would wait for the key it prefixes. -1 ends the line's reading.
int readCharacter(editline*, wchar_t* character) {
    unsigned char byte = 0;
    if (!readByte(byte)) {
        if (errno == EINTR) return -1;
        return 0;
    }
    if (byte == kEscape) {
        unsigned char next = 0;
        if (!byteFollowsSoon() || !readByte(next) || next == '\r' || next == '\n') {
            g_escaped = true;
            return -1;
        }
        // An arrow key or a Meta key: the editor reads the byte after the Escape next.
        *character = kEscape;
        g_pendingByte = next;
        return 1;
    }
    int length = byte < 0x80 ? 0 : byte >= 0xf0 ? 3 : byte >= 0xe0 ? 2 : byte >= 0xc0 ? 1 : -1;
    if (length < 0) return readCharacter(nullptr, character); // a stray continuation byte is dropped
    wchar_t value = length == 0 ? byte : byte & (0x3f >> length);
    for (; length > 0; --length) {
        if (!readByte(byte)) return errno == EINTR ? -1 : 0;
        value = (value << 6) | (byte & 0x3f);
    }
    *character = value;
    return 1;
}

// While it lives, the thread reads and writes characters as UTF-8, as zhost writes whatever the locale:
// the editor measures and writes its characters by LC_CTYPE, which the rest of zhost leaves as "C".
class Utf8Characters {
public:
    Utf8Characters() {
        static const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
        if (utf8) m_previous = uselocale(utf8);
    }
    ~Utf8Characters() {
        if (m_previous) uselocale(m_previous);
    }
    Utf8Characters(const Utf8Characters&) = delete;
    Utf8Characters& operator=(const Utf8Characters&) = delete;

private:
    locale_t m_previous = nullptr;
};

// The console's prompt for the next line of a form: a bracket for each one open, a quote inside a string.
std::string continuationPrompt(const host::LispTextEnd& end) {
    return std::string(static_cast<std::size_t>(end.openLists), '(') + (end.inString ? "\"" : "") + "_> ";
}

} // namespace

CancelOnInterrupt::CancelOnInterrupt() {
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0; // no SA_RESTART: a read waiting for a line returns at once
    if (pipe2(g_interruptPipe, O_CLOEXEC | O_NONBLOCK) != 0) g_interruptPipe[0] = g_interruptPipe[1] = -1;
    sigaction(SIGINT, &action, &g_previous);
}

CancelOnInterrupt::~CancelOnInterrupt() {
    sigaction(SIGINT, &g_previous, nullptr);
    for (int& end : g_interruptPipe) {
        if (end >= 0) close(end);
        end = -1;
    }
}

TerminalLineEditor::TerminalLineEditor() : m_historyPath(historyPath()) {
    const Utf8Characters utf8;
    m_history = history_init();
    HistEvent event;
    history(m_history, &event, H_SETSIZE, static_cast<int>(kHistorySize));
    history(m_history, &event, H_SETUNIQUE, 1);
    if (!m_historyPath.empty()) history(m_history, &event, H_LOAD, m_historyPath.c_str());
    m_editor = el_init("zhost", stdin, stdout, stderr);
    el_set(m_editor, EL_CLIENTDATA, this);
    el_set(m_editor, EL_EDITOR, "emacs");
    el_set(m_editor, EL_SIGNAL, 0); // Ctrl+C is zhost's cancel
    el_set(m_editor, EL_GETCFN, readCharacter);
    el_set(m_editor, EL_PROMPT, promptOf);
    el_set(m_editor, EL_HIST, history, m_history);
    el_source(m_editor, nullptr); // the user's ~/.editrc, as other programs using the editor read it
}

TerminalLineEditor::~TerminalLineEditor() {
    el_end(m_editor);
    history_end(m_history);
}

char* TerminalLineEditor::promptOf(editline* editor) {
    void* self = nullptr;
    el_get(editor, EL_CLIENTDATA, &self);
    return static_cast<TerminalLineEditor*>(self)->m_prompt.data();
}

void TerminalLineEditor::remember(const std::string& line) {
    if (line.find_first_not_of(' ') == std::string::npos) return;
    HistEvent event;
    history(m_history, &event, H_ENTER, line.c_str());
    if (!m_historyPath.empty()) history(m_history, &event, H_SAVE, m_historyPath.c_str());
}

TerminalRead TerminalLineEditor::read(const std::string& prompt, std::string& entry) {
    TerminalRead result = readLine(prompt, entry);
    std::string remembered = entry;
    for (std::wstring form = host::fromUtf8(entry);
         result == TerminalRead::Line && host::lispFormGoesOn(form); form = host::fromUtf8(entry)) {
        const host::LispTextEnd end = host::lispTextEnd(form);
        std::string line;
        result = readLine(continuationPrompt(end), line);
        entry += "\n" + line;
        // Where a line end means nothing to the reader, the history holds the form on one line.
        if (end.inString || end.inLineComment)
            remembered += "\n" + line;
        else if (const std::size_t first = line.find_first_not_of(" \t"); first != std::string::npos)
            remembered += " " + line.substr(first);
    }
    if (result != TerminalRead::Line) {
        entry.clear();
        return result;
    }
    remember(remembered);
    return result;
}

TerminalRead TerminalLineEditor::readLine(const std::string& prompt, std::string& line) {
    line.clear();
    // A Ctrl+C pressed while a command worked cancels the next prompt.
    if (takeInterrupt()) return TerminalRead::Cancel;
    // The editor shows the prompt again, over the one shown, to know where the line starts.
    m_prompt = prompt;
    std::fputs("\r", stdout);
    std::fflush(stdout);
    const Utf8Characters utf8;
    int count = 0;
    const char* typed = el_gets(m_editor, &count);
    if (!typed && (takeInterrupt() || g_escaped)) {
        g_escaped = false;
        el_reset(m_editor);
        return TerminalRead::Cancel;
    }
    if (!typed || count <= 0) return TerminalRead::End;
    line = typed;
    if (!line.empty() && line.back() == '\n') line.pop_back();
    return TerminalRead::Line;
}

} // namespace zhost
