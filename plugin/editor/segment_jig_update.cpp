// The segment jig's update: what each mode does with the sampled point, and the outside cursor routine.
#include <unordered_set>

#include "cadutil/database/host_variables.h"
#include "geometry/arcs/arc3d.h"
#include "geometry/points/angle_units.h"
#include "platform/system/loaded_modules.h"
#include "plugin/editor/own_point.h"
#include "plugin/editor/qpoly_edit.h"
#include "plugin/editor/segment_jig.h"

namespace {

int g_updateStep = 0;

struct DynCursorLookup {
    bool done = false;
    SegmentJig::DynCursorFn routine = nullptr;
};

DynCursorLookup& dynCursorLookup() {
    static DynCursorLookup lookup;
    return lookup;
}

// Header flags of the walk's working polyline: bit 0 draws it closed, bit 8 marks a walk in progress.
constexpr short kWalkClosed = 1;
constexpr short kWalkPending = 0x100;

} // namespace

int SegmentJig::updateStep() {
    return g_updateStep;
}

SegmentJig::DynCursorFn SegmentJig::dynCursor() {
    DynCursorLookup& lookup = dynCursorLookup();
    if (!lookup.done) {
        lookup.done = true;
        // Only a module someone else loaded: the plug-in never loads it.
        if (void* module = platform::findLoadedModule("ZORTAOpenGl64.dll"))
            lookup.routine =
                reinterpret_cast<DynCursorFn>(platform::findModuleSymbol(module, "setDynCursor"));
    }
    return lookup.routine;
}

void SegmentJig::resetProcessState() {
    dynCursorLookup() = {};
    g_updateStep = 0;
    resetKeyState();
}

bool SegmentJig::update() {
    g_updateStep = 1;
    dynCursor();
    g_updateStep = 2;
    const CPoint3d p = m_poly ? ownPoint(*m_poly, m_sampled) : m_sampled;
    switch (m_mode) {
    case kNextPoint:
        g_updateStep = 4;
        if (!m_poly) break;
        if (m_moving) m_moving->pt = p;
        m_poly->lisse(m_poly->H(), m_poly->T(), m_startTangent, m_endTangent);
        if (DynCursorFn routine = dynCursor();
            routine && m_poly->GetCount() >= 2 && routine(nullptr, 0, nullptr))
            routine(m_poly->H(), m_cursorCount, const_cast<Mat3D*>(m_poly->normalMatrix()));
        break;
    case kGo:
        g_updateStep = 5;
        if (m_moving) m_moving->pt = p;
        break;
    case kWay:
        g_updateStep = 7;
        updateWalk(p);
        break;
    case kDisplace:
        g_updateStep = 8;
        updateDisplacement(p);
        break;
    case kShape:
        g_updateStep = 10;
        if (m_session && m_poly && m_poly->T()) {
            m_poly->T()->pt = p;
            m_session->finishShape(m_poly);
        }
        break;
    default:
        break;
    }
    g_updateStep = 0;
    return true;
}

void SegmentJig::updateWalk(const CPoint3d& p) {
    if (!m_session || !m_poly) return;
    getPixelSize();
    if (m_moving) {
        m_poly->f70(kWalkClosed);
        m_moving->pt = p;
    }
    if (m_snapIndex < 0) {
        P_Vertex* first = m_poly->H();
        P_Vertex* beforeMoving = m_moving ? m_moving->pVB : nullptr;
        const bool away = first && beforeMoving && m_poly->getLenAtVertex(beforeMoving, 0, first) > _ecpt;
        m_poly->f70(static_cast<short>(kWalkPending | (away ? kWalkClosed : 0)));
        return;
    }
    const std::int64_t snapped = m_snapIndex;
    m_snapIndex = -1;
    qpoly_edit& session = *m_session;
    const bool openedHere = session.entity == nullptr;
    CPolyArc3D* edited = openedHere ? session.openRead() : session.entity;
    // The snap names a node of the edited polyline: it is used only while it is still one of its vertices.
    if (!edited || (*edited)[m_snapVertex] < 0) {
        if (openedHere) session.closeEntity();
        return;
    }
    session.wayMoving = m_snapVertex;
    m_poly->RemoveAll();
    session.movingDist = 0;
    if (P_Vertex* next = edited->N(m_snapVertex)) {
        CArc3d segment(m_snapVertex, next->pt);
        CPoint3d foot;
        double along = 0;
        segment.ptprox(m_snapPoint, foot, &along);
        session.movingDist = along;
    }
    session.minSegments = 0;
    int walk = snapped < m_currentIndex ? -1 : 1;
    const bool closed = edited->isClosed2D();
    if (closed && m_directionSign < 0) walk = -walk;
    session.goState = walk;
    if (snapped == m_currentIndex && session.movingDist == 0 && closed && m_directionSign < 0)
        session.minSegments = 1;
    session.copyStretch(m_poly, nullptr, 64, nullptr);
    if (openedHere) session.closeEntity();
    const bool apart = m_poly->H() && m_poly->getLenAtVertex(m_poly->T(), 0, m_poly->H()) > _ecpt;
    m_poly->f70(apart ? kWalkClosed : 0);
    m_moving = m_poly->A(nullptr);
    m_moving->pt = p;
}

void SegmentJig::updateDisplacement(const CPoint3d& p) {
    if (!m_moving || !m_poly) return;
    const CPoint3d offset = p - m_moving->pt;
    // Tags name nodes of the edited polyline; only those still in its list are followed.
    std::unordered_set<std::int64_t> sources;
    if (m_session) {
        const bool openedHere = m_session->entity == nullptr;
        if (CPolyArc3D* edited = openedHere ? m_session->openRead() : m_session->entity) {
            for (P_Vertex* v = edited->H(); v; v = v->pVN)
                sources.insert(static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(v)));
            for (P_Vertex* v = m_poly->H(); v; v = v->pVN) {
                const std::int64_t tag = v->tag;
                if (tag && sources.count(tag))
                    v->pt = reinterpret_cast<P_Vertex*>(static_cast<std::intptr_t>(tag))->pt + offset;
            }
        }
        if (openedHere) m_session->closeEntity();
    }
    m_poly->lisse(m_poly->H(), m_poly->T(), kNoTangent, kNoTangent);
}
