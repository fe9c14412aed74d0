// The function keywords: cutting, reversing, squaring, purging, deleting, heights, continuing from an end,
// the drawing modes, the re-take parameters and the extended data. Each change is one host undo group.
#include <cmath>

#include "cadutil/command_line/print.h"
#include "cadutil/command_line/selection.h"
#include "cadutil/database/spaces.h"
#include "cadutil/resbuf/text_convert.h"
#include "geometry/points/angle_units.h"
#include "host/db/database.h"
#include "host/editor/command_line.h"
#include "host/input/prompts.h"
#include "platform/base/ptr_array.h"
#include "plugin/commands/command_state.h"
#include "plugin/editor/editor_state.h"
#include "plugin/editor/function_prompts.h"
#include "plugin/editor/qpoly_edit.h"
#include "plugin/editor/segment_jig.h"
#include "plugin/editor/shape_memory.h"

namespace {

enum FunctionKeyword {
    kLine = 3,
    kCut = 28,
    kInverse = 29,
    kSquare = 30,
    kOffset = 31,
    kJoin = 32,
    kPurgeArcs = 33,
    kDelete = 34,
    kRetake = 35,
    kRetakeParameters = 36,
    kHeights = 37,
    kContinue = 38,
    kLengths3d = 39,
    kLengths2d = 40,
    kConvert2d = 41,
    kConvert3d = 42,
    kConvertDecomposed = 43,
    kConvertAuto = 44,
    kXData = 47,
};
constexpr int kOtherInput = -3;
constexpr double kNoTangent = SegmentJig::kNoTangent;
constexpr int kTavroKindNumber = 1;

// The drawing-mode keywords: which bits of the mode word they replace and with what.
bool drawingMode(int keyword, short& mask, short& bits) {
    switch (keyword) {
    case kLengths3d:
    case kLengths2d:
        mask = 8;
        bits = keyword == kLengths2d ? 8 : 0;
        return true;
    case kConvert2d:
    case kConvert3d:
    case kConvertDecomposed:
    case kConvertAuto:
        mask = 3;
        bits = keyword == kConvert2d ? 2 : keyword == kConvert3d ? 3 : keyword == kConvertDecomposed ? 1 : 0;
        return true;
    default:
        return false;
    }
}

} // namespace

const char* qpoly_edit::classWord(const CPolyArc3D& poly) {
    return poly.kindWord() == kTavroKindNumber ? "TAVROPOLY" : "ZORTAPOLY";
}

void qpoly_edit::beginUndoGroup() {
    closeEntity();
    acedCommandS(RTSTR, L"_undo", RTSTR, L"_be", RTNONE);
    if (openWrite()) entity->disableUndoRecording(false);
}

void qpoly_edit::endUndoGroup() {
    if (entity) entity->disableUndoRecording(true);
    closeEntity();
    acedCommandS(RTSTR, L"_undo", RTSTR, L"_e", RTNONE);
}

int qpoly_edit::cutStretch() {
    beginUndoGroup();
    if (!entity) return endUndoGroup(), kCut;
    P_Vertex *start = current, *end = current;
    if (hasStretch()) getStretch(start, end);
    if (CPolyArc3D* part = entity->coupe(start, end, 1)) {
        AcDbObjectId partId;
        if (appendEntityToSpace(partId, part, -1).isNull())
            delete part;
        else
            part->close();
    }
    checkVertices();
    setWay(current, kOneSegment);
    highlightStretch(1);
    endUndoGroup();
    return kCut;
}

int qpoly_edit::reshapeStretch(int keyword) {
    if (!openRead() || entity->GetCount(0) < 2) return closeEntity(), keyword;
    beginUndoGroup();
    if (!entity) return endUndoGroup(), keyword;
    P_Vertex *start = nullptr, *end = nullptr;
    if (hasStretch()) getStretch(start, end);
    if (start == end) start = end = nullptr;
    if (keyword == kInverse)
        entity->einvsens(0, start, end);
    else if (keyword == kSquare)
        entity->eSquare(0, 0, start, end);
    else
        entity->epolyz(-1e10, 1e10);
    checkVertices();
    if (keyword == kInverse) setWay(current, kOneSegment);
    endUndoGroup();
    return keyword;
}

int qpoly_edit::joinSelected() {
    if (!openRead()) return kJoin;
    const char* word = classWord(*entity);
    closeEntity();
    ads_name selection;
    if (ssgetFilter("0=TAVROPOLY,ZORTAPOLY,LINE,ARC,LWPOLYLINE", selection,
                    "\nJoint : Qpolylignes \xe0 joindre ?(Escape): ") <= 0)
        return kJoin;
    AcDbObjectIdArray ids;
    ssToIds(selection, ids);
    beginUndoGroup();
    if (!entity) return endUndoGroup(), kJoin;
    CPtrArray items;
    for (int i = 0; i < ids.length(); ++i) {
        AcDbEntity* other = nullptr;
        if (ids[i] != id && acdbOpenObject(other, ids[i], AcDb::kForWrite) == Acad::eOk) items.Add(other);
    }
    const int joined = CPolyArc3D::joind(entity, items, 1, _ecpt, nullptr);
    checkVertices();
    setWay(current, kOneSegment);
    highlightStretch(1);
    endUndoGroup();
    cmdprintf("\n %d %s Jointes a cette entite", joined, word);
    return kJoin;
}

int qpoly_edit::purgeArcPoints() {
    beginUndoGroup();
    if (entity) {
        P_Vertex *start = current, *end = nullptr;
        if (hasStretch()) getStretch(start, end);
        entity->EDelParc(command_state::g_arcPointTolerance, command_state::g_arcPointMode, start, end);
        checkVertices();
        highlightStretch(1);
    }
    endUndoGroup();
    return kPurgeArcs;
}

int qpoly_edit::deleteStretch() {
    const bool withStretch = hasStretch();
    beginUndoGroup();
    if (!entity || !current) return endUndoGroup(), kDelete;
    CPolyArc3D& poly = *entity;
    bool endDeleted = false;
    if (!withStretch) {
        P_Vertex* old = current;
        P_Vertex* side = poly.Bxyz(old);
        const int way = side ? -1 : 1;
        if (!side) side = poly.Nxyz(old);
        for (P_Vertex* g = way < 0 ? poly.B(old) : poly.N(old); g && g != old && !g->dur();
             g = way < 0 ? poly.B(old) : poly.N(old))
            poly.D(g);
        poly.D(old);
        current = side;
    } else {
        P_Vertex *start = nullptr, *end = nullptr;
        getStretch(start, end);
        for (P_Vertex* v = poly.N(start); v && v != end && v != start; v = poly.N(start))
            poly.D(v);
        const bool open = (poly.f70() & 1) == 0;
        current = start;
        if (open && end == poly.T() && end != start) {
            poly.D(end);
            endDeleted = true;
        }
        if (open && start == poly.H() && poly.GetCount() > 1) {
            current = poly.N(start);
            poly.D(start);
            endDeleted = true;
        }
    }
    if (P_Vertex* next = current ? poly.N(current) : nullptr; next && !next->dur())
        next->flags = static_cast<short>(next->flags & ~2);
    if (current) poly.lisse(current, nullptr, kNoTangent, kNoTangent);
    setWay(current, kOneSegment);
    endUndoGroup();
    if (withStretch && !endDeleted) return formes(kLine);
    highlightStretch(1);
    return kDelete;
}

int qpoly_edit::continueFromEnd() {
    if (!openRead()) return kContinue;
    char prompt[96];
    std::snprintf(prompt, sizeof prompt,
                  "Poursuite %s : /D\xe9"
                  "but /Fin /Proche ",
                  classWord(*entity));
    closeEntity();
    acedInitGet(0, L"DebD FinF ProP _ BegD EndF NeaP");
    ACHAR answer[32] = {};
    const int rc = acedGetKword(codePageToWide(prompt).c_str(), answer, sizeof answer / sizeof *answer);
    if (rc != RTNORM && rc != RTNONE) return kContinue;
    if (!openRead() || !entity->H()) return closeEntity(), kContinue;
    const std::wstring word(answer);
    wchar_t letter = word.empty() ? L'P' : word.back();
    if (letter == L'P') {
        const CPoint3d at = current ? current->pt : entity->T()->pt;
        auto plan = [&](const P_Vertex* v) { return std::hypot(v->pt.x - at.x, v->pt.y - at.y); };
        letter = plan(entity->H()) < plan(entity->T()) ? L'D' : L'F';
    }
    if (letter == L'D' || letter == L'B') {
        current = entity->H();
        direction = -1;
    } else {
        current = entity->T();
        direction = 1;
    }
    goState = 0;
    closeEntity();
    return kContinue;
}

int qpoly_edit::takeRetakeParameters() {
    shape_memory::values().retakeMask = askRetakeMask();
    editor_state::PendingAttributes& pending = editor_state::globals().pending;
    if (!(pending.flags & editor_state::kAttributesMemo)) return kRetakeParameters;
    pending.flags &= ~editor_state::kAttributesMemo;
    if (!openRead()) return kRetakeParameters;
    P_Vertex* source = current;
    if (direction > 0 && rubber && inList(rubber)) source = entity->Bxyz(rubber);
    if (source) {
        pending.code = source->tefs();
        pending.i39 = source->i39;
        pending.i40 = source->i40;
        pending.flags |= editor_state::kAttributesPending;
    }
    closeEntity();
    return kRetakeParameters;
}

int qpoly_edit::editExtendedData() {
    ACHAR typed[257] = {};
    if (acedGetString(1, L"Xdata : (?)Liste ; (-)Efface tout ; (NOM=Valeur) : ", typed,
                      sizeof typed / sizeof *typed) != RTNORM)
        return kXData;
    if (!openRead()) return kXData;
    const bool tavro = entity->kindWord() == kTavroKindNumber;
    closeEntity();
    // The host refuses data under a name the drawing has not registered.
    acdbRegApp(tavro ? L"DWX" : L"ZORTA");
    char text[600];
    wideToStr(text, typed);
    // Like every other change of a function keyword, one step for the host's UNDO.
    beginUndoGroup();
    if (entity) editXData(entity, text, tavro ? "DWX" : nullptr);
    endUndoGroup();
    return kXData;
}

int qpoly_edit::fonctions(int keyword) {
    switch (keyword) {
    case kCut:
        return cutStretch();
    case kInverse:
    case kSquare:
    case kHeights:
        return reshapeStretch(keyword);
    case kJoin:
        return joinSelected();
    case kPurgeArcs:
        return purgeArcPoints();
    case kDelete:
        return deleteStretch();
    case kOffset:
        return offsetStretch();
    case kRetake:
        return retakeStretch();
    case kRetakeParameters:
        return takeRetakeParameters();
    case kContinue:
        return continueFromEnd();
    case kXData:
        return editExtendedData();
    default:
        break;
    }
    short mask = 0, bits = 0;
    if (!drawingMode(keyword, mask, bits)) return kOtherInput;
    beginUndoGroup();
    if (entity) entity->f71(static_cast<short>((entity->f71() & ~mask) | bits));
    endUndoGroup();
    return keyword;
}
