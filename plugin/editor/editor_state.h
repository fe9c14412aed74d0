#pragma once
// What the polyline editor keeps for the whole process, host command thread only: the view test's mode and
// last point, the OSMODE memories of the drags that swap their own OSMODE in, the attributes waiting for the
// next new vertex, the standard keyword list and the error-beep counter.
#include <cstdint>
#include <string>

#include "geometry/points/point3d.h"

namespace editor_state {

// zoomTestMode: what viewTest does with a point.
constexpr int kNoViewTest = 0;
constexpr int kCentreView = 1;
constexpr int kPointInView = 2;

// Bits of the pending attributes' flag word.
constexpr int kAttributesPending = 0x4; // the next new vertex takes the attributes below
constexpr int kAttributesMemo = 0x2;
constexpr int kPendingBits = 0x7;

struct PendingAttributes {
    int flags = 0;
    std::int16_t code = 0; // tef1 and tef2 together
    std::int32_t i39 = 0;
    std::int32_t i40 = 0;
};

struct EditorGlobals {
    int zoomTestMode = kNoViewTest;
    // OSMODE of the contour-elevation prompt, of Way mode and of Go mode, each endpoint at first.
    int contourOsmode = 1;
    int wayOsmode = 1;
    int goOsmode = 1;
    PendingAttributes pending;
    CPoint3d lastViewPoint;
    int beepCount = 0;
};

EditorGlobals& globals();
// Back to the state of a fresh process (tests).
void reset();

// The standard keyword list as the host takes it: 47 local keywords, " _ ", their 47 global forms.
const std::string& standardKeywords();
// The number of keywords on each side of the list.
constexpr int kKeywordCount = 47;

// One error beep on the PC speaker while the process has sounded fewer than 5; the fifth is announced and
// every later one is silent.
void errorBeep();

} // namespace editor_state
