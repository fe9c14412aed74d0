#include "entity/curve/extend_cache.h"

ExtendCache g_ExtendCache;

void ExtendCache::reset() {
    if (!entity) return;
    entity = nullptr;
    bits = 0;
    startMoved = 0;
    endMoved = 0;
    points.setLogicalLength(0);
}

void ExtendCache::add(const CPolyArc3D* owner, const AcGePoint3d& point) {
    if (entity != owner) reset();
    entity = owner;
    points.append(point);
}

void ExtendCache::tearDown() {
    entity = nullptr;
    bits = 0;
    startMoved = 0;
    endMoved = 0;
    points.setPhysicalLength(0);
}
