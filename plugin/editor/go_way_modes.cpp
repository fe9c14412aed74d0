// Go mode, in which the current vertex moves along the polyline with its one-segment stretch, and Way mode,
// in which the moving end of a stretch walks along it. Each mode drags with a jig of its own.
#include <cmath>
#include <memory>

#include "cadutil/command_line/print.h"
#include "cadutil/database/host_variables.h"
#include "cadutil/database/linetypes.h"
#include "geometry/arcs/arc3d.h"
#include "plugin/editor/editor_prompts.h"
#include "plugin/editor/editor_state.h"
#include "plugin/editor/own_point.h"
#include "plugin/editor/qpoly_edit.h"
#include "plugin/editor/segment_jig.h"

namespace {

enum Keyword {
    kPoint = 0,
    kGoKeyword = 14,
    kNext = 15,
    kBack = 16,
    kGoHead = 17,
    kGoTail = 18,
    kGoAll = 19,
    kWayKeyword = 20,
    kSwap = 21,
    kQuitSave = 45,
};
constexpr int kInsertOnSegment = 0x1;
constexpr int kInsertAdjusting = 0x2;
constexpr int kOnePick = 0x4;
constexpr double kFindTolerance = 1e-4;
constexpr double kPixelsToMiss = 5;

// The working polyline of a Go or Way drag: its colour, linetype LMODIF when the drawing has it, layer 0,
// the entity's system.
void dressWorkingPolyline(SegmentJig& jig, qpoly_edit& editor, const CPolyArc3D& entity, int colour) {
    CPolyArc3D& work = *jig.m_poly;
    work.setColorIndex(static_cast<Adesk::UInt16>(colour));
    AcDbObjectId linetype;
    if (getLinetypeId("LMODIF", linetype, false) == Acad::eOk) work.setLinetype(linetype);
    work.setLayer(L"0");
    jig.m_session = &editor;
    work.setSNormal(entity.normalMatrix(), 1);
}

std::string promptOr(const char* given, const char* standard) {
    return given ? given : standard;
}

// One drag with the mode's OSMODE memory in place of the host's.
int dragWithOsmode(qpoly_edit& editor, SegmentJig& jig, int& memory) {
    memory = swapOsmode(memory);
    const int result = editor.drag(&jig);
    memory = swapOsmode(memory);
    return result;
}

double distance3d(const P_Vertex* v, const CPoint3d& p) {
    return v->pt.dist3dTo(p);
}

} // namespace

P_Vertex* qpoly_edit::vertexAtPick(const SegmentJig& dragged, int flags, double& along, bool& found) {
    along = 0;
    found = false;
    CPoint3d picked = ownPoint(*entity, dragged.m_sampled);
    if (dragged.m_snapResult < 0 || !inList(dragged.m_snapVertex)) {
        P_Vertex* v =
            entity->ptAtPoint(nullptr, &picked, kFindTolerance, 1, nullptr, nullptr, nullptr, nullptr);
        if (!v) return nullptr;
        P_Vertex* next = v->pVN ? v->pVN : (entity->isClosed2D() ? entity->H() : nullptr);
        if (next && distance3d(next, picked) < distance3d(v, picked)) v = next;
        return v;
    }
    P_Vertex* v = dragged.m_snapVertex;
    found = true;
    P_Vertex* next = entity->N(v);
    if (!next || next == v) return v;
    CArc3d segment(v, next->pt);
    CPoint3d foot;
    double offset = 0;
    segment.ptprox(picked, foot, &along, &offset);
    if (std::fabs(offset) >= kFindTolerance) {
        along = 0;
        return v;
    }
    if (flags & kInsertOnSegment) {
        const int mode = (flags & kInsertAdjusting) ? 11 : 7;
        if (P_Vertex* inserted = entity->ptAtDist(v, along, kFindTolerance, mode, nullptr, nullptr))
            v = inserted;
        along = 0;
    }
    return v;
}

int qpoly_edit::go(int flags, const char* prompt, int first) {
    if (!openRead()) return kCancel;
    auto goJig = std::make_unique<SegmentJig>(entity);
    if (!goJig->m_poly) return closeEntity(), kCancel;
    SegmentJig& j = *goJig;
    j.setMode(SegmentJig::kGo);
    closeEntity();
    dropPending();
    if (openRead()) {
        if (goState == 0) setWay(current, kOneSegment);
        highlightStretch(1);
    }
    closeEntity();
    int result = first;
    bool firstPass = true;
    while (goState != 0 && result != kQuit) {
        // The check walks the entity's list: it must be open.
        if (!openRead()) return kCancel;
        if (checkChain() > 0) {
            closeEntity();
            msgprintf("\nsort du mode Go **** Erreur *****");
            return kQuit;
        }
        printVertexInfo(current, 0);
        dressWorkingPolyline(j, *this, *entity, 2);
        CPolyArc3D& work = *j.m_poly;
        work.RemoveAll();
        work.f43(entity->f43());
        work.f42(entity->f42());
        for (int i = 0; i < 2; ++i) {
            P_Vertex* copy = work.A(nullptr);
            if (current) copy->pt = current->pt;
        }
        j.m_moving = work.T();
        closeEntity();
        j.setPromptAndKeywords(
            promptOr(prompt, "\nMode Edit Go (Options Fonctions ou Point ; F1 ou ? ) :").c_str(), "*");
        if (!firstPass || first == kGoKeyword) {
            setMenus(2);
            result = dragWithOsmode(*this, j, editor_state::globals().goOsmode);
        }
        firstPass = false;
        if (result == kPoint) {
            if (!openRead()) return kCancel;
            fixedDist = 0;
            double along = 0;
            bool snapped = false;
            P_Vertex* found = vertexAtPick(j, flags, along, snapped);
            if (snapped && along != 0) fixedDist = along;
            if (found) current = found;
            setWay(current, kOneSegment);
            highlightStretch(1);
            closeEntity();
            if (flags & kOnePick) return kPoint;
        } else if (result == kWayKeyword) {
            if (flags & kOnePick) return result;
            result = way(1, nullptr);
            if (openRead()) {
                setWay(current, kOneSegment);
                highlightStretch(1);
            }
            closeEntity();
        } else if (result == kCancel || result == kEmptyEnter) {
            if (flags & kOnePick) return result;
            goState = 0;
            highlightStretch(0);
        } else {
            result = formes(result, &j, flags);
        }
    }
    return result;
}

void qpoly_edit::walkMovingEnd(int step) {
    if (!wayMoving) return;
    const bool closed = entity->isClosed2D();
    auto next = [&](P_Vertex* v) {
        P_Vertex* n = step > 0 ? v->pVN : v->pVB;
        return n ? n : (closed ? (step > 0 ? entity->H() : entity->T()) : nullptr);
    };
    // At most one turn: on a ring of generated vertices in view the walk would never end.
    const int limit = entity->GetCount();
    P_Vertex* v = next(wayMoving);
    int crossings = v == current ? 1 : 0;
    for (int steps = 1; v && !v->dur() && viewTest(&v->pt) && steps < limit; ++steps) {
        P_Vertex* further = next(v);
        if (!further) break;
        v = further;
        if (v == current) ++crossings;
    }
    if (!v) return;
    wayMoving = v;
    if (crossings % 2) goState = -goState;
    movingDist = 0;
    setWay(wayFixed, wayMoving);
}

int qpoly_edit::way(int flags, const char* prompt) {
    if (!openRead()) return kEmptyEnter;
    auto wayJig = std::make_unique<SegmentJig>(entity);
    if (!wayJig->m_poly) return closeEntity(), kEmptyEnter;
    SegmentJig& j = *wayJig;
    j.setMode(SegmentJig::kWay);
    dressWorkingPolyline(j, *this, *entity, effectiveColorIndex(entity) == 2 ? 3 : 2);
    int result = kEmptyEnter;
    if (setWay(current, kOneSegment)) goState = 1;
    closeEntity();
    bool ended = false;
    while (!ended && (goState == 1 || goState == -1)) {
        if (!openRead()) return kEmptyEnter;
        if (checkChain() > 0) {
            closeEntity();
            msgprintf("\nsort du mode Way **** Erreur *****");
            return kQuit;
        }
        entity->unhighlight();
        highlightStretch(1);
        CPolyArc3D& work = *j.m_poly;
        work.RemoveAll();
        work.setSNormal(entity->normalMatrix(), 1);
        copyStretch(&work, nullptr, 64, nullptr);
        j.m_moving = work.A(nullptr);
        closeEntity();
        j.setPromptAndKeywords(
            promptOr(prompt, "\nMode Way  /GTete/GFin/Back/Next/GAll/Sens (>Home,>Fin,<-,->,>Bas) : ")
                .c_str(),
            "*");
        setMenus(3);
        result = dragWithOsmode(*this, j, editor_state::globals().wayOsmode);
        if (!openRead()) return kEmptyEnter;
        switch (result) {
        case kPoint: {
            double along = 0;
            bool snapped = false;
            P_Vertex* found = vertexAtPick(j, flags, along, snapped);
            if (found && snapped) {
                wayMoving = found;
                movingDist = along;
            } else if (found &&
                       distance3d(found, ownPoint(*entity, j.m_sampled)) <= kPixelsToMiss * getPixelSize()) {
                wayMoving = found;
                movingDist = 0;
            }
            setWay(wayFixed, wayMoving);
            highlightStretch(1);
            ended = true;
            break;
        }
        case kGoKeyword:
        case kCancel:
            setWay(current, kOneSegment);
            highlightStretch(1);
            ended = true;
            break;
        case kGoHead:
        case kGoTail:
            goState = result == kGoHead ? -1 : 1;
            setWay(wayFixed, result == kGoHead ? entity->H() : nullptr);
            movingDist = 0;
            highlightStretch(1);
            break;
        case kGoAll:
            setWay(kAll);
            highlightStretch(1);
            ended = true;
            break;
        case kSwap:
            goState = -goState;
            setWay(wayFixed, wayMoving);
            highlightStretch(1);
            break;
        case kNext:
        case kBack:
            walkMovingEnd(result == kNext ? 1 : -1);
            break;
        case kQuit:
        case kQuitSave:
            result = kQuit;
            ended = true;
            break;
        case kEmptyEnter:
            ended = true;
            break;
        default:
            closeEntity();
            result = formes(result, &j, 0);
            break;
        }
        closeEntity();
    }
    return result;
}
