#include "plugin/lisp/lisp_polyline.h"

#include "entity/core/poly_arc3d.h"
#include "entity/core/vertex_name.h"
#include "host/db/db_object.h"

namespace {

VertexNodeIndex g_index;

// The index brought up to the polyline's present list.
const VertexNodeIndex& indexOf(const CPolyArc3D* poly) {
    if (g_index.poly == poly && g_index.stamp == poly->changeStamp()) return g_index;
    g_index.poly = poly;
    g_index.stamp = poly->changeStamp();
    g_index.nodes.clear();
    for (const P_Vertex* v = poly->H(); v; v = v->N())
        g_index.nodes.insert(v);
    ++g_index.builds;
    return g_index;
}

} // namespace

const VertexNodeIndex& vertexNodeIndex() {
    return g_index;
}

LispPolyline::LispPolyline(Adesk::Int64 entityWord, AcDb::OpenMode mode) : m_word(entityWord) {
    const ads_name name = {entityWord, 0};
    AcDbObjectId id;
    if (entityWord == 0 || acdbGetObjectId(id, name) != Acad::eOk) return;
    AcDbEntity* entity = nullptr;
    if (acdbOpenObject(entity, id, mode, mode == AcDb::kForRead) != Acad::eOk) return;
    if (isCPolyArc3D(entity)) {
        m_poly = CPolyArc3D::cast(entity);
        m_knownStamp = m_poly->changeStamp();
    } else {
        entity->close();
    }
}

LispPolyline::~LispPolyline() {
    if (m_poly) m_poly->close();
}

P_Vertex* LispPolyline::vertex(Adesk::Int64 nodeWord) const {
    if (!m_poly || nodeWord == 0) return nullptr;
    auto* node = reinterpret_cast<P_Vertex*>(nodeWord);
    return indexOf(m_poly).nodes.contains(node) ? node : nullptr;
}

void LispPolyline::nameOf(const P_Vertex* v, ads_name out) const {
    makeVName(out, m_word, v);
}

bool LispPolyline::indexFollows() const {
    return g_index.poly == m_poly && g_index.stamp == m_knownStamp;
}

void LispPolyline::restamp() const {
    m_knownStamp = m_poly->changeStamp();
    g_index.stamp = m_knownStamp;
}

void LispPolyline::noteInserted(const P_Vertex* v) const {
    if (!indexFollows()) return;
    g_index.nodes.insert(v);
    restamp();
}

void LispPolyline::noteRemoved(const P_Vertex* v) const {
    if (!indexFollows()) return;
    g_index.nodes.erase(v);
    restamp();
}

void LispPolyline::announceChange() const {
    const bool follows = indexFollows();
    m_poly->POLYModif(1);
    if (follows) restamp();
}
