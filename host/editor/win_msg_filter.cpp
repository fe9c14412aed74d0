#include "host/editor/win_msg_filter.h"

#include <algorithm>
#include <variant>
#include <vector>

namespace {

using Filter = std::variant<AcedFilterWinMsgFn, AcedFilterWinMsgIntFn>;

std::vector<Filter>& filters() {
    static std::vector<Filter> list;
    return list;
}

bool add(Filter filter) {
    if (std::ranges::find(filters(), filter) != filters().end()) return false;
    filters().push_back(filter);
    return true;
}

bool remove(Filter filter) {
    auto it = std::ranges::find(filters(), filter);
    if (it == filters().end()) return false;
    filters().erase(it);
    return true;
}

bool swallows(const Filter& filter, MSG* msg) {
    return std::visit([msg](auto f) { return f(msg) != 0; }, filter);
}

DWORD& clock() {
    static DWORD now = 0;
    return now;
}

} // namespace

bool acedRegisterFilterWinMsg(AcedFilterWinMsgFn filter) {
    return filter && add(filter);
}

bool acedRegisterFilterWinMsg(AcedFilterWinMsgIntFn filter) {
    return filter && add(filter);
}

bool acedRemoveFilterWinMsg(AcedFilterWinMsgFn filter) {
    return remove(filter);
}

bool acedRemoveFilterWinMsg(AcedFilterWinMsgIntFn filter) {
    return remove(filter);
}

namespace host {

bool offerKeyEvent(int virtualKey, bool down, DWORD time) {
    clock() = time ? time : clock() + 10;
    MSG msg{};
    msg.message = down ? WM_KEYDOWN : WM_KEYUP;
    msg.wParam = static_cast<WPARAM>(virtualKey);
    msg.time = clock();
    // A filter may remove itself (or another one) while it runs: walk a copy.
    std::vector<Filter> now = filters();
    for (const Filter& f : now)
        if (std::ranges::find(filters(), f) != filters().end() && swallows(f, &msg)) return true;
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
