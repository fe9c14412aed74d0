#include "host/editor/polyline_command.h"

#include <cmath>
#include <numbers>
#include <optional>
#include <vector>

#include "host/editor/arc_construction.h"
#include "host/editor/command_input.h"
#include "host/editor/editor_variables.h"
#include "host/entities/lw_polyline.h"
#include "host/ge/curve_geometry.h"
#include "host/input/prompt_input.h"
#include "host/input/prompts.h"

namespace host {

namespace {

constexpr double kPi = std::numbers::pi;

// The angle in (-pi, pi].
double normalised(double angle) {
    angle = std::remainder(angle, 2 * kPi);
    return angle <= -kPi ? angle + 2 * kPi : angle;
}

struct Vertex {
    AcGePoint3d point;
    double bulge = 0, startWidth = 0, endWidth = 0;
};

class PolylineDraft {
public:
    explicit PolylineDraft(const AcGePoint3d& start) : m_vertices{{start}} {}

    const AcGePoint3d& last() const { return m_vertices.back().point; }
    std::size_t segments() const { return m_vertices.size() - 1; }
    void setWidths(double start, double end) { m_startWidth = start, m_endWidth = end; }
    double endWidth() const { return m_endWidth; }

    void lineTo(const AcGePoint3d& to) { add(to, 0); }
    // The arc from the last point to `to` that leaves tangent to the last segment.
    void tangentArcTo(const AcGePoint3d& to) {
        add(to, std::tan(normalised(planAngle(last(), to) - direction()) / 2));
    }
    // An arc from the last point; false when there is none or it would end where it starts.
    bool arcTo(const std::optional<SweptArc>& arc) {
        if (!arc) return false;
        if (arc->end.isEqualTo(last()) || std::fabs(arc->included) >= 2 * kPi) {
            printText(L"\nL'arc doit finir ailleurs qu'à son point de départ.");
            return false;
        }
        add(arc->end, std::tan(arc->included / 4));
        return true;
    }
    // The direction the drawing goes on in: the end tangent of the last segment (the X axis at the start).
    double direction() const {
        if (m_vertices.size() < 2) return 0;
        const Vertex& from = m_vertices[m_vertices.size() - 2];
        return planAngle(from.point, last()) + 2 * std::atan(from.bulge);
    }
    bool undo() {
        if (segments() == 0) return false;
        m_vertices.pop_back();
        m_vertices.back().bulge = 0;
        return true;
    }
    // The segment back to the first point (an arc tangent to the last segment when `arc`).
    void close(bool arc) {
        Vertex& end = m_vertices.back();
        end.bulge =
            arc ? std::tan(normalised(planAngle(last(), m_vertices.front().point) - direction()) / 2) : 0;
        end.startWidth = m_startWidth, end.endWidth = m_endWidth;
        m_closed = true;
    }
    void append() const {
        if (segments() == 0) return;
        auto* polyline = new AcDbPolyline(static_cast<unsigned int>(m_vertices.size()));
        for (const Vertex& v : m_vertices)
            polyline->addVertexAt(polyline->numVerts(), AcGePoint2d(v.point.x, v.point.y), v.bulge,
                                  v.startWidth, v.endWidth);
        polyline->setElevation(m_vertices.front().point.z);
        polyline->setClosed(m_closed);
        appendFromUcs(polyline);
    }

private:
    void add(const AcGePoint3d& to, double bulge) {
        Vertex& from = m_vertices.back();
        from.bulge = bulge, from.startWidth = m_startWidth, from.endWidth = m_endWidth;
        m_startWidth = m_endWidth;
        m_vertices.push_back({to});
    }

    std::vector<Vertex> m_vertices;
    double m_startWidth = 0, m_endWidth = 0;
    bool m_closed = false;
};

// Asks the two widths (halved when `half`); false on a cancel.
bool askWidths(PolylineDraft& draft, bool half) {
    const double factor = half ? 2 : 1;
    const auto start =
        askReal((half ? L"\nSpécifiez la demi-largeur de départ <" : L"\nSpécifiez la largeur de départ <") +
                    formatLength(draft.endWidth() / factor) + L">: ",
                draft.endWidth() / factor, RSG_NONEG);
    if (!start) return false;
    const auto end =
        askReal((half ? L"\nSpécifiez la demi-largeur d'arrivée <" : L"\nSpécifiez la largeur d'arrivée <") +
                    formatLength(*start) + L">: ",
                *start, RSG_NONEG);
    if (!end) return false;
    draft.setWidths(*start * factor, *end * factor);
    return true;
}

enum class Mode { Line, Arc, Done };

// One answer in line mode: the mode that follows.
Mode lineStep(PolylineDraft& draft) {
    const bool canClose = draft.segments() >= 2;
    const PointAnswer a = askPointOr(
        canClose ? L"\nSpécifiez le point suivant ou [Arc/Clore/Demi-largeur/LOngueur/annUler/LArgeur]: "
                 : L"\nSpécifiez le point suivant ou [Arc/Demi-largeur/LOngueur/annUler/LArgeur]: ",
        canClose ? L"Arc Clore Demi-largeur LOngueur annUler LArgeur _ Arc Close Halfwidth Length Undo Width"
                 : L"Arc Demi-largeur LOngueur annUler LArgeur _ Arc Halfwidth Length Undo Width",
        draft.last());
    if (a.kind == PointAnswer::Point) {
        if (!a.point.isEqualTo(draft.last())) draft.lineTo(a.point);
        return Mode::Line;
    }
    if (a.kind != PointAnswer::Keyword) return Mode::Done;
    if (a.keyword == L"Arc") return Mode::Arc;
    if (a.keyword == L"Close") {
        draft.close(false);
        return Mode::Done;
    }
    if (a.keyword == L"Length") {
        const auto length = askDistance(L"\nSpécifiez la longueur de la ligne: ", draft.last());
        if (!length) return Mode::Done;
        const double angle = draft.direction();
        draft.lineTo(draft.last() + AcGeVector3d(std::cos(angle), std::sin(angle), 0) * *length);
        return Mode::Line;
    }
    if (a.keyword == L"Undo") {
        if (!draft.undo()) printText(L"\nTout a été annulé");
        setLastPoint(draft.last());
        return Mode::Line;
    }
    return askWidths(draft, a.keyword == L"Halfwidth") ? Mode::Line : Mode::Done;
}

// The arc options: each asks what it needs and adds the arc; false on a cancel.
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

// One answer in arc mode: the mode that follows.
Mode arcStep(PolylineDraft& draft) {
    const bool canClose = draft.segments() >= 1;
    const PointAnswer a = askPointOr(
        canClose ? L"\nSpécifiez l'extrémité de l'arc (maintenir la touche Ctrl enfoncée pour changer de "
                   L"direction) ou [Angle/CEntre/Clore/Direction/DEmi-largeur/LIgne/Rayon/Second pt/annUler/"
                   L"LArgeur]: "
                 : L"\nSpécifiez l'extrémité de l'arc (maintenir la touche Ctrl enfoncée pour changer de "
                   L"direction) ou [Angle/CEntre/Direction/DEmi-largeur/LIgne/Rayon/Second pt/annUler/"
                   L"LArgeur]: ",
        canClose
            ? L"Angle CEntre Clore Direction DEmi-largeur LIgne Rayon Second annUler LArgeur _ Angle CEnter "
              L"CLose Direction Halfwidth Line Radius Second Undo Width"
            : L"Angle CEntre Direction DEmi-largeur LIgne Rayon Second annUler LArgeur _ Angle CEnter "
              L"Direction Halfwidth Line Radius Second Undo Width",
        draft.last());
    if (a.kind == PointAnswer::Point) {
        if (!a.point.isEqualTo(draft.last())) draft.tangentArcTo(a.point);
        return Mode::Arc;
    }
    if (a.kind != PointAnswer::Keyword) return Mode::Done;
    if (a.keyword == L"Line") return Mode::Line;
    if (a.keyword == L"CLose") {
        draft.close(true);
        return Mode::Done;
    }
    for (const ArcOption& option : kArcOptions) {
        if (a.keyword != option.keyword) continue;
        if (!option.draw(draft)) return Mode::Done;
        // "@" goes on from the end of the arc, not from the last point typed (a centre, say).
        setLastPoint(draft.last());
        return Mode::Arc;
    }
    if (a.keyword == L"Undo") {
        if (!draft.undo()) printText(L"\nTout a été annulé");
        setLastPoint(draft.last());
        return Mode::Arc;
    }
    return askWidths(draft, a.keyword == L"Halfwidth") ? Mode::Arc : Mode::Done;
}

} // namespace

void plineCommand() {
    const auto start = askUcsPoint(L"\nSpécifiez le point de départ: ");
    if (!start) return;
    PolylineDraft draft(*start);
    printText(L"\nLa largeur courante de la polyligne est " + formatLength(draft.endWidth()));
    for (Mode mode = Mode::Line; mode != Mode::Done;)
        mode = mode == Mode::Line ? lineStep(draft) : arcStep(draft);
    draft.append();
}

} // namespace host
