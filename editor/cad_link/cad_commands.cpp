#include "editor/cad_link/cad_commands.h"

#include "editor/app/command_ids.h"
#include "editor/app/command_table.h"
#include "editor/app/main_frame.h"
#include "editor/app/the_app.h"
#include "editor/cad_link/cad_window_search.h"
#include "editor/cad_link/coordinate_extraction.h"
#include "editor/cad_link/keystrokes.h"
#include "editor/document/pad_view.h"
#include "platform/ui/message_box.h"
#include "services/dos/dos.h"

#include <QPlainTextEdit>
#include <QTextBlock>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

using namespace platform;

namespace {

// Shorter texts cannot hold two numbers and a separator worth typing.
constexpr std::size_t kShortestSent = 4;
constexpr std::size_t kMostPointsSent = 1000;

// The lines of the selection; a selection that ends at the start of a line leaves that line out.
std::pair<int, int> selectedLines(const QTextCursor& cursor) {
    const QTextDocument& document = *cursor.document();
    const QTextBlock first = document.findBlock(cursor.selectionStart());
    const QTextBlock last = document.findBlock(cursor.selectionEnd());
    int lastLine = last.blockNumber();
    if (cursor.hasSelection() && lastLine > first.blockNumber() && cursor.selectionEnd() == last.position())
        --lastLine;
    return {first.blockNumber(), lastLine};
}

} // namespace

int OnSendCoordinates(const QPlainTextEdit& view, std::string_view editorTitle) {
    const auto [firstLine, lastLine] = selectedLines(view.textCursor());
    const Hwnd window = FindCadWindow('A', editorTitle);
    if (!window) return 0;
    std::vector<std::string> texts;
    int column = -1;
    for (int line = firstLine; line <= lastLine; ++line) {
        std::string text;
        int lineNumber = line;
        ExtractCoordinates(view, text, lineNumber, column);
        if (text.size() >= kShortestSent) texts.push_back(std::move(text));
    }
    // Each point takes the CAD program about half a second: more would hold the editor for many minutes.
    if (texts.size() > kMostPointsSent) {
        const std::string message = "Trop de coordonn\xE9"
                                    "es \xE0 envoyer : " +
                                    std::to_string(texts.size()) + " lignes, " +
                                    std::to_string(kMostPointsSent) + " au plus.";
        messageBox(0, message.c_str(), "ZortaPad", MB_OK | MB_ICONWARNING);
        return 0;
    }
    MyForegroundWindow(window);
    int sent = 0;
    for (const std::string& text : texts) {
        // A window that takes nothing more is gone: the rest would only be skipped one by one.
        if (PostKeystrokes(window, text + "\n") == 0) break;
        ++sent;
        // The CAD program takes one point before the next is typed; nothing is served meanwhile.
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return sent;
}

bool OnCadZoom(const QPlainTextEdit& view, std::string_view editorTitle) {
    const Hwnd window = FindCadWindow('A', editorTitle);
    if (!window) return false;
    // The drawing view's frame comes to the front; a window found without a view is itself the frame.
    const Hwnd parent = window_table::parent(window);
    MyForegroundWindow(parent && parent != kDesktopWindow ? parent : window);
    std::string text;
    int line = -1;
    int column = -1;
    ExtractCoordinates(view, text, line, column);
    if (text.size() < kShortestSent) return false;
    PostKeystrokes(window, "'_zoom\nc\n" + text + "\n\n");
    return true;
}

void connectCadLinkCommands(CommandTable& table) {
    const auto editorTitle = [] { return window_table::text(CTheApp::instance().mainFrame()->handle()); };
    table.connectOnView(pad_command::kSendCoordinates,
                        [editorTitle](CPadView* view) { OnSendCoordinates(*view, editorTitle()); });
    table.connectOnView(pad_command::kCadZoom,
                        [editorTitle](CPadView* view) { OnCadZoom(*view, editorTitle()); });
}
