#include "host/editor/command_input.h"

#include <charconv>
#include <cmath>
#include <numbers>

#include "host/db/database.h"
#include "host/db/symbol_tables.h"
#include "host/db/system_variables.h"
#include "host/editor/ucs.h"
#include "host/entities/entity.h"
#include "host/input/prompt_input.h"
#include "host/input/prompts.h"
#include "host/input/text_numbers.h"

namespace host {

namespace {

std::wstring lastInputText() {
    ACHAR text[1024];
    return acedGetInput(text, 1024) == RTNORM ? std::wstring(text) : L"";
}

// A point prompt that also takes any text (a number, a keyword): the text comes back as a keyword.
PointAnswer askPointOrText(const wchar_t* prompt, const wchar_t* keywords,
                           const std::optional<AcGePoint3d>& base, int flags) {
    acedInitGet(flags, keywords);
    ads_point from = {0, 0, 0}, answer;
    if (base) from[0] = base->x, from[1] = base->y, from[2] = base->z;
    PointAnswer a;
    switch (acedGetPoint(base ? from : nullptr, prompt, answer)) {
    case RTNORM:
        a.kind = PointAnswer::Point;
        a.point = AcGePoint3d(answer[0], answer[1], answer[2]);
        break;
    case RTKWORD:
        a.kind = PointAnswer::Keyword;
        a.keyword = lastInputText();
        break;
    case RTNONE:
        a.kind = PointAnswer::None;
        break;
    default:
        break;
    }
    return a;
}

} // namespace

PointAnswer askPointOr(const wchar_t* prompt, const wchar_t* keywords, const std::optional<AcGePoint3d>& base,
                       int restrictions) {
    return askPointOrText(prompt, keywords, base, restrictions);
}

std::optional<double> numberIn(const std::wstring& text) {
    double value = 0;
    if (parseReal(text, value) && std::isfinite(value)) return value;
    return std::nullopt;
}

std::optional<AcGePoint3d> askUcsPoint(const wchar_t* prompt, const std::optional<AcGePoint3d>& base) {
    const PointAnswer a = askPointOr(prompt, nullptr, base);
    if (a.kind != PointAnswer::Point) return std::nullopt;
    return a.point;
}

std::optional<double> askDistance(const wchar_t* prompt, const std::optional<AcGePoint3d>& base,
                                  std::optional<double> fallback) {
    for (;;) {
        const PointAnswer a = askPointOrText(prompt, nullptr, base, RSG_OTHER);
        if (a.kind == PointAnswer::None) return fallback;
        if (a.kind == PointAnswer::Cancel) return std::nullopt;
        if (a.kind == PointAnswer::Keyword) {
            if (const auto value = numberIn(a.keyword)) return value;
            printText(L"\nDistance requise ou deux points.");
            continue;
        }
        if (base) return base->distanceTo(a.point);
        const auto second = askUcsPoint(L"\nSpécifiez le deuxième point: ", a.point);
        if (!second) return std::nullopt;
        return a.point.distanceTo(*second);
    }
}

std::optional<double> askAngle(const wchar_t* prompt, const AcGePoint3d& base,
                               std::optional<double> fallback) {
    for (;;) {
        const PointAnswer a = askPointOrText(prompt, nullptr, base, RSG_OTHER);
        if (a.kind == PointAnswer::None) return fallback;
        if (a.kind == PointAnswer::Cancel) return std::nullopt;
        if (a.kind == PointAnswer::Point) return planAngle(base, a.point);
        if (const auto degrees = numberIn(a.keyword)) return *degrees * std::numbers::pi / 180;
        printText(L"\nAngle requis ou un point.");
    }
}

std::optional<double> askReal(const std::wstring& prompt, double fallback, int restrictions) {
    acedInitGet(restrictions, nullptr);
    double value = fallback;
    const int rc = acedGetReal(prompt.c_str(), &value);
    if (rc == RTNONE) return fallback;
    if (rc != RTNORM) return std::nullopt;
    return value;
}

std::optional<std::wstring> askWord(const wchar_t* prompt, const std::wstring& fallback) {
    ACHAR text[1024];
    if (acedGetString(1, prompt, text, 1024) != RTNORM) return std::nullopt;
    return text[0] ? std::wstring(text) : fallback;
}

double planAngle(const AcGePoint3d& a, const AcGePoint3d& b) {
    return std::atan2(b.y - a.y, b.x - a.x);
}

std::optional<AcGePoint3d> circleCentre(const AcGePoint3d& a, const AcGePoint3d& b, const AcGePoint3d& c) {
    const double bx = b.x - a.x, by = b.y - a.y, cx = c.x - a.x, cy = c.y - a.y;
    const double d = 2 * (bx * cy - by * cx);
    const double scale = std::max({std::fabs(bx), std::fabs(by), std::fabs(cx), std::fabs(cy)});
    if (std::fabs(d) <= 1e-12 * scale * scale) return std::nullopt;
    const double b2 = bx * bx + by * by, c2 = cx * cx + cy * cy;
    return AcGePoint3d(a.x + (cy * b2 - by * c2) / d, a.y + (bx * c2 - cx * b2) / d, a.z);
}

AcDbObjectId appendFromUcs(AcDbEntity* entity) {
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    AcDbBlockTableRecord* space = nullptr;
    if (!db || acdbOpenObject(space, db->currentSpaceId(), AcDb::kForWrite) != Acad::eOk) {
        delete entity;
        return {};
    }
    AcGeMatrix3d ucs;
    acedGetCurrentUCS(ucs);
    entity->setDatabaseDefaults(db);
    if (!ucs.isEqualTo(AcGeMatrix3d::kIdentity)) entity->transformBy(ucs);
    AcDbObjectId id;
    if (space->appendAcDbEntity(id, entity) == Acad::eOk)
        entity->close();
    else
        delete entity;
    space->close();
    return id;
}

std::wstring formatFixed(double value, const wchar_t* precisionVariable, int fallback) {
    resbuf precision{};
    const bool set = acedGetVar(precisionVariable, &precision) == RTNORM && precision.restype == RTSHORT &&
                     precision.resval.rint >= 0 && precision.resval.rint <= 8;
    char text[64];
    const auto [end, ec] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed,
                                         set ? precision.resval.rint : fallback);
    if (ec != std::errc()) return formatReal(value);
    return std::wstring(text, end);
}

std::wstring formatLength(double value) {
    return formatFixed(value, L"LUPREC", 4);
}

} // namespace host
