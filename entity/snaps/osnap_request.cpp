#include "entity/snaps/osnap_request.h"

#include "cadutil/resbuf/cresbuf.h"
#include "entity/core/poly_arc3d.h"
#include "entity/core/vertex_name.h"
#include "platform/base/ptr_array.h"

#include <cstring>

SnapContext g_snapContext;

namespace {

CPtrArray* g_requests = nullptr;

// Distance of p from the line through the pick along the view direction; 0 without a view.
double distanceFromViewLine(const CPoint3d& p) {
    if (!g_snapContext.viewXform || !g_snapContext.pick) return 0;
    const AcGeMatrix3d& m = *g_snapContext.viewXform;
    CPoint3d direction(m(2, 0), m(2, 1), m(2, 2));
    const double length = direction.dist3d();
    if (length == 0) return 0;
    direction /= length;
    const CPoint3d d = p - *g_snapContext.pick;
    return (d - direction * d.scalarProduct(direction)).dist3d();
}

} // namespace

OsnapRequest::OsnapRequest(CPolyArc3D* entity)
    : m_entity(entity), m_bestDistance(1e6), m_bestIndex(-1), m_bestMode(0), m_name{0, 0}, m_bestVertex{0, 0},
      m_candidates(new Cresbuf), m_count(0) {
    if (entity) acdbGetAdsName(m_name, entity->objectId());
    if (g_requests) g_requests->Add(this);
}

OsnapRequest::~OsnapRequest() {
    if (g_requests)
        for (int i = g_requests->GetSize() - 1; i >= 0; --i)
            if ((*g_requests)[i] == this) {
                g_requests->RemoveAt(i);
                break;
            }
    delete m_candidates;
}

void OsnapRequest::Reset() {
    m_bestIndex = -1;
    m_candidates->RemoveAll();
    m_count = 0;
    m_bestDistance = 1e6;
}

void OsnapRequest::AddPoint(const CPoint3d& point, int mode) {
    if (m_count < 0) Reset();
    const double distance = distanceFromViewLine(point);
    const P_Vertex* vertex = g_snapContext.start;
    if (g_snapContext.other && m_entity &&
        (point - m_entity->WorldPoint(g_snapContext.other)).dist3d() < 1e-5)
        vertex = g_snapContext.other;
    ads_name name;
    makeVName(name, m_name[0], vertex);
    ++m_count;

    const bool best = distance < m_bestDistance;
    if (best) {
        std::memcpy(m_bestVertex, name, sizeof name);
        m_bestDistance = distance;
        m_bestIndex = g_snapContext.index;
        m_bestMode = mode;
        m_bestPoint = point;
    }
    const ads_point at = {point.x, point.y, point.z};
    Cresbufval open(RTLB, 0), close(RTLE, 0), p(at), n(name), d(distance), m(RTSHORT, mode),
        index(RTLONG, g_snapContext.index);
    resbuf* after = best ? nullptr : m_candidates->tail();
    for (const resbuf* item :
         {static_cast<const resbuf*>(&open), static_cast<const resbuf*>(&p), static_cast<const resbuf*>(&n),
          static_cast<const resbuf*>(&d), static_cast<const resbuf*>(&m), static_cast<const resbuf*>(&index),
          static_cast<const resbuf*>(&close)})
        after = m_candidates->InsertAfter(after, item);
}

int OsnapRequest::FindPoint(const CPoint3d& point) {
    for (resbuf* rb = m_candidates->head(); rb; rb = rb->rbnext) {
        if (rb->restype != RT3DPOINT) continue;
        const CPoint3d listed(rb->resval.rpoint[0], rb->resval.rpoint[1], rb->resval.rpoint[2]);
        if (!(listed == point)) continue;
        const resbuf* name = rb->rbnext;
        const resbuf* mode = name ? name->rbnext->rbnext : nullptr;
        const resbuf* index = mode ? mode->rbnext : nullptr;
        if (!index) return -1;
        m_bestPoint = listed;
        std::memcpy(m_bestVertex, name->resval.rlname, sizeof m_bestVertex);
        m_bestMode = mode->resval.rint;
        m_bestIndex = index->resval.rlong;
        return m_bestIndex;
    }
    return -1;
}

OsnapRequest* OsnapRequest::find(const CPolyArc3D* entity) {
    if (!g_requests || !entity) return nullptr;
    for (int i = 0; i < g_requests->GetSize(); ++i) {
        auto* request = static_cast<OsnapRequest*>((*g_requests)[i]);
        if (request->m_entity == entity) return request;
    }
    return nullptr;
}

void OsnapRequest::createRegistry() {
    if (!g_requests) g_requests = new CPtrArray;
}

void OsnapRequest::destroyRegistry() {
    delete g_requests;
    g_requests = nullptr;
}
