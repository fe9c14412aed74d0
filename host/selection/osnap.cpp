#include "host/selection/osnap.h"

#include <cwctype>
#include <limits>
#include <string>
#include <vector>

#include "host/db/system_variables.h"
#include "host/editor/editor_variables.h"
#include "host/editor/ucs.h"
#include "host/entities/curve.h"
#include "host/entities/entity.h"
#include "host/input/entity_refs.h"
#include "host/rx/ac_array.h"

namespace host {

namespace {

// OSMODE bit and entity snap mode, in the order the bits count.
struct ModeBit {
    int bit;
    AcDb::OsnapMode mode;
    const wchar_t* name;
};
constexpr ModeBit kModes[] = {
    {1, AcDb::kOsModeEnd, L"END"},    {2, AcDb::kOsModeMid, L"MID"},   {4, AcDb::kOsModeCen, L"CEN"},
    {8, AcDb::kOsModeNode, L"NOD"},   {16, AcDb::kOsModeQuad, L"QUA"}, {64, AcDb::kOsModeIns, L"INS"},
    {128, AcDb::kOsModePerp, L"PER"}, {256, AcDb::kOsModeTan, L"TAN"}, {512, AcDb::kOsModeNear, L"NEA"},
};
constexpr int kSnapOff = 0x4000;
constexpr int kIntersection = 32;

// The curves of the current space that pass within `reach` of the pick in plan.
std::vector<AcDbObjectId> curvesNear(const AcGePoint3d& pick, double reach) {
    std::vector<AcDbObjectId> near;
    for (AcDbObjectId id : currentSpaceEntities()) {
        AcDbCurve* curve = nullptr;
        if (acdbOpenObject(curve, id, AcDb::kForRead) != Acad::eOk) continue;
        AcGePoint3d closest;
        if (curve->getClosestPointTo(pick, closest) == Acad::eOk &&
            AcGePoint2d(closest.x, closest.y).distanceTo(AcGePoint2d(pick.x, pick.y)) <= reach)
            near.push_back(id);
        curve->close();
    }
    return near;
}

// The intersections of the curves near the pick, each pair once.
AcGePoint3dArray intersectionsNear(const AcGePoint3d& pick, double reach) {
    AcGePoint3dArray points;
    const std::vector<AcDbObjectId> near = curvesNear(pick, reach);
    for (std::size_t i = 0; i < near.size(); ++i)
        for (std::size_t j = i + 1; j < near.size(); ++j) {
            AcDbEntity *a = nullptr, *b = nullptr;
            if (acdbOpenObject(a, near[i], AcDb::kForRead) != Acad::eOk) continue;
            if (acdbOpenObject(b, near[j], AcDb::kForRead) == Acad::eOk) {
                a->intersectWith(b, AcDb::kOnBothOperands, points);
                b->close();
            }
            a->close();
        }
    return points;
}

} // namespace

double unitsPerPixel() {
    resbuf screen{};
    double height = acedGetVar(L"SCREENSIZE", &screen) == RTNORM ? screen.resval.rpoint[1] : 0.0;
    return height > 0 ? realVariable(L"VIEWSIZE") / height : 1.0;
}

int osnapModeBits(const ACHAR* mode) {
    if (!mode) return -1;
    int bits = 0;
    std::wstring text(mode);
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t comma = text.find(L',', start);
        std::wstring word =
            text.substr(start, comma == std::wstring::npos ? std::wstring::npos : comma - start);
        while (!word.empty() && (word[0] == L'_' || word[0] == L' '))
            word.erase(0, 1);
        for (wchar_t& c : word)
            c = static_cast<wchar_t>(std::towupper(c));
        int found = -1;
        for (const ModeBit& m : kModes)
            if (word.size() >= 3 && std::wstring(m.name) == word.substr(0, 3)) found = m.bit;
        if (word == L"NON" || word == L"NONE") found = 0;
        if (word.size() >= 3 && word.substr(0, 3) == L"INT") found = kIntersection;
        if (found < 0) return -1;
        bits |= found;
        if (comma == std::wstring::npos) break;
        start = comma + 1;
    }
    return bits;
}

bool snapToEntities(const AcGePoint3d& worldPick, int modes, AcGePoint3d& snapped) {
    if (modes <= 0 || (modes & kSnapOff)) return false;
    double best = shortVariable(L"APERTURE") * unitsPerPixel();
    bool found = false;
    resbuf last{};
    acedGetVar(L"LASTPOINT", &last);
    AcGePoint3d lastPoint =
        ucsToWorld(AcGePoint3d(last.resval.rpoint[0], last.resval.rpoint[1], last.resval.rpoint[2]));
    for (AcDbObjectId id : currentSpaceEntities()) {
        AcDbEntity* entity = nullptr;
        if (acdbOpenObject(entity, id, AcDb::kForRead) != Acad::eOk) continue;
        for (const ModeBit& m : kModes) {
            if (!(modes & m.bit)) continue;
            AcGePoint3dArray points;
            AcDbIntArray geomIds;
            if (entity->getOsnapPoints(m.mode, 0, worldPick, lastPoint, AcGeMatrix3d(), points, geomIds) !=
                Acad::eOk)
                continue;
            for (const AcGePoint3d& p : points) {
                double d = AcGePoint2d(p.x, p.y).distanceTo(AcGePoint2d(worldPick.x, worldPick.y));
                if (d <= best) {
                    best = d;
                    snapped = p;
                    found = true;
                }
            }
        }
        entity->close();
    }
    if (modes & kIntersection)
        for (const AcGePoint3d& p : intersectionsNear(worldPick, best)) {
            double d = AcGePoint2d(p.x, p.y).distanceTo(AcGePoint2d(worldPick.x, worldPick.y));
            if (d <= best) {
                best = d;
                snapped = p;
                found = true;
            }
        }
    return found;
}

} // namespace host

int acedOsnap(const ads_point pt, const ACHAR* mode, ads_point result) {
    int bits = host::osnapModeBits(mode);
    if (!pt || !result || bits < 0) return RTERROR;
    AcGePoint3d snapped;
    if (!host::snapToEntities(host::ucsToWorld(AcGePoint3d(pt[0], pt[1], pt[2])), bits, snapped))
        return RTERROR;
    AcGePoint3d u = host::worldToUcs(snapped);
    result[0] = u.x;
    result[1] = u.y;
    result[2] = u.z;
    return RTNORM;
}
