#include "host/editor/edit_commands.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

#include "host/db/database.h"
#include "host/db/symbol_tables.h"
#include "host/db/system_variables.h"
#include "host/editor/acut.h"
#include "host/editor/editor_variables.h"
#include "host/editor/ucs.h"
#include "host/entities/curve.h"
#include "host/input/entity_refs.h"
#include "host/input/prompt_input.h"
#include "host/input/prompts.h"
#include "host/selection/osnap.h"
#include "host/selection/selection_sets.h"
#include "host/selection/ssget.h"

namespace host {

namespace {

bool onLockedLayer(AcDbObjectId id) {
    AcDbEntity* entity = nullptr;
    if (acdbOpenObject(entity, id, AcDb::kForRead) != Acad::eOk) return false;
    const AcDbObjectId layerId = entity->layerId();
    entity->close();
    AcDbLayerTableRecord* layer = nullptr;
    if (acdbOpenObject(layer, layerId, AcDb::kForRead) != Acad::eOk) return false;
    const bool locked = layer->isLocked();
    layer->close();
    return locked;
}

enum class Use { Read, Change };

// The entities chosen at a selection prompt; none on a cancel. Those a command would change are left out
// when their layer is locked, and the count left out is said, as a CAD program says it.
std::vector<AcDbObjectId> chooseEntities(Use use = Use::Change) {
    std::vector<AcDbObjectId> ids;
    ads_name ss;
    if (acedSSGet(nullptr, nullptr, nullptr, nullptr, ss) != RTNORM) return ids;
    for (const SelectionMember& m : *selectionMembers(ss))
        ids.push_back(m.id);
    acedSSFree(ss);
    if (use == Use::Read) return ids;
    const auto locked = std::erase_if(ids, onLockedLayer);
    if (locked > 0)
        acutPrintf(locked == 1 ? L"\n%d était sur un calque verrouillé."
                               : L"\n%d étaient sur un calque verrouillé.",
                   static_cast<int>(locked));
    return ids;
}

// A point in world coordinates, dragged from `base` when given.
std::optional<AcGePoint3d> askPoint(const wchar_t* prompt, const std::optional<AcGePoint3d>& base = {}) {
    ads_point answer, from = {0, 0, 0};
    if (base) {
        const AcGePoint3d user = worldToUcs(*base);
        from[0] = user.x, from[1] = user.y, from[2] = user.z;
    }
    if (acedGetPoint(base ? from : nullptr, prompt, answer) != RTNORM) return std::nullopt;
    return ucsToWorld(AcGePoint3d(answer[0], answer[1], answer[2]));
}

// Each entity opened for write, changed, closed; a refusal is reported and the others go on.
template <class Change> void changeEach(const std::vector<AcDbObjectId>& ids, Change change) {
    for (AcDbObjectId id : ids) {
        AcDbEntity* entity = nullptr;
        if (acdbOpenObject(entity, id, AcDb::kForWrite) != Acad::eOk) continue;
        if (Acad::ErrorStatus es = change(*entity); es != Acad::eOk)
            acutPrintf(L"\n%s: %hs", entity->isA()->name(), statusName(es));
        entity->close();
    }
}

void transformEach(const std::vector<AcDbObjectId>& ids, const AcGeMatrix3d& m) {
    changeEach(ids, [&](AcDbEntity& e) { return e.transformBy(m); });
}

// The entities chosen, a base point, then the transform that `ask` makes from it; nothing on a cancel.
template <class Ask> void transformChosen(Ask ask) {
    const std::vector<AcDbObjectId> ids = chooseEntities();
    if (ids.empty()) return;
    const auto base = askPoint(L"\nPoint de base: ");
    if (!base) return;
    if (const std::optional<AcGeMatrix3d> m = ask(*base)) transformEach(ids, *m);
}

// Appends `entity` to the block that owns `like`, with its properties unless it has them already; its id,
// null on a refusal.
AcDbObjectId appendBeside(const AcDbEntity& like, AcDbEntity* entity) {
    AcDbBlockTableRecord* owner = nullptr;
    if (acdbOpenObject(owner, like.ownerId(), AcDb::kForWrite) != Acad::eOk) {
        delete entity;
        return {};
    }
    AcDbObjectId id;
    if (owner->appendAcDbEntity(id, entity) == Acad::eOk)
        entity->close();
    else
        delete entity;
    owner->close();
    return id;
}

// Copies of the entities moved by `m`; the ids of the copies made.
std::vector<AcDbObjectId> copyEach(const std::vector<AcDbObjectId>& ids, const AcGeMatrix3d& m) {
    std::vector<AcDbObjectId> copies;
    for (AcDbObjectId id : ids) {
        AcDbEntity* entity = nullptr;
        if (acdbOpenObject(entity, id, AcDb::kForRead) != Acad::eOk) continue;
        AcDbEntity* copy = nullptr;
        if (Acad::ErrorStatus es = entity->getTransformedCopy(m, copy); es != Acad::eOk)
            acutPrintf(L"\n%s: %hs", entity->isA()->name(), statusName(es));
        else if (AcDbObjectId made = appendBeside(*entity, copy); !made.isNull())
            copies.push_back(made);
        entity->close();
    }
    return copies;
}

AcGeVector3d ucsZ() {
    return ucsToWorld(AcGePoint3d(0, 0, 1)) - ucsToWorld(AcGePoint3d::kOrigin);
}

} // namespace

void listCommand() {
    for (AcDbObjectId id : chooseEntities(Use::Read)) {
        AcDbEntity* entity = nullptr;
        if (acdbOpenObject(entity, id, AcDb::kForRead) != Acad::eOk) continue;
        entity->list();
        entity->close();
    }
}

void eraseCommand() {
    changeEach(chooseEntities(), [](AcDbEntity& e) { return e.erase(); });
}

void copyCommand() {
    const std::vector<AcDbObjectId> ids = chooseEntities(Use::Read);
    if (ids.empty()) return;
    const auto base = askPoint(L"\nSpécifiez le point de base: ");
    if (!base) return;
    // Enter at the first second point takes the base point as the displacement, as a CAD program does.
    ads_point answer, from = {0, 0, 0};
    const AcGePoint3d userBase = worldToUcs(*base);
    from[0] = userBase.x, from[1] = userBase.y, from[2] = userBase.z;
    std::vector<std::vector<AcDbObjectId>> steps;
    for (;;) {
        acedInitGet(0, steps.empty() ? nullptr : L"Quitter annUler _ Exit Undo");
        const int rc =
            acedGetPoint(from,
                         steps.empty() ? L"\nSpécifiez le deuxième point ou <utiliser le premier point comme "
                                         L"déplacement>: "
                                       : L"\nSpécifiez le deuxième point ou [Quitter/annUler] <Quitter>: ",
                         answer);
        if (rc == RTNONE && steps.empty()) {
            copyEach(ids, AcGeMatrix3d::translation(*base - ucsToWorld(AcGePoint3d::kOrigin)));
            return;
        }
        ACHAR word[16] = L"";
        if (rc == RTKWORD) acedGetInput(word, 16);
        if (rc == RTKWORD && std::wstring(word) == L"Undo") {
            if (steps.empty()) continue;
            changeEach(steps.back(), [](AcDbEntity& e) { return e.erase(); });
            steps.pop_back();
            setLastPoint(userBase);
            continue;
        }
        if (rc != RTNORM) return;
        const AcGePoint3d to = ucsToWorld(AcGePoint3d(answer[0], answer[1], answer[2]));
        steps.push_back(copyEach(ids, AcGeMatrix3d::translation(to - *base)));
    }
}

void moveCommand() {
    transformChosen([](const AcGePoint3d& base) -> std::optional<AcGeMatrix3d> {
        const auto to = askPoint(L"\nDeuxième point: ", base);
        if (!to) return std::nullopt;
        return AcGeMatrix3d::translation(*to - base);
    });
}

void rotateCommand() {
    transformChosen([](const AcGePoint3d& base) -> std::optional<AcGeMatrix3d> {
        double degrees = 0;
        if (acedGetReal(L"\nAngle de rotation: ", &degrees) != RTNORM) return std::nullopt;
        return AcGeMatrix3d::rotation(degrees * std::numbers::pi / 180, ucsZ(), base);
    });
}

void scaleCommand() {
    transformChosen([](const AcGePoint3d& base) -> std::optional<AcGeMatrix3d> {
        double factor = 0;
        acedInitGet(RSG_NOZERO | RSG_NONEG, nullptr);
        if (acedGetReal(L"\nFacteur d'échelle: ", &factor) != RTNORM) return std::nullopt;
        return AcGeMatrix3d::scaling(factor, base);
    });
}

void mirrorCommand() {
    const std::vector<AcDbObjectId> ids = chooseEntities();
    if (ids.empty()) return;
    const auto first = askPoint(L"\nPremier point de l'axe de symétrie: ");
    if (!first) return;
    const auto second = askPoint(L"\nDeuxième point de l'axe de symétrie: ", first);
    if (!second || second->isEqualTo(*first)) return;
    ACHAR answer[8] = L"Non";
    acedInitGet(0, L"Oui Non _ Yes No");
    const int rc = acedGetKword(L"\nEffacer les objets source ? [Oui/Non] <Non>: ", answer, 8);
    if (rc == RTCAN) return;
    const bool erase = rc == RTNORM && std::wstring(answer) == L"Yes";
    const AcGeMatrix3d m = AcGeMatrix3d::mirroring(*first, (*second - *first).crossProduct(ucsZ()));
    changeEach(ids, [&](AcDbEntity& e) {
        AcDbEntity* copy = nullptr;
        if (Acad::ErrorStatus es = e.getTransformedCopy(m, copy); es != Acad::eOk) return es;
        appendBeside(e, copy);
        return erase ? e.erase() : Acad::eOk;
    });
}

void stretchCommand() {
    const auto corner = askPoint(L"\nPremier coin de la fenêtre: ");
    if (!corner) return;
    const auto opposite = askPoint(L"\nCoin opposé: ", corner);
    if (!opposite) return;
    const auto base = askPoint(L"\nPoint de base: ");
    if (!base) return;
    const auto to = askPoint(L"\nDeuxième point: ", base);
    if (!to) return;
    const AcGeVector3d offset = *to - *base;
    const double x0 = std::min(corner->x, opposite->x), x1 = std::max(corner->x, opposite->x);
    const double y0 = std::min(corner->y, opposite->y), y1 = std::max(corner->y, opposite->y);
    auto inside = [&](const AcGePoint3d& p) { return p.x >= x0 && p.x <= x1 && p.y >= y0 && p.y <= y1; };
    changeEach(currentSpaceEntities(), [&](AcDbEntity& e) {
        AcDbExtents extents;
        if (e.getGeomExtents(extents) == Acad::eOk && inside(extents.minPoint()) &&
            inside(extents.maxPoint()))
            return e.transformBy(AcGeMatrix3d::translation(offset));
        AcGePoint3dArray points;
        if (e.getStretchPoints(points) != Acad::eOk) return Acad::eOk;
        AcDbIntArray moved;
        for (int i = 0; i < points.length(); ++i)
            if (inside(points[i])) moved.append(i);
        return moved.isEmpty() ? Acad::eOk : e.moveStretchPointsAt(moved, offset);
    });
}

void dragGrips(AcDbObjectId id, const AcGePoint3d& from, const AcGePoint3d& to) {
    resbuf pickbox{};
    const double reach =
        (acedGetVar(L"PICKBOX", &pickbox) == RTNORM ? std::max<short>(pickbox.resval.rint, 1) : 3) *
        unitsPerPixel();
    changeEach({id}, [&](AcDbEntity& e) {
        AcGePoint3dArray grips;
        AcDbIntArray modes, ids, near;
        if (Acad::ErrorStatus es = e.getGripPoints(grips, modes, ids); es != Acad::eOk) return es;
        for (int i = 0; i < grips.length(); ++i)
            if (AcGePoint2d(grips[i].x, grips[i].y).distanceTo(AcGePoint2d(from.x, from.y)) <= reach)
                near.append(i);
        if (near.isEmpty()) {
            printText(L"\n*** Aucune poignée à ce point");
            return Acad::eOk;
        }
        return e.moveGripPointsAt(near, to - from);
    });
}

void breakCommand() {
    ads_name name;
    ads_point at;
    if (acedEntSel(L"\nChoix de l'objet: ", name, at) != RTNORM) return;
    const AcGePoint3d firstPick = ucsToWorld(AcGePoint3d(at[0], at[1], at[2]));
    const auto secondPick = askPoint(L"\nDeuxième point de rupture ou <Entrée: au premier>: ");
    AcDbObjectId id;
    AcDbCurve* curve = nullptr;
    if (acdbGetObjectId(id, name) != Acad::eOk || acdbOpenObject(curve, id, AcDb::kForWrite) != Acad::eOk) {
        printText(L"\nL'objet ne peut pas être coupé.");
        return;
    }
    AcGePoint3dArray cuts;
    double low = 0, high = 0;
    for (const AcGePoint3d& pick :
         secondPick ? std::vector{firstPick, *secondPick} : std::vector{firstPick}) {
        AcGePoint3d onCurve;
        double param = 0;
        if (curve->getClosestPointTo(pick, onCurve) != Acad::eOk ||
            curve->getParamAtPoint(onCurve, param) != Acad::eOk)
            continue;
        low = cuts.isEmpty() ? param : std::min(low, param);
        high = cuts.isEmpty() ? param : std::max(high, param);
        cuts.append(onCurve);
    }
    AcDbVoidPtrArray pieces;
    if (cuts.isEmpty() || curve->getSplitCurves(cuts, pieces) != Acad::eOk) {
        printText(L"\nL'objet ne peut pas être coupé.");
        curve->close();
        return;
    }
    // The piece between the two points goes; the others take the source's place.
    for (void* p : pieces) {
        std::unique_ptr<AcDbCurve> piece(static_cast<AcDbCurve*>(p));
        AcGePoint3d start, end;
        double from = 0, to = 0;
        const bool between =
            secondPick && piece->getStartPoint(start) == Acad::eOk && piece->getEndPoint(end) == Acad::eOk &&
            curve->getParamAtPoint(start, from) == Acad::eOk &&
            curve->getParamAtPoint(end, to) == Acad::eOk && from >= low - 1e-9 && to <= high + 1e-9;
        if (between) continue;
        piece->setPropertiesFrom(curve);
        appendBeside(*curve, piece.release());
    }
    curve->erase();
    curve->close();
}

void explodeCommand() {
    changeEach(chooseEntities(), [](AcDbEntity& e) {
        AcDbVoidPtrArray parts;
        if (Acad::ErrorStatus es = e.explode(parts); es != Acad::eOk) {
            for (void* p : parts)
                delete static_cast<AcDbEntity*>(p);
            return es;
        }
        // An entity that gives nothing stays: exploding never loses it.
        if (parts.isEmpty()) {
            acutPrintf(L"\n%s: ne peut pas être décomposé", e.isA()->name());
            return Acad::eOk;
        }
        for (void* p : parts)
            appendBeside(e, static_cast<AcDbEntity*>(p));
        return e.erase();
    });
}

} // namespace host
