#pragma once
// ExtendCache: what the host's EXTEND in the adjust mode of ZOR_EXTEND leaves between its calls on one
// polyline. EXTEND asks for the extension several times before it moves anything; the points asked for are
// cached with the parameter to answer for them, so that its later parameter queries find the end it means.
// Process-wide, host command thread only.
#include <cstdint>

#include "host/rx/ac_array.h"

class CPolyArc3D;

class ExtendCache {
public:
    // Bits of the bit word.
    static constexpr int kExtendSeen = 1;     // an extend call since the reset
    static constexpr int kMiddleInserted = 2; // a middle vertex went into a two-vertex polyline

    // The entity last extended; null when empty.
    const CPolyArc3D* entity = nullptr;
    int bits = 0;
    // Set once that side was really moved.
    std::int32_t startMoved = 0;
    std::int32_t endMoved = 0;
    // x and y: the local x and y of a projected point; z: the parameter to answer for it.
    AcGePoint3dArray points;

    // Empties the cache; nothing happens while it holds no entity.
    void reset();
    // Caches a point for `owner`, first emptying a cache that belonged to another entity.
    void add(const CPolyArc3D* owner, const AcGePoint3d& point);
    // At unload: emptied, its storage given back.
    void tearDown();
};

extern ExtendCache g_ExtendCache;
