#include "host/win_msg_filter.h"

#include <algorithm>
#include <vector>

namespace {

std::vector<AcedFilterWinMsgFn>& filters() {
    static std::vector<AcedFilterWinMsgFn> list;
    return list;
}

DWORD& clock() {
    static DWORD now = 0;
    return now;
}

} // namespace

bool acedRegisterFilterWinMsg(AcedFilterWinMsgFn filter) {
    if (!filter || std::ranges::find(filters(), filter) != filters().end()) return false;
    filters().push_back(filter);
    return true;
}

bool acedRemoveFilterWinMsg(AcedFilterWinMsgFn filter) {
    auto it = std::ranges::find(filters(), filter);
    if (it == filters().end()) return false;
    filters().erase(it);
    return true;
}

namespace host {

bool offerKeyEvent(int virtualKey, bool down, DWORD time) {
    clock() = time ? time : clock() + 10;
    MSG msg{};
    msg.message = down ? WM_KEYDOWN : WM_KEYUP;
    msg.wParam = static_cast<WPARAM>(virtualKey);
    msg.time = clock();
    // A filter may remove itself (or another one) while it runs: walk a copy.
    std::vector<AcedFilterWinMsgFn> now = filters();
    for (AcedFilterWinMsgFn f : now)
        if (std::ranges::find(filters(), f) != filters().end() && f(&msg)) return true;
    return false;
}

int filterCount() {
    return static_cast<int>(filters().size());
}

void resetFilters() {
    filters().clear();
    clock() = 0;
}

} // namespace host
