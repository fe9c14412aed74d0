#include "host/editor/polyline_draft.h"

#include <cmath>
#include <numbers>

#include "host/editor/command_input.h"
#include "host/entities/lw_polyline.h"
#include "host/input/prompt_input.h"

namespace host {

namespace {

constexpr double kPi = std::numbers::pi;

// The angle in (-pi, pi].
double normalised(double angle) {
    angle = std::remainder(angle, 2 * kPi);
    return angle <= -kPi ? angle + 2 * kPi : angle;
}

} // namespace

void PolylineDraft::tangentArcTo(const AcGePoint3d& to) {
    add(to, std::tan(normalised(planAngle(last(), to) - direction()) / 2));
}

bool PolylineDraft::arcTo(const std::optional<SweptArc>& arc) {
    if (!arc) return false;
    if (arc->end.isEqualTo(last()) || std::fabs(arc->included) >= 2 * kPi) {
        printText(L"\nL'arc doit finir ailleurs qu'à son point de départ.");
        return false;
    }
    add(arc->end, std::tan(arc->included / 4));
    return true;
}

double PolylineDraft::direction() const {
    if (m_vertices.size() < 2) return 0;
    const Vertex& from = m_vertices[m_vertices.size() - 2];
    return planAngle(from.point, last()) + 2 * std::atan(from.bulge);
}

bool PolylineDraft::undo() {
    if (segments() == 0) return false;
    m_vertices.pop_back();
    m_vertices.back().bulge = 0;
    return true;
}

void PolylineDraft::close(bool arc) {
    Vertex& end = m_vertices.back();
    end.bulge = arc ? std::tan(normalised(planAngle(last(), m_vertices.front().point) - direction()) / 2) : 0;
    end.startWidth = m_startWidth, end.endWidth = m_endWidth;
    m_closed = true;
}

void PolylineDraft::append() const {
    if (segments() == 0) return;
    auto* polyline = new AcDbPolyline(static_cast<unsigned int>(m_vertices.size()));
    for (const Vertex& v : m_vertices)
        polyline->addVertexAt(polyline->numVerts(), AcGePoint2d(v.point.x, v.point.y), v.bulge, v.startWidth,
                              v.endWidth);
    polyline->setElevation(m_vertices.front().point.z);
    polyline->setClosed(m_closed);
    appendFromUcs(polyline);
}

void PolylineDraft::add(const AcGePoint3d& to, double bulge) {
    Vertex& from = m_vertices.back();
    from.bulge = bulge, from.startWidth = m_startWidth, from.endWidth = m_endWidth;
    m_startWidth = m_endWidth;
    m_vertices.push_back({to});
}

} // namespace host
