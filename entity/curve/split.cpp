// Splitting the polyline into pieces of the same class at curve parameters or at points on it.
#include "entity/core/boundary.h"
#include "entity/core/poly_arc3d.h"
#include "entity/core/segment_geometry.h"
#include "geometry/points/angle_units.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <vector>

namespace {

// Ascending, without repeats closer than _ecpt, strictly inside (0, end).
std::vector<double> cutParameters(const AcGeDoubleArray& params, double end) {
    std::vector<double> sorted;
    for (double p : params)
        if (std::isfinite(p)) sorted.push_back(p);
    std::sort(sorted.begin(), sorted.end());
    std::vector<double> cuts;
    for (double p : sorted)
        if (p > 0 && p < end && (cuts.empty() || p - cuts.back() > _ecpt)) cuts.push_back(p);
    return cuts;
}

} // namespace

Acad::ErrorStatus CPolyArc3D::getSplitCurves(const AcGeDoubleArray& params,
                                             AcDbVoidPtrArray& curveSegments) const {
    assertReadEnabled();
    const std::vector<double> cuts = cutParameters(params, endParam());
    if (cuts.empty()) return Acad::eInvalidInput;
    std::vector<CPolyArc3D*> pieces;
    std::unique_ptr<CPolyArc3D> rest;
    try {
        rest.reset(const_cast<CPolyArc3D*>(this)->newCPolyArc3D());
        if (!rest || rest->copyFrom(this) != Acad::eOk) return Acad::eInvalidInput;
        // From the highest parameter down, so that the lower ones keep their vertex; a segment cut once
        // keeps its first length for the lower cuts on it.
        std::map<std::int64_t, double> firstLengths;
        for (auto p = cuts.rbegin(); p != cuts.rend(); ++p) {
            const std::int64_t index = *p > 1 ? static_cast<std::int64_t>(std::ceil(*p)) - 1 : 0;
            P_Vertex* v = rest->GetIndex(index);
            P_Vertex* w = v ? rest->N(v) : nullptr;
            if (!w) continue;
            auto [length, added] = firstLengths.try_emplace(index, 0.0);
            if (added) length->second = poly_segments::length(v, w, true);
            P_Vertex* cut =
                rest->ptAtDist(v, (*p - double(index)) * length->second, _ecpt, 11, nullptr, nullptr);
            if (!cut) continue;
            if (CPolyArc3D* piece = rest->coupe(cut, nullptr, 0)) pieces.insert(pieces.begin(), piece);
        }
    } catch (...) {
        for (CPolyArc3D* piece : pieces)
            delete piece;
        return entity_boundary::reportFailure("\nProbleme avec CPolyArc3D::getSplitCurves1()");
    }
    if (pieces.empty()) return Acad::eInvalidInput;
    curveSegments.append(rest.release());
    for (CPolyArc3D* piece : pieces)
        curveSegments.append(piece);
    return Acad::eOk;
}

Acad::ErrorStatus CPolyArc3D::getSplitCurves(const AcGePoint3dArray& points,
                                             AcDbVoidPtrArray& curveSegments) const {
    return entity_boundary::guarded("\nProbleme avec CPolyArc3D::getSplitCurves()", Acad::eInvalidInput, [&] {
        AcGeDoubleArray params;
        for (const AcGePoint3d& point : points) {
            // A point off the curve gives no cut.
            double param = -1;
            if (getParamAtPoint(point, param) == Acad::eOk) params.append(param);
        }
        return getSplitCurves(params, curveSegments);
    });
}
