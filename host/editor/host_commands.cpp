#include "host/editor/host_commands.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "host/db/database.h"
#include "host/editor/acut.h"
#include "host/editor/arc_command.h"
#include "host/editor/draw_commands.h"
#include "host/editor/edit_commands.h"
#include "host/editor/file_commands.h"
#include "host/editor/find_file.h"
#include "host/editor/inquiry_commands.h"
#include "host/editor/insert_command.h"
#include "host/editor/layer_command.h"
#include "host/editor/menus.h"
#include "host/editor/polyline_command.h"
#include "host/editor/text_command.h"
#include "host/editor/ucs.h"
#include "host/editor/zoom_command.h"
#include "host/entities/curve.h"
#include "host/input/entity_refs.h"
#include "host/input/prompt_input.h"
#include "host/input/prompts.h"
#include "host/selection/selection_sets.h"
#include "host/selection/ssget.h"

namespace host {

namespace {

AcDbDatabase* working() {
    return acdbHostApplicationServices()->workingDatabase();
}

void undoGroups(int count) {
    AcDbDatabase* db = working();
    int done = 0;
    while (db && done < count) {
        Acad::ErrorStatus es = db->undoLastGroup();
        if (es == Acad::eNotApplicable) {
            printText(L"\nTout a été annulé");
            break;
        }
        if (es != Acad::eOk) {
            printText(es == Acad::eInvalidInput ? L"\n*** Un groupe d'annulation est encore ouvert"
                                                : L"\n*** Un objet du groupe est encore ouvert");
            break;
        }
        ++done;
    }
    acutPrintf(L"\nAnnulé(s) : %d", done);
}

void undoCommand() {
    acedInitGet(RSG_NOZERO | RSG_NONEG, L"DEbut Fin _ BEgin End");
    int count = 1;
    int rc = acedGetInt(L"\nEntrez le nombre d'opérations à annuler ou [DEbut/Fin] <1>: ", &count);
    if (rc == RTCAN) return;
    if (rc == RTKWORD) {
        ACHAR word[16];
        acedGetInput(word, 16);
        AcDbDatabase* db = working();
        if (!db) return;
        if (std::wstring(word) == L"BEgin")
            db->beginUndoGroup();
        else if (db->endUndoGroup() != Acad::eOk)
            printText(L"\n*** Aucun groupe d'annulation n'est ouvert");
        return;
    }
    undoGroups(rc == RTNONE ? 1 : count);
}

void uCommand() {
    undoGroups(1);
}

std::wstring askText(const wchar_t* prompt) {
    ACHAR text[1024];
    return acedGetString(1, prompt, text, 1024) == RTNORM ? std::wstring(text) : L"";
}

void menuLoadCommand() {
    std::wstring name = askText(L"\nNom du fichier de menus: ");
    if (name.empty()) return;
    ACHAR found[1024];
    std::wstring path = acedFindFile(name.c_str(), found, 1024) == RTNORM ? found : name;
    std::wstring group, error;
    if (loadMenuFile(path, group, error))
        acutPrintf(L"\nGroupe de menus %s chargé.", group.c_str());
    else
        acutPrintf(L"\n*** %s", error.c_str());
}

void menuUnloadCommand() {
    std::wstring group = askText(L"\nGroupe de menus à décharger: ");
    if (group.empty()) return;
    if (unloadMenuGroup(group))
        acutPrintf(L"\nGroupe de menus %s déchargé.", group.c_str());
    else
        acutPrintf(L"\n*** Le groupe de menus %s n'est pas chargé.", group.c_str());
}

void selectCommand() {
    ads_name ss;
    if (acedSSGet(nullptr, nullptr, nullptr, nullptr, ss) != RTNORM) return;
    setPreviousSelection(*selectionMembers(ss));
    acedSSFree(ss);
}

// The point where the picked end of `curve` reaches the nearest boundary, beyond that end.
bool extensionPoint(const AcDbCurve* curve, bool atStart, const std::vector<AcDbObjectId>& boundaries,
                    AcGePoint3d& to) {
    AcGePoint3d end;
    if ((atStart ? curve->getStartPoint(end) : curve->getEndPoint(end)) != Acad::eOk) return false;
    AcGePoint3d other;
    if ((atStart ? curve->getEndPoint(other) : curve->getStartPoint(other)) != Acad::eOk) other = end;
    double best = std::numeric_limits<double>::infinity();
    for (AcDbObjectId id : boundaries) {
        if (id == curve->objectId()) continue;
        AcDbEntity* boundary = nullptr;
        if (acdbOpenObject(boundary, id, AcDb::kForRead) != Acad::eOk) continue;
        AcGePoint3dArray points;
        curve->intersectWith(boundary, AcDb::kExtendThis, points);
        boundary->close();
        for (const AcGePoint3d& p : points) {
            AcGePoint3d onCurve;
            bool outside = curve->getClosestPointTo(p, onCurve) != Acad::eOk || !onCurve.isEqualTo(p);
            // Beyond this end: off the curve and on this end's side.
            if (outside && p.distanceTo(end) < p.distanceTo(other) && p.distanceTo(end) < best) {
                best = p.distanceTo(end);
                to = p;
            }
        }
    }
    return std::isfinite(best);
}

void extendOne(const ads_name name, const AcGePoint3d& pick, const std::vector<AcDbObjectId>& boundaries) {
    AcDbObjectId id;
    AcDbCurve* curve = nullptr;
    if (acdbGetObjectId(id, name) != Acad::eOk || acdbOpenObject(curve, id, AcDb::kForWrite) != Acad::eOk) {
        printText(L"\nL'objet ne peut pas être prolongé.");
        return;
    }
    AcGePoint3d start, end, p = ucsToWorld(pick);
    bool atStart = curve->getStartPoint(start) == Acad::eOk && curve->getEndPoint(end) == Acad::eOk &&
                   p.distanceTo(start) < p.distanceTo(end);
    AcGePoint3d to;
    if (!extensionPoint(curve, atStart, boundaries, to))
        printText(L"\nL'objet ne coupe aucune arête.");
    else if (curve->extend(atStart, to) != Acad::eOk)
        printText(L"\nL'objet ne peut pas être prolongé.");
    curve->close();
}

void extendCommand() {
    const ACHAR* prompts[] = {L"\nChoix des arêtes limites ou <toutes>: ", L"\nRetirer des arêtes limites: "};
    ads_name ss;
    int rc = acedSSGet(L":$", prompts, nullptr, nullptr, ss);
    if (rc == RTCAN) return;
    std::vector<AcDbObjectId> boundaries;
    if (rc == RTNORM) {
        for (const SelectionMember& m : *selectionMembers(ss))
            boundaries.push_back(m.id);
        acedSSFree(ss);
    } else {
        boundaries = currentSpaceEntities();
    }
    for (;;) {
        ads_name picked;
        ads_point at;
        if (acedEntSel(L"\nChoix de l'objet à prolonger: ", picked, at) != RTNORM) return;
        extendOne(picked, AcGePoint3d(at[0], at[1], at[2]), boundaries);
    }
}

} // namespace

namespace {

struct HostCommand {
    const wchar_t* name;
    HostCommandFunction function;
};

constexpr HostCommand kCommands[] = {{L"UNDO", undoCommand},
                                     {L"U", uCommand},
                                     {L"MENULOAD", menuLoadCommand},
                                     {L"MENUUNLOAD", menuUnloadCommand},
                                     {L"EXTEND", extendCommand},
                                     {L"SELECT", selectCommand},
                                     {L"LIST", listCommand},
                                     {L"MOVE", moveCommand},
                                     {L"ROTATE", rotateCommand},
                                     {L"SCALE", scaleCommand},
                                     {L"MIRROR", mirrorCommand},
                                     {L"STRETCH", stretchCommand},
                                     {L"BREAK", breakCommand},
                                     {L"EXPLODE", explodeCommand},
                                     {L"ZOOM", zoomCommand},
                                     {L"ERASE", eraseCommand},
                                     {L"COPY", copyCommand},
                                     {L"LINE", lineCommand},
                                     {L"CIRCLE", circleCommand},
                                     {L"ARC", arcCommand},
                                     {L"ID", idCommand},
                                     {L"DIST", distCommand},
                                     {L"AREA", areaCommand},
                                     {L"PLINE", plineCommand},
                                     {L"TEXT", textCommand},
                                     {L"-INSERT", insertCommand},
                                     {L"-LAYER", layerCommand},
                                     {L"SAVE", saveCommand},
                                     {L"SAVEAS", saveAsCommand},
                                     {L"QSAVE", qsaveCommand},
                                     {L"QUIT", quitCommand},
                                     {L"EXIT", quitCommand}};

} // namespace

HostCommandFunction findHostCommand(const std::wstring& name) {
    for (const HostCommand& c : kCommands)
        if (name == c.name) return c.function;
    return nullptr;
}

std::vector<std::wstring> hostCommandNames() {
    std::vector<std::wstring> names;
    for (const HostCommand& c : kCommands)
        names.emplace_back(c.name);
    std::ranges::sort(names);
    return names;
}

} // namespace host
