#include "host/db/db_extents.h"

#include <algorithm>
#include <limits>

namespace {
constexpr double kHuge = std::numeric_limits<double>::max();
}

AcDbExtents::AcDbExtents() : m_min(kHuge, kHuge, kHuge), m_max(-kHuge, -kHuge, -kHuge) {}

void AcDbExtents::addPoint(const AcGePoint3d& p) {
    m_min = {std::min(m_min.x, p.x), std::min(m_min.y, p.y), std::min(m_min.z, p.z)};
    m_max = {std::max(m_max.x, p.x), std::max(m_max.y, p.y), std::max(m_max.z, p.z)};
}

void AcDbExtents::addExt(const AcDbExtents& other) {
    if (other.isEmpty()) return;
    addPoint(other.m_min);
    addPoint(other.m_max);
}

Acad::ErrorStatus AcDbExtents::set(const AcGePoint3d& min, const AcGePoint3d& max) {
    if (min.x > max.x || min.y > max.y || min.z > max.z) return Acad::eInvalidExtents;
    m_min = min;
    m_max = max;
    return Acad::eOk;
}

void AcDbExtents::transformBy(const AcGeMatrix3d& m) {
    if (isEmpty()) return;
    AcGePoint3d a = m_min, b = m_max;
    *this = AcDbExtents();
    for (int i = 0; i < 8; ++i)
        addPoint(AcGePoint3d(i & 1 ? b.x : a.x, i & 2 ? b.y : a.y, i & 4 ? b.z : a.z).transformBy(m));
}
