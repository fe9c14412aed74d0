#include "entity/core/poly_arc3d.h"

#include "entity/core/class_state.h"
#include "geometry/points/angle_units.h"

namespace {
// Inline in the change notice, which runs once per vertex appended.
void noteLastKind(int kind) {
    if (kind == CPolyArc3D::kTavroKind || kind == CPolyArc3D::kPolyArcKind) entity_state::lastKind = kind;
}
} // namespace

void CPolyArc3D::POLYModif(char) {
    noteLastKind(m_Kind);
    assertWriteEnabled(true, true);
    newChangeStamp();
}

void CPolyArc3D::setLastFlagCPolyArc3D() const {
    noteLastKind(m_Kind);
}

void CPolyArc3D::f39(double v) {
    changeField(m_f39, v == _RVIDE ? 0.0 : v);
}

void CPolyArc3D::f70(short v) {
    changeField(m_f70, v);
}

void CPolyArc3D::f71(short v) {
    changeField(m_f71, v);
}

void CPolyArc3D::f42(double v) {
    changeField(m_f42, v);
}

void CPolyArc3D::f43(double v) {
    changeField(m_f43, v);
}

CPolyArc3D* CPolyArc3D::newCPolyArc3D() {
    return allocate<CPolyArc3D>();
}

double CPolyArc3D::getArea3d(double) const {
    return 0.0;
}

int CPolyArc3D::DrawExt(double, int) {
    return 1;
}

bool CPolyArc3D::subWorldDraw(AcGiWorldDraw*) {
    return false;
}
