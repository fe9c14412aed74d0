#include "editor/cad_link/cad_window_search.h"

#include "services/startup/shared_records.h"
#include "services/str/str.h"

#include <string>

using namespace platform;

namespace {

constexpr std::size_t kTitleRead = 200;

std::string upper(std::string text) {
    STR::Majuscules(text.data());
    return text;
}

// The window whose title holds `pattern`; in mode 'A' the search goes on for a title that also holds "["
// (a drawing's name), and the last candidate wins when none does.
Hwnd enumerateTopLevel(char mode, const std::string& pattern) {
    Hwnd candidate = 0;
    for (const Hwnd window : window_table::topLevelWindows()) {
        const std::string title = upper(window_table::text(window).substr(0, kTitleRead));
        if (title.find(pattern) == std::string::npos) continue;
        candidate = window;
        if (mode != 'A' || title.find('[') != std::string::npos) break;
    }
    return candidate;
}

Hwnd drawingViewOf(Hwnd cadWindow) {
    bool statusBarSeen = false;
    for (Hwnd child = window_table::related(cadWindow, GW_CHILD); child;
         child = window_table::related(child, GW_HWNDNEXT)) {
        const std::string name = window_table::className(child);
        if (statusBarSeen && name.starts_with("Afx:")) return child;
        if (name.starts_with("msctls_statusbar")) statusBarSeen = true;
    }
    return cadWindow;
}

Hwnd sharedCadWindow() {
    if (!g_pSZortaTAVRO || !g_pSZortaTAVRO->cadWindow) return 0;
    const Hwnd window = g_pSZortaTAVRO->cadWindow;
    return window_table::isWindow(window) && (window_table::style(window) & WS_VISIBLE) ? window : 0;
}

} // namespace

Hwnd FindCadWindow(char mode, std::string_view editorTitle) {
    Hwnd found = 0;
    if (editorTitle.starts_with("QEL:")) {
        std::string_view name = editorTitle.substr(4);
        name = name.substr(0, name.find(' '));
        const std::string pattern =
            upper((mode == 'A' ? "[" : "BAS:") + std::string(name) + (mode == 'A' ? ".DWG]" : ""));
        found = enumerateTopLevel(mode, pattern);
    }
    if (!found && mode == 'A') {
        if (const Hwnd shared = sharedCadWindow()) return shared;
        found = enumerateTopLevel(mode, "AUTODESK ");
        if (!found) found = enumerateTopLevel(mode, "AUTOCAD ");
    }
    if (!found && mode == 'B') found = enumerateTopLevel(mode, "BAS:");
    if (!found || mode != 'A') return found;
    if (pvg) pvg->editorStartWord = 0;
    return drawingViewOf(found);
}
