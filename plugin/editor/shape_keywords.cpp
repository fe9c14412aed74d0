// The form keywords (arcs, lines, closing, codes, widths, heights, tangency, shapes), the moving keywords of
// Go mode, the view-test keywords and the help. Each works on the current vertex or on every vertex of the
// selected stretch.
#include <functional>

#include "cadutil/command_line/print.h"
#include "cadutil/command_line/prompt_defaults.h"
#include "entity/core/vertex_groups.h"
#include "geometry/points/angle_units.h"
#include "plugin/editor/editor_prompts.h"
#include "plugin/editor/editor_state.h"
#include "plugin/editor/qpoly_edit.h"
#include "plugin/editor/segment_jig.h"
#include "plugin/editor/shape_memory.h"
#include "plugin/editor/vertex_prompts.h"

namespace {

enum FormKeyword {
    kArc = 1,
    kArcCircle = 2,
    kLine = 3,
    kClosePolyline = 4,
    kOpenPolyline = 5,
    kMoveKeyword = 6,
    kRepeatMoveKeyword = 7,
    kTefs = 8,
    kWidth = 9,
    kHeight = 10,
    kProperties = 11,
    kZPoint = 12,
    kShapes = 13,
    kNext = 15,
    kBack = 16,
    kGoHead = 17,
    kGoTail = 18,
    kGoAll = 19,
    kWay = 20,
    kSwap = 21,
    kQuit = 23,
    kZoomSwap = 24,
    kZoomCentre = 25,
    kZoomTest = 26,
    kZoomNone = 27,
    kQuitSave = 45,
    kHelp = 46,
};
constexpr int kOtherInput = -3;
constexpr int kOnePickMode = 0x4;
constexpr short kCurvePoint = 0x8;
constexpr double kNoTangent = SegmentJig::kNoTangent;

bool isGenerated(const P_Vertex* v) {
    return v && !v->dur();
}

bool isFormKeyword(int keyword) {
    return keyword >= kArc && keyword <= kShapes && keyword != kMoveKeyword && keyword != kRepeatMoveKeyword;
}

void smoothAround(CPolyArc3D& poly, P_Vertex* v) {
    if (v) poly.lisse(v, nullptr, kNoTangent, kNoTangent);
}

// Deletes the generated vertices that follow v, stopping at `stop` (a stretch end is never deleted).
void deleteGeneratedAfter(CPolyArc3D& poly, P_Vertex* v, const P_Vertex* stop) {
    for (P_Vertex* next = poly.N(v); isGenerated(next) && next != v && next != stop; next = poly.N(v))
        poly.D(next);
}

// Between two hard vertices an arc needs a generated vertex, which the smoothing then places.
void insertArcMiddle(CPolyArc3D& poly, P_Vertex* v) {
    P_Vertex* next = poly.N(v);
    if (!next || !next->dur() || next == v) return;
    P_Vertex* copy = poly.I(v, v);
    copy->flags = 1;
    copy->tef1 = 0;
    copy->tag = 0;
}

void deleteGeneratedBefore(CPolyArc3D& poly, P_Vertex* v) {
    for (P_Vertex* before = poly.B(v); isGenerated(before) && before != v; before = poly.B(v))
        poly.D(before);
}

void setCode(P_Vertex* v, short code) {
    v->tef1 = static_cast<signed char>(code & 0xFF);
    v->tef2 = static_cast<signed char>((code >> 8) & 0xFF);
}

// A code with 0x20 in its bits ends the smoothing at its vertex: a straight segment follows.
void straightenAfterBreak(CPolyArc3D& poly, P_Vertex* v, const P_Vertex* stop) {
    if (!(v->tefsbits() & 0x20)) return;
    deleteGeneratedAfter(poly, v, stop);
    v->bulge = 0;
}

const char* const kHelpLines[] = {
    "\nfleches:<-,->,bas=sens,Home,End,Shift Gauche,BackSpace,Delete",
    "\ndeplace:/Go/Next/Back/GTete/GFin/GAll/Way/Sens/Quit/ZSwap/ZCentre/ZTest/ZRien/Undo_pt",
    // A line of help split over source lines: the parentheses say the joined literals are one element.
    ("\nformes:/Arc/ACercle/Ligne/Clore/Ouvre/Move/MR\xe9p\xe9titif/Tefs/Epaisseur/Hauteur/Propri\xe9t\xe9s/"
     "Zpoint/Formes"),
    ("\nfonctions:/FCoupe/FInverse/FEQuerre/FDecale/FJoind/FPApts_Arcs/FSuprime/FReprend/FRParam_reprend/"
     "FZaltitudes/?aide"),
    "\nDivers:/DL3d/DL2d/DC2d/DC3d/DCDecompos/DCRien/XData",
};

const char* zoomModeText(int mode) {
    switch (mode) {
    case editor_state::kCentreView:
        return " Zoom Centre sur point ";
    case editor_state::kPointInView:
        return " Test de point dans fenetre ";
    default:
        return " pas de test fenetre ";
    }
}

} // namespace

bool qpoly_edit::hasStretch() const {
    return goState == 1 || goState == -1;
}

void qpoly_edit::forEachStretchVertex(const std::function<void(P_Vertex*, bool)>& visit) {
    P_Vertex *start = nullptr, *end = nullptr;
    getStretch(start, end);
    if (!inList(start) || !inList(end)) return;
    // The count bounds the walk should the end have left the list during it.
    const int limit = entity->GetCount() + 1;
    P_Vertex* v = start;
    for (int passed = 0; v && passed <= limit; ++passed) {
        const bool last = v == end && passed >= minSegments;
        visit(v, last);
        if (last) break;
        v = entity->N(v);
    }
}

void qpoly_edit::smoothStretch() {
    P_Vertex *start = nullptr, *end = nullptr;
    getStretch(start, end);
    entity->lisse(start, nullptr, kNoTangent, kNoTangent);
    entity->lisse(end, nullptr, kNoTangent, kNoTangent);
    entity->lisse(start, end, kNoTangent, kNoTangent);
}

void qpoly_edit::shapeCurve(int keyword) {
    P_Vertex *start = nullptr, *end = nullptr;
    getStretch(start, end);
    CPolyArc3D& poly = *entity;
    if (hasStretch()) {
        forEachStretchVertex([&](P_Vertex* v, bool last) {
            if (!v->dur()) return;
            v->flags =
                static_cast<short>(keyword == kArcCircle ? v->flags | kCurvePoint : v->flags & ~kCurvePoint);
            if (last) return;
            deleteGeneratedAfter(poly, v, end);
            if (keyword == kLine) v->bulge = 0;
            if (keyword == kArc) insertArcMiddle(poly, v);
        });
        if (keyword == kLine)
            poly.lisse(start, nullptr, kNoTangent, kNoTangent);
        else
            smoothStretch();
        return;
    }
    P_Vertex* v = current;
    if (!v || !v->dur()) return;
    if (keyword == kArcCircle) {
        v->flags = kCurvePoint;
        deleteGeneratedAfter(poly, v, nullptr);
        deleteGeneratedBefore(poly, v);
    } else {
        v->flags = static_cast<short>(v->flags & ~kCurvePoint);
        deleteGeneratedAfter(poly, v, nullptr);
        if (keyword == kLine) {
            v->bulge = 0;
            if (P_Vertex* next = poly.N(v)) next->flags = static_cast<short>(next->flags & ~kCurvePoint);
        } else {
            insertArcMiddle(poly, v);
        }
    }
    smoothAround(poly, v);
}

void qpoly_edit::closeOrOpen(int keyword) {
    CPolyArc3D& poly = *entity;
    if (keyword == kClosePolyline) {
        poly.f70(static_cast<short>(poly.f70() | 1));
        P_Vertex* tail = poly.T();
        if (tail && tail->dur() && isGenerated(tail->pVB)) poly.A(tail->pVB);
        smoothAround(poly, poly.T());
        // The head's span was smoothed while the head was an end; now the closing piece arrives there, and
        // smoothing around the tail does not reach that span.
        if (P_Vertex* afterHead = poly.Nxyz(poly.H()))
            poly.lisse(poly.H(), afterHead, kNoTangent, kNoTangent);
        return;
    }
    poly.f70(static_cast<short>(poly.f70() & ~1));
    while (isGenerated(poly.T()))
        poly.D(poly.T());
}

void qpoly_edit::editCodes() {
    CPolyArc3D& poly = *entity;
    if (!hasStretch()) {
        if (!current) return;
        const short was = current->tefs();
        closeEntity();
        const short code = askVertexCode(was);
        if (!openWrite() || !inList(current)) return;
        setCode(current, code);
        if (current->tefsbits() & 0x20) {
            straightenAfterBreak(poly, current, nullptr);
        } else if (P_Vertex* next = poly.N(current); isGenerated(next)) {
            next->tef2 = current->tef2;
        }
        smoothAround(poly, current);
        return;
    }
    // A byte left at 255 keeps each vertex's own.
    closeEntity();
    const short code = askVertexCode(static_cast<short>(0xFFFF));
    if (!openWrite()) return;
    const int kind = code & 0xFF;
    const int qualifier = (code >> 8) & 0xFF;
    P_Vertex *start = nullptr, *end = nullptr;
    getStretch(start, end);
    forEachStretchVertex([&](P_Vertex* v, bool last) {
        if (kind < 100) v->tef1 = static_cast<signed char>(kind);
        if (qualifier < 100) v->tef2 = static_cast<signed char>(qualifier);
        if (!last) straightenAfterBreak(*entity, v, end);
    });
    smoothStretch();
}

void qpoly_edit::editWidthOrHeight(int keyword) {
    const bool width = keyword == kWidth;
    shape_memory::Values& memory = shape_memory::values();
    double& last = width ? memory.lastWidth : memory.lastHeight;
    double fallback = last;
    if (current) {
        const std::int32_t stored = width ? current->i40 : current->i39;
        if (stored != 0) fallback = stored / kFixedScale;
    }
    closeEntity();
    const double value =
        askDistance(fallback, width ? " Largeur ( -/valeur/2 points) " : " Hauteur ( -/valeur/2 points) ",
                    nullptr, nullptr, 0, nullptr, kLargestFixedValue);
    std::int32_t stored = 0;
    if (!toFixed(value, stored)) return;
    last = value;
    if (!openWrite()) return;
    auto assign = [&](P_Vertex* v, bool) { (width ? v->i40 : v->i39) = stored; };
    if (hasStretch()) {
        forEachStretchVertex(assign);
        P_Vertex *start = nullptr, *end = nullptr;
        getStretch(start, end);
        entity->majVertex(start, end);
    } else if (current) {
        assign(current, true);
        entity->majVertex(current, current);
    }
}

void qpoly_edit::editTangency() {
    closeEntity();
    int count = 0;
    const int letter = editProperties(id, count);
    if (!openWrite()) return;
    if (letter < 0) return;
    if (hasStretch()) {
        forEachStretchVertex([&](P_Vertex* v, bool) { applyTangency(letter, v); });
        smoothStretch();
    } else if (current) {
        applyTangency(letter, current);
        if (P_Vertex* next = entity->N(current); isGenerated(next)) applyTangency(letter, next);
        smoothAround(*entity, current);
    }
}

void qpoly_edit::editHeight() {
    if (!current) return;
    const CPoint3d base = entity->WorldPoint(current);
    const double currentZ = current->pt.z;
    closeEntity();
    const double z = askZ(currentZ, &base);
    if (!openWrite()) return;
    if (hasStretch()) {
        forEachStretchVertex([&](P_Vertex* v, bool) { v->pt.z = z; });
        P_Vertex *start = nullptr, *end = nullptr;
        getStretch(start, end);
        entity->majVertex(start, end);
    } else if (inList(current)) {
        current->pt.z = z;
        entity->majVertex(current, current);
    }
}

int qpoly_edit::chooseShape() {
    closeEntity();
    shapeMode = getIntOrKeyword(0, "\nCCercle_centre  CPercle_3points Rectangle Boite CNiveau",
                                "CCerc1 CPoint2 Rect3 Boite4 CNiv11 _ CCirc1 CPoint2 Rect3 Box4 CLev11");
    if (!openWrite()) return 0;
    const int made = finishShape(entity);
    if (made > 0) {
        // The shape deleted vertices and may have given their nodes to the ones it added, so no vertex held
        // before it is sure to be in the list or to be the same vertex: go on from the tail, as after a shape
        // digitised, with a stretch of one segment from there when one was selected.
        current = entity->T();
        wayFixed = wayMoving = nullptr;
        fixedDist = movingDist = 0;
        if (goState != 0) setWay(current, kOneSegment);
    }
    return made;
}

// One hard vertex on from the current one (step +1 or -1) that passes the view test; at most one turn.
void qpoly_edit::stepToHardVertex(int step) {
    if (!current) return;
    const int count = entity->GetCount();
    P_Vertex* v = current;
    for (int i = 0; i < count; ++i) {
        v = step > 0 ? entity->N(v) : entity->B(v);
        if (!v || v == current) return;
        if (v->dur() && viewTest(&v->pt)) {
            setWay(v, kOneSegment);
            return;
        }
    }
}

int qpoly_edit::moveInGoMode(int keyword) {
    int result = keyword;
    switch (keyword) {
    case kNext:
    case kBack:
        stepToHardVertex(keyword == kNext ? 1 : -1);
        break;
    case kGoHead:
        setWay(entity->H(), kOneSegment);
        break;
    case kGoTail:
        setWay(entity->T(), kOneSegment);
        break;
    case kGoAll:
        setWay(kAll);
        break;
    case kWay:
        closeEntity();
        result = way(1, nullptr);
        break;
    default:
        // Turning a stretch round needs one: while digitising the direction keyword is the loop's.
        if (goState == 0) return result;
        goState = -goState;
        setWay(wayFixed, wayMoving);
        break;
    }
    highlightStretch(1);
    return result;
}

int qpoly_edit::formes(int keyword, SegmentJig* modeJig, int flags) {
    const int function = fonctions(keyword);
    if (function != kOtherInput) return function;
    switch (keyword) {
    case kQuit:
    case kQuitSave:
        return kQuit;
    case kZoomSwap:
    case kZoomCentre:
    case kZoomTest:
    case kZoomNone: {
        int& mode = editor_state::globals().zoomTestMode;
        mode = keyword == kZoomSwap ? (mode + 1) % 3 : keyword == kZoomNone ? 0 : keyword - kZoomSwap;
        cmdprintf("%s", zoomModeText(mode));
        return keyword;
    }
    case kHelp:
        for (const char* line : kHelpLines)
            cmdprintf("%s", line);
        return kOtherInput;
    default:
        break;
    }
    if (keyword == kMoveKeyword || keyword == kRepeatMoveKeyword)
        return (flags & kOnePickMode) ? keyword : moveStretch(keyword, modeJig);
    const bool moving = keyword >= kNext && keyword <= kSwap;
    if (!isFormKeyword(keyword) && !moving) return kOtherInput;
    if (isFormKeyword(keyword) && (flags & kOnePickMode)) return keyword;
    if (!openWrite()) return kOtherInput;
    int result = keyword;
    switch (keyword) {
    case kArc:
    case kArcCircle:
    case kLine:
        shapeCurve(keyword);
        break;
    case kClosePolyline:
    case kOpenPolyline:
        closeOrOpen(keyword);
        break;
    case kTefs:
        editCodes();
        break;
    case kWidth:
    case kHeight:
        editWidthOrHeight(keyword);
        break;
    case kProperties:
        editTangency();
        break;
    case kZPoint:
        editHeight();
        break;
    case kShapes:
        chooseShape();
        break;
    default:
        result = moveInGoMode(keyword);
        break;
    }
    if (!moving && goState != 0) highlightStretch(1);
    closeEntity();
    return result;
}
