// The digitising loop: each pass opens the entity, checks its list, adds the rubber band after the current
// vertex, drags it with the standard keywords and carries out the point or keyword that ended the drag. The
// entity is closed around every prompt.
#include <cmath>
#include <cwctype>
#include <string>

#include "cadutil/command_line/print.h"
#include "cadutil/database/host_variables.h"
#include "cadutil/database/linetypes.h"
#include "cadutil/resbuf/text_convert.h"
#include "geometry/arcs/arc3d.h"
#include "geometry/points/angle_units.h"
#include "host/editor/acut.h"
#include "host/editor/documents.h"
#include "host/editor/message_box.h"
#include "host/editor/ucs.h"
#include "plugin/editor/cursor_position.h"
#include "plugin/editor/editor_prompts.h"
#include "plugin/editor/editor_state.h"
#include "plugin/editor/qpoly_edit.h"
#include "plugin/editor/segment_jig.h"
#include "services/startup/startup.h"

// The state of one run of the loop.
struct EditPass {
    bool arcState = false;
    bool resetArc = true;
    bool endRequested = false;
    bool elevationTyped = false;
};

namespace {

// Keyword numbers of the standard list.
enum Keyword {
    kArc = 1,
    kArcCircle = 2,
    kLine = 3,
    kClose = 4,
    kMove = 6,
    kRepeatMove = 7,
    kTefs = 8,
    kZPoint = 12,
    kShapes = 13,
    kGo = 14,
    kWay = 20,
    kDirection = 21,
    kUndoPoint = 22,
    kQuitKeyword = 23,
    kCut = 28,
    kInverse = 29,
    kOffset = 31,
    kJoin = 32,
    kPointsArcs = 33,
    kDeletePoint = 34,
    kRetake = 35,
    kFunctionPO = 38,
    kQuitSave = 45,
};
constexpr int kOther = -3;
constexpr int kNoneTyped = -2;
constexpr int kTypedNumber = 12;

// How far a rubber vertex may lie from the contour's elevation and still be put on it.
constexpr double kElevationSnap = 0.05;
constexpr double kElevationWarning = 0.1;

std::string upperLayerName(const CPolyArc3D& entity) {
    std::string name;
    for (const ACHAR* c = entity.layer(); *c; ++c)
        name.push_back(static_cast<char>(std::towupper(*c)));
    return name;
}

double roundTo(double value, double factor) {
    return std::floor(factor * value + 0.5) / factor;
}

bool libraryInitialised() {
    return services::libraryModule() != nullptr;
}

void moveCursorToHeight(double z) {
    if (libraryInitialised()) setCursorPos(CPoint3d(_RVIDE, _RVIDE, z));
}

// Copies of the entity's vertices beside the rubber vertex: the walk outwards stops once its count reaches 2.
void copyNeighbours(CPolyArc3D& work, P_Vertex* rubber, P_Vertex* movingCopy, SegmentJig& jig) {
    auto tagOf = [](P_Vertex* v) { return static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(v)); };
    auto copyOf = [&](P_Vertex* source, P_Vertex* after) {
        P_Vertex* copy = work.I(after, source);
        copy->tag = tagOf(source);
        return copy;
    };
    P_Vertex* firstSource = rubber;
    P_Vertex* firstCopy = movingCopy;
    int count = 0;
    for (P_Vertex* v = rubber->pVB; v && count < 2; v = v->pVB) {
        firstCopy = copyOf(v, firstCopy->pVB);
        firstSource = v;
        count += v->dur() ? ((v->flags == 0 && v->pVB && v->pVB->dur()) ? 3 : 1) : 0;
    }
    P_Vertex* lastSource = rubber;
    P_Vertex* lastCopy = movingCopy;
    count = 0;
    for (P_Vertex* v = rubber->pVN; v && count < 2; v = v->pVN) {
        lastCopy = copyOf(v, lastCopy);
        lastSource = v;
        count += v->dur() ? ((v->flags == 0 && v->pVN && v->pVN->dur()) ? 3 : 1) : 0;
    }
    if (P_Vertex* before = firstSource->pVB) jig.m_startTangent = CArc3d(before, firstSource->pt).endGis;
    if (P_Vertex* after = lastSource->pVN) jig.m_endTangent = CArc3d(lastSource, after->pt).startGis;
}

// Whether the next segment is an arc: a generated vertex beside the current one means it lies within one.
bool arcStateOf(const qpoly_edit& ed, bool reset) {
    const P_Vertex* c = ed.current;
    if (!c) return false;
    const P_Vertex* along = ed.direction > 0 ? c->pVN : c->pVB;
    const P_Vertex* against = ed.direction > 0 ? c->pVB : c->pVN;
    const P_Vertex* neighbour = reset ? (along ? along : against) : against;
    return neighbour && (neighbour->flags & 1);
}

// The contour line's elevation, asked with a jig of its own when neither the editor nor the drawing has one.
void askContourElevation(qpoly_edit& ed, EditPass& pass) {
    SegmentJig ask(ed.entity);
    ask.setMode(SegmentJig::kPointOrNumber);
    if (ask.m_poly) ask.m_moving = ask.m_poly->A(nullptr);
    ask.setPromptAndKeywords("\nAltitude de la courbe de niveau ( Point ou Chiffre ) \n", "*");
    ed.closeEntity();
    editor_state::EditorGlobals& state = editor_state::globals();
    state.contourOsmode = swapOsmode(state.contourOsmode);
    const int result = ed.drag(&ask);
    state.contourOsmode = swapOsmode(state.contourOsmode);
    if (result == 0) {
        ed.elevation = ask.m_sampled.z;
    } else if (result == kTypedNumber) {
        ed.elevation = ask.m_distance;
        pass.elevationTyped = true;
    }
    ed.openRead();
}

// Contour lines: the elevation found or asked before the first point, the head's height rounded after it.
void applyContourRules(qpoly_edit& ed, EditPass& pass) {
    CPolyArc3D* e = ed.entity;
    if ((!e->H() || e->H()->pt.z == 0) && ed.elevation == 0) {
        double drawing = 0;
        if (getVarReal("elevation", &drawing) == RTNORM && drawing != 0)
            ed.elevation = drawing;
        else
            askContourElevation(ed, pass);
        e = ed.entity;
        if (!e) return;
    }
    if (ed.elevation != 0) {
        moveCursorToHeight(ed.elevation);
        setVarReal("elevation", ed.elevation);
    }
    P_Vertex* head = e->H();
    if (!head || head == ed.rubber) return;
    if (!ed.openWrite()) return;
    head = ed.entity->H();
    double z = head->pt.z;
    if ((z == 0 || ed.entity->kindWord() == CPolyArc3D::kTavroKind) && ed.elevation != 0) z = ed.elevation;
    if (!pass.elevationTyped)
        z = roundTo(z, 20);
    else if (std::fabs(z - ed.elevation) > kElevationSnap)
        z = roundTo(z, 100);
    head->pt.z = z;
    if (z != 0) {
        ed.elevation = z;
        setVarReal("elevation", z);
    }
}

// A current vertex off the contour's elevation: keep its height as the elevation, or put it on the elevation.
void checkCurrentHeight(qpoly_edit& ed) {
    if (ed.elevation == 0 || !ed.current) return;
    const double z = ed.current->pt.z;
    if (z == 0 || std::fabs(z - ed.elevation) <= kElevationWarning) return;
    char text[256];
    std::snprintf(text, sizeof text,
                  "!!*** Attention Probl\xe8me de Z ***!!\r\nZ g\xe9n\xe9ral C.niv.=%.4f Z du Point=%.4f\r\n"
                  "Mettre quand m\xeame Z \xe0 %.4f",
                  ed.elevation, z, z);
    if (AfxMessageBox(codePageToWide(text).c_str(), MB_YESNO | MB_ICONSTOP | MB_TOPMOST | MB_SETFOREGROUND) ==
        IDYES) {
        ed.elevation = z;
        return;
    }
    setVarReal("elevation", ed.elevation);
    if (ed.openWrite()) ed.current->pt.z = ed.elevation;
    moveCursorToHeight(ed.elevation);
}

// Space input: a polyline begun in a tilted user system keeps that system.
void takeUcsSystem(qpoly_edit& ed) {
    if (!(CPolyArc3D::m_Sz3DSpaceOpt & 1) || ed.entity->GetCount() != 0) return;
    AcGeMatrix3d ucs;
    if (!acedGetCurrentUCS(ucs)) return;
    AcGeVector3d normal(ucs(0, 2), ucs(1, 2), ucs(2, 2));
    if (std::fabs(normal.x) < 1e-5 && std::fabs(normal.y) < 1e-5) normal = AcGeVector3d(0, 0, 1);
    if (!ed.openWrite()) return;
    ed.entity->setSNormal(normal, 1);
    if (ed.jig->m_poly) ed.jig->m_poly->setSNormal(normal, 1);
}

// The rubber vertex (and in an arc the arc middle vertex) after the current vertex, with the pending
// attributes; the current vertex moves onto the rubber vertex.
void addRubberBand(qpoly_edit& ed, bool arcState) {
    CPolyArc3D& e = *ed.entity;
    if (!ed.rubber) {
        P_Vertex* copy = ed.current ? e.I(ed.current, ed.current) : e.I(nullptr, nullptr);
        copy->tag = 0;
        P_Vertex* added = copy;
        if (arcState) {
            copy->flags = 1;
            ed.arcMiddle = copy;
            added = e.I(copy, copy);
            added->flags = 0;
        }
        if (ed.direction > 0 || !ed.current) {
            ed.rubber = added;
        } else {
            // Before the current vertex: its node becomes the rubber vertex, the copy after it the current
            // one.
            ed.rubber = ed.current;
            ed.current = added;
        }
        editor_state::PendingAttributes& pending = editor_state::globals().pending;
        if (pending.flags & editor_state::kAttributesPending) {
            pending.flags &= ~editor_state::kPendingBits;
            if (ed.direction < 0) {
                ed.rubber->tefs(pending.code);
            } else if (ed.current) {
                if (ed.current->i40 != pending.i40) {
                    ed.current = e.I(ed.current, ed.current);
                    ed.current->i39 = pending.i39;
                    ed.current->i40 = pending.i40;
                }
                ed.current->tefs(pending.code);
            }
            if (ed.arcMiddle) ed.arcMiddle->tefs(pending.code);
            ed.rubber->i39 = pending.i39;
            ed.rubber->i40 = pending.i40;
        }
        if (ed.rubber->tefsbits() & 0x20) ed.rubber->tef2 = 0;
        ed.rubber->tef1 = 0;
        ed.rubber->flags = 0;
    }
    ed.current = ed.rubber;
    ed.rubber->bulge = 0;
    if (ed.direction > 0)
        if (P_Vertex* before = e.B(ed.rubber)) before->bulge = 0;
}

bool imposedShape(int shapeMode) {
    return shapeMode >= 1 && shapeMode <= 9;
}

// The jig's working polyline: the rubber vertex and its neighbours, or a copy of the entity for a shape.
void prepareWorkingPolyline(qpoly_edit& ed, bool arcState) {
    SegmentJig& jig = *ed.jig;
    CPolyArc3D& work = *jig.m_poly;
    work.RemoveAll();
    jig.m_startTangent = jig.m_endTangent = SegmentJig::kNoTangent;
    if (imposedShape(ed.shapeMode)) {
        jig.setMode(SegmentJig::kShape);
        msgprintf(" Forme imposee ");
        work.copyVertexFrom(ed.entity);
        jig.m_moving = work.H();
        return;
    }
    work.f43(ed.entity->f43());
    work.f42(ed.entity->f42());
    jig.m_moving = work.A(ed.rubber);
    jig.m_moving->tag = static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(ed.rubber));
    copyNeighbours(work, ed.rubber, jig.m_moving, jig);
    jig.setMode(SegmentJig::kNextPoint);
    // On a line of its own after a message (the vertex code chosen); right after an answer it opens the line.
    msgprintf(arcState ? "\nArc " : "\nLigne ");
}

} // namespace

int qpoly_edit::edit() {
    int result = kEmptyEnter;
    try {
        result = runLoop();
    } catch (...) {
        msgprintf("\nProbleme avec la COMMANDE qpoly_edit::edit()");
        closeEntity();
    }
    setMenus(0);
    acutPrintf(L"\n");
    return result;
}

int qpoly_edit::runLoop() {
    if (id.isNull() || !openRead()) return kEmptyEnter;
    if (!jig) jig = new SegmentJig(entity);
    direction = direction < 0 ? -1 : 1;
    if (!jig->m_poly) return kEmptyEnter;
    jig->m_poly->setPropertiesFrom(entity);
    jig->m_poly->setSNormal(entity->normalMatrix(), 1);
    jig->m_cursorCount = effectiveColorIndex(entity);
    const std::string layer = upperLayerName(*entity);
    AcDbObjectId linetype;
    if (getLinetypeId("LSAISIE", linetype, false) == Acad::eOk) jig->m_poly->setLinetype(linetype);
    if (shapeMode == 12) shapeMode = (layer.starts_with("N") || layer.starts_with("L12")) ? 11 : 0;
    jig->setMode(SegmentJig::kPointOnly);

    EditPass pass;
    int result = kEmptyEnter;
    for (;;) {
        if (pass.endRequested || result == kQuit) {
            acedUpdateDisplay();
            break;
        }
        if (!openRead()) break;
        if (checkChain()) {
            msgprintf("\nsort du mode edit **** Erreur *****\n");
            result = kQuit;
            break;
        }
        closeEntity();
        if (goState != 0) {
            setMenus(2);
            result = go(1, nullptr, kGo);
            pass.resetArc = true;
            continue;
        }
        result = digitisingPass(pass);
        closeEntity();
    }
    closeEntity();
    return result;
}

int qpoly_edit::digitisingPass(EditPass& pass) {
    if (!openRead()) return kQuit;
    pass.arcState = arcStateOf(*this, pass.resetArc);
    pass.resetArc = false;
    takeUcsSystem(*this);
    if (shapeMode == 10 || shapeMode == 11) {
        if (shapeMode == 11) applyContourRules(*this, pass);
        if (!entity) return kQuit;
        const int hard = entity->GetCount() - (rubber ? 1 : 0) - (arcMiddle ? 1 : 0);
        if (hard >= 1) {
            pass.arcState = true;
            shapeMode = 0;
        }
    } else if (shapeMode != 0) {
        pass.arcState = false;
        direction = 1;
    }
    checkCurrentHeight(*this);
    jig->m_session = this;
    if (!openWrite()) return kQuit;
    addRubberBand(*this, pass.arcState);
    prepareWorkingPolyline(*this, pass.arcState);
    printVertexInfo(current, direction);
    closeEntity();
    jig->setPromptAndKeywords("Saisie Point Suivant: <? ou F1 aide>: ", "*");
    setMenus(1);
    const int result = jig->m_moving ? drag(jig) : kOther;
    return dispatch(result, pass);
}

int qpoly_edit::dispatch(int result, EditPass& pass) {
    switch (result) {
    case kPointEndsMode:
        return commitPoint();
    case kArc:
    case kLine:
        if (openWrite() && inList(arcMiddle)) entity->D(arcMiddle);
        arcMiddle = nullptr;
        [[fallthrough]];
    case kTefs: {
        if (direction > 0 && openRead() && rubber) current = entity->Bxyz(rubber);
        closeEntity();
        const int shaped = formes(result);
        if (rubber) current = rubber;
        goState = 0;
        return shaped;
    }
    case kArcCircle:
        if (openWrite() && rubber) current = direction < 0 ? entity->Nxyz(rubber) : entity->Bxyz(rubber);
        if (inList(arcMiddle)) entity->D(arcMiddle);
        arcMiddle = nullptr;
        closeEntity();
        return formes(result);
    case kMove:
    case kZPoint:
    case kGo:
    case 15:
    case 16:
    case 17:
    case 18:
    case 19:
    case kWay:
        pass.resetArc = true;
        return go(1, nullptr, result);
    case kRepeatMove:
    case kInverse:
    case kOffset:
    case kPointsArcs:
    case kOther:
    case kNoneTyped:
        return result;
    case kDirection:
        // The rubber band is built again on the side the new direction adds to; dropping it selects the
        // current vertex's segment, which must not send the loop into Go mode.
        if (openWrite()) dropPending();
        closeEntity();
        goState = 0;
        direction = -direction;
        pass.resetArc = true;
        return result;
    case kUndoPoint:
    case kDeletePoint:
        takePointBack();
        pass.resetArc = true;
        return result;
    case kQuitKeyword:
    case kQuitSave:
    case kCancel:
    case kEmptyEnter:
        if (openWrite()) {
            dropPending();
            if (current) entity->lisse(current, nullptr, SegmentJig::kNoTangent, SegmentJig::kNoTangent);
        }
        pass.endRequested = true;
        pass.resetArc = true;
        closeEntity();
        return result == kQuitSave ? kQuit : result;
    case kCut:
    case kJoin:
    case kFunctionPO:
        if (openWrite()) {
            dropPending();
            setWay(current, kOneSegment);
        }
        closeEntity();
        pass.resetArc = true;
        return formes(result);
    case kRetake:
        pass.resetArc = true;
        return retake();
    case kClose:
    case kShapes:
        return onGivenPoints(result, pass);
    default: {
        const int shaped = formes(result);
        if (shaped == 5 && arcMiddle) {
            openRead();
            if (!inList(arcMiddle)) arcMiddle = nullptr;
        }
        return shaped;
    }
    }
}

int qpoly_edit::commitPoint() {
    int result = kPointEndsMode;
    if (!openWrite() || !rubber) return result;
    if (imposedShape(shapeMode)) {
        P_Vertex* shaped = jig->m_poly->T();
        if (shapeMode == 4 && shaped && shaped->pVB) shaped = shaped->pVB;
        if (shaped && entity->T()) *entity->T() = shaped;
        if (finishShape(entity) >= 1) result = kQuit;
        current = entity->T();
    } else {
        *rubber = jig->m_moving;
        rubber->tag = 0;
        P_Vertex* before = rubber->pVB;
        if (direction > 0 && before) rubber->tef2 = (before->tefsbits() & 0x20) ? 0 : before->tef2;
        if (elevation != 0 && std::fabs(rubber->pt.z - elevation) <= kElevationSnap) rubber->pt.z = elevation;
        entity->lisse(rubber, nullptr, SegmentJig::kNoTangent, SegmentJig::kNoTangent);
        current = rubber;
    }
    // The pending vertices stay in the entity as its new vertices.
    rubber = arcMiddle = nullptr;
    closeEntity();
    return result;
}

// Closing and the imposed shapes work on the points given, as they do outside digitising: the rubber vertex
// (a copy of the current vertex) and the arc middle vertex would count as points, and a shape that deletes
// them and re-uses their nodes would leave the rubber vertex naming a real one.
int qpoly_edit::onGivenPoints(int keyword, EditPass& pass) {
    if (openWrite()) dropPending();
    closeEntity();
    goState = 0;
    pass.resetArc = true;
    const int result = formes(keyword);
    // A shape takes its further points at the tail, where the vertices it made end.
    if (keyword == kShapes && openRead()) current = entity->T();
    closeEntity();
    return result;
}

void qpoly_edit::takePointBack() {
    if (!openWrite()) return;
    dropPending();
    goState = 0;
    if (current) {
        P_Vertex* next = direction < 0 ? entity->Nxyz(current) : entity->Bxyz(current);
        entity->D(current, -direction);
        current = next;
        if (!inList(current) || (*entity)[current] == 0) current = direction < 0 ? entity->H() : entity->T();
        if (current) entity->lisse(current, nullptr, SegmentJig::kNoTangent, SegmentJig::kNoTangent);
    }
    closeEntity();
}

int qpoly_edit::retake() {
    if (!openWrite() || !rubber) return kRetake;
    if (direction < 0) {
        wayMoving = rubber;
        goState = -1;
        wayFixed = entity->N(rubber);
    } else {
        setWay(entity->B(rubber), kOneSegment);
    }
    rubber->pt.x += 0.1234;
    if (arcMiddle) arcMiddle->pt.x += 0.1234;
    closeEntity();
    const int result = fonctions(kRetake);
    highlightStretch(0);
    current = rubber;
    dropPending();
    goState = 0;
    return result;
}
