#include "host/editor/status_bar.h"

namespace host {

namespace {

std::vector<MeterEvent> g_log;
bool g_shown = false;

} // namespace

const std::vector<MeterEvent>& statusBarLog() {
    return g_log;
}

void resetStatusBar() {
    g_log.clear();
    g_shown = false;
}

} // namespace host

using namespace host;

int acedSetStatusBarProgressMeter(const ACHAR* label, int minPos, int maxPos) {
    g_log.push_back({MeterEvent::Shown, label ? label : L"", minPos, maxPos});
    g_shown = true;
    return 0;
}

int acedSetStatusBarProgressMeterPos(int pos) {
    if (!g_shown) return -1;
    g_log.push_back({MeterEvent::Moved, L"", pos, 0});
    return 0;
}

void acedRestoreStatusBar() {
    g_log.push_back({MeterEvent::Restored, L"", 0, 0});
    g_shown = false;
}
