#include "host/editor/polyline_arc_options.h"

#include <cmath>
#include <numbers>
#include <optional>

#include "host/editor/arc_construction.h"
#include "host/editor/command_input.h"
#include "host/ge/curve_geometry.h"

namespace host {

namespace {

constexpr double kPi = std::numbers::pi;

bool arcBySecondPoint(PolylineDraft& draft) {
    const auto through = askUcsPoint(L"\nSpécifiez le deuxième point de l'arc: ", draft.last());
    if (!through) return false;
    const auto end = askUcsPoint(L"\nSpécifiez l'extrémité de l'arc: ", *through);
    if (!end) return false;
    draft.arcTo(arcThroughPoints(draft.last(), *through, *end));
    return true;
}

bool arcByDirection(PolylineDraft& draft) {
    const auto tangent =
        askAngle(L"\nSpécifiez la direction de la tangente au point de départ de l'arc: ", draft.last());
    if (!tangent) return false;
    const auto end = askUcsPoint(L"\nSpécifiez l'extrémité de l'arc: ", draft.last());
    if (!end) return false;
    draft.arcTo(arcTangent(draft.last(), *end, *tangent));
    return true;
}

// The arc of `radius` through `included` along a chord asked for, by default the one that keeps the arc
// tangent to the last segment.
bool arcAlongChord(PolylineDraft& draft, double radius, double included) {
    const double tangentChord = draft.direction() + included / 2;
    const auto chord = askAngle((L"\nSpécifiez la direction de la corde de l'arc <" +
                                 formatFixed(normalizeAngle(tangentChord) * 180 / kPi, L"AUPREC", 0) + L">: ")
                                    .c_str(),
                                draft.last(), tangentChord);
    if (!chord) return false;
    const double length = 2 * radius * std::fabs(std::sin(included / 2));
    draft.arcTo(arcBetween(
        draft.last(), draft.last() + AcGeVector3d(std::cos(*chord), std::sin(*chord), 0) * length, included));
    return true;
}

bool arcByAngle(PolylineDraft& draft) {
    const auto included = askAngle(L"\nSpécifiez l'angle décrit: ", draft.last());
    if (!included) return false;
    const PointAnswer a = askPointOr(L"\nSpécifiez l'extrémité de l'arc (maintenir la touche Ctrl enfoncée "
                                     L"pour changer de direction) ou [CEntre/Rayon]: ",
                                     L"CEntre Rayon _ CEnter Radius", draft.last());
    if (a.kind == PointAnswer::Point) {
        draft.arcTo(arcBetween(draft.last(), a.point, *included));
        return true;
    }
    if (a.kind != PointAnswer::Keyword) return false;
    if (a.keyword == L"CEnter") {
        const auto centre = askUcsPoint(L"\nSpécifiez le centre de l'arc: ", draft.last());
        if (!centre) return false;
        draft.arcTo(arcTurning(*centre, draft.last(), *included));
        return true;
    }
    const auto radius = askDistance(L"\nSpécifiez le rayon de l'arc: ", draft.last());
    return radius && arcAlongChord(draft, std::fabs(*radius), *included);
}

bool arcByCentre(PolylineDraft& draft) {
    const auto centre = askUcsPoint(L"\nSpécifiez le centre de l'arc: ", draft.last());
    if (!centre) return false;
    const PointAnswer a = askPointOr(L"\nSpécifiez l'extrémité de l'arc (maintenir la touche Ctrl enfoncée "
                                     L"pour changer de direction) ou [Angle/Longueur]: ",
                                     L"Angle Longueur _ Angle Length", *centre);
    if (a.kind == PointAnswer::Point) {
        draft.arcTo(arcAroundTo(*centre, draft.last(), a.point));
        return true;
    }
    if (a.kind != PointAnswer::Keyword) return false;
    std::optional<double> included;
    if (a.keyword == L"Angle") {
        included = askAngle(L"\nSpécifiez l'angle décrit: ", *centre);
        if (!included) return false;
    } else {
        const auto chord = askDistance(L"\nSpécifiez la longueur de la corde: ", draft.last());
        if (!chord) return false;
        included = spannedAngle(std::fabs(*chord), centre->distanceTo(draft.last()), *chord < 0);
    }
    if (included) draft.arcTo(arcTurning(*centre, draft.last(), *included));
    return true;
}

bool arcByRadius(PolylineDraft& draft) {
    const auto radius = askDistance(L"\nSpécifiez le rayon de l'arc: ", draft.last());
    if (!radius) return false;
    const PointAnswer a = askPointOr(L"\nSpécifiez l'extrémité de l'arc (maintenir la touche Ctrl enfoncée "
                                     L"pour changer de direction) ou [Angle]: ",
                                     L"Angle _ Angle", draft.last());
    if (a.kind == PointAnswer::Point) {
        // A negative radius takes the larger arc, as ARC does.
        if (const auto included =
                spannedAngle(draft.last().distanceTo(a.point), std::fabs(*radius), *radius < 0))
            draft.arcTo(arcBetween(draft.last(), a.point, *included));
        return true;
    }
    if (a.kind != PointAnswer::Keyword) return false;
    const auto included = askAngle(L"\nSpécifiez l'angle décrit: ", draft.last());
    return included && arcAlongChord(draft, std::fabs(*radius), *included);
}

struct ArcOption {
    const wchar_t* keyword;
    bool (*draw)(PolylineDraft&);
};

constexpr ArcOption kArcOptions[] = {
    {L"Angle", arcByAngle},   {L"CEnter", arcByCentre},      {L"Direction", arcByDirection},
    {L"Radius", arcByRadius}, {L"Second", arcBySecondPoint},
};

} // namespace

ArcOptionDraw arcOptionFor(const std::wstring& keyword) {
    for (const ArcOption& option : kArcOptions)
        if (keyword == option.keyword) return option.draw;
    return nullptr;
}

} // namespace host
