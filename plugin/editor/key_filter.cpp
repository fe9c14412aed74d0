// The key filter of the segment jig: while a jig asks for a point, a direction or a walk, navigation keys and
// a short tap of Shift become the editor's keywords, typed for the document as if the user had entered them.
#include <cstdint>
#include <string>

#include "host/editor/documents.h"
#include "plugin/editor/segment_jig.h"

namespace {

// A Shift press this recent (ms) prefixes the next navigation key with the keyword W; a tap released
// within it enters W alone.
constexpr std::int64_t kShiftWindow = 2000;
// The Shift time when no Shift press is waiting.
constexpr DWORD kShiftUnset = 1;
constexpr const ACHAR* kShiftKeyword = L"_W\r";

enum Latch { kBack, kDelete, kShift, kEnd, kHome, kLeft, kRight, kDown, kLatchCount };

struct FilterState {
    SegmentJig* current = nullptr;
    int users = 0;
    int typed = 0;
    DWORD shiftTime = kShiftUnset;
    bool latches[kLatchCount] = {};
};

FilterState& state() {
    static FilterState s;
    return s;
}

// The latch of a key the filter handles, or -1.
int latchOf(WPARAM key) {
    switch (key) {
    case VK_BACK:
        return kBack;
    case VK_DELETE:
    case VK_CLEAR:
        return kDelete;
    case VK_SHIFT:
        return kShift;
    case VK_END:
        return kEnd;
    case VK_HOME:
        return kHome;
    case VK_LEFT:
        return kLeft;
    case VK_RIGHT:
        return kRight;
    case VK_DOWN:
        return kDown;
    default:
        return -1;
    }
}

// The keyword a navigation key enters, and whether a recent Shift press may prefix it with W.
const ACHAR* navigationKeyword(WPARAM key, bool& prefixed) {
    prefixed = key != VK_DOWN;
    switch (key) {
    case VK_END:
        return L"_GE\r";
    case VK_HOME:
        return L"_GH\r";
    case VK_LEFT:
        return L"_B\r";
    case VK_RIGHT:
        return L"_N\r";
    case VK_DOWN:
        return L"_HA\r";
    default:
        return nullptr;
    }
}

// A key press: the text it enters (empty: none) and whether it is swallowed.
bool keyDown(const MSG& message, int mode, std::wstring& text) {
    FilterState& s = state();
    const WPARAM key = message.wParam;
    const std::int64_t sinceShift = std::int64_t(message.time) - std::int64_t(s.shiftTime);
    const bool shiftRecent =
        sinceShift >= 0 && sinceShift < kShiftWindow && mode != SegmentJig::kWay && s.typed == 0;
    const int latch = latchOf(key);
    switch (key) {
    case VK_BACK:
        if (s.typed > 0) {
            --s.typed;
            return false;
        }
        // Every repeat takes one more point back.
        text = L"_U\r";
        s.latches[kBack] = true;
        return true;
    case VK_DELETE:
    case VK_CLEAR:
        if (s.typed == 0 && !s.latches[kDelete]) {
            text = L"_FD\r";
            s.latches[kDelete] = true;
            return true;
        }
        if (s.typed > 0) --s.typed;
        return false;
    case VK_SHIFT:
        if (s.typed == 0 && !s.latches[kShift]) {
            s.shiftTime = message.time;
            s.latches[kShift] = true;
        }
        return false;
    case VK_SPACE:
        s.shiftTime = 0;
        return false;
    default:
        break;
    }
    bool prefixed = false;
    if (const ACHAR* keyword = navigationKeyword(key, prefixed)) {
        if (s.typed != 0 || s.latches[latch]) return false;
        if (prefixed && shiftRecent) text = kShiftKeyword;
        text += keyword;
        s.latches[latch] = true;
        return true;
    }
    if ((key >= 33 && key <= 143) || key > 185) ++s.typed;
    return false;
}

// A key release: whether it is swallowed.
bool keyUp(const MSG& message, int mode, std::wstring& text) {
    FilterState& s = state();
    const int latch = latchOf(message.wParam);
    if (latch < 0) return false;
    if (latch == kShift) {
        const std::int64_t held = std::int64_t(message.time) - std::int64_t(s.shiftTime);
        if ((held < 0 ? -held : held) < kShiftWindow && s.typed == 0 && mode != SegmentJig::kWay &&
            s.latches[kShift])
            text = kShiftKeyword;
        s.latches[kShift] = false;
        s.shiftTime = kShiftUnset;
        return false;
    }
    // A release whose press was swallowed is swallowed too.
    const bool swallowed = s.latches[latch];
    s.latches[latch] = false;
    return swallowed;
}

} // namespace

SegmentJig* SegmentJig::currentJig() {
    return state().current;
}

void SegmentJig::setCurrentJig(SegmentJig* jig) {
    state().current = jig;
}

void SegmentJig::resetKeyState() {
    FilterState& s = state();
    s.current = nullptr;
    s.typed = 0;
    s.shiftTime = kShiftUnset;
    for (bool& latch : s.latches)
        latch = false;
}

int& SegmentJig::typedCount() {
    return state().typed;
}

int SegmentJig::filterUsers() {
    return state().users;
}

void SegmentJig::addFilterUser() {
    FilterState& s = state();
    if (s.users < 1) acedRegisterFilterWinMsg(&SegmentJig::hostFilter);
    ++s.users;
    s.shiftTime = kShiftUnset;
}

void SegmentJig::removeFilterUser() {
    FilterState& s = state();
    if (--s.users <= 0) {
        s.users = 0;
        acedRemoveFilterWinMsg(&SegmentJig::hostFilter);
    }
}

bool SegmentJig::filterWinMsg(MSG* message) {
    try {
        SegmentJig* jig = currentJig();
        if (!message || !jig) return false;
        const int mode = jig->m_mode;
        if (mode != kNextPoint && mode != kGo && mode != kWay) return false;
        std::wstring text;
        bool swallowed = false;
        if (message->message == WM_KEYDOWN)
            swallowed = keyDown(*message, mode, text);
        else if (message->message == WM_KEYUP)
            swallowed = keyUp(*message, mode, text);
        if (text.starts_with(kShiftKeyword)) state().shiftTime = kShiftUnset;
        if (!text.empty())
            acDocManager->sendStringToExecute(acDocManager->curDocument(), text.c_str(), false, true, false);
        return swallowed;
    } catch (...) {
        return false;
    }
}
