#pragma once
// A polyline being drawn by PLINE: its vertices with their bulges and widths, the widths for the next
// segment, and what the drawing goes on from.
#include <cstddef>
#include <optional>
#include <vector>

#include "host/editor/arc_construction.h"
#include "host/ge/ge.h"

namespace host {

class PolylineDraft {
public:
    explicit PolylineDraft(const AcGePoint3d& start) : m_vertices{{start}} {}

    const AcGePoint3d& last() const { return m_vertices.back().point; }
    std::size_t segments() const { return m_vertices.size() - 1; }
    void setWidths(double start, double end) { m_startWidth = start, m_endWidth = end; }
    double endWidth() const { return m_endWidth; }

    void lineTo(const AcGePoint3d& to) { add(to, 0); }
    // The arc from the last point to `to` that leaves tangent to the last segment.
    void tangentArcTo(const AcGePoint3d& to);
    // An arc from the last point; false when there is none or it would end where it starts.
    bool arcTo(const std::optional<SweptArc>& arc);
    // The direction the drawing goes on in: the end tangent of the last segment (the X axis at the start).
    double direction() const;
    bool undo();
    // The segment back to the first point (an arc tangent to the last segment when `arc`).
    void close(bool arc);
    // The polyline into the current space, when it has a segment.
    void append() const;

private:
    struct Vertex {
        AcGePoint3d point;
        double bulge = 0, startWidth = 0, endWidth = 0;
    };

    void add(const AcGePoint3d& to, double bulge);

    std::vector<Vertex> m_vertices;
    double m_startWidth = 0, m_endWidth = 0;
    bool m_closed = false;
};

} // namespace host
