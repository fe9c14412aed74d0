#include "host/entities/hatch_pattern.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace host {
namespace {

// Where the line origin + t * along crosses the loops' edges, sorted; an edge's end point counts on one
// side only, so that a line through a vertex crosses once.
std::vector<double> crossings(const AcGePoint2d& origin, const AcGeVector2d& along,
                              const AcGeVector2d& across,
                              const std::vector<std::vector<AcGePoint2d>>& loops) {
    std::vector<double> ts;
    for (const std::vector<AcGePoint2d>& loop : loops)
        for (std::size_t i = 0; i < loop.size(); ++i) {
            const AcGePoint2d &a = loop[i], &b = loop[(i + 1) % loop.size()];
            const double ha = (a - origin).dotProduct(across), hb = (b - origin).dotProduct(across);
            if ((ha < 0) == (hb < 0)) continue;
            const double ta = (a - origin).dotProduct(along), tb = (b - origin).dotProduct(along);
            ts.push_back(ta + (tb - ta) * (ha / (ha - hb)));
        }
    std::ranges::sort(ts);
    return ts;
}

// The dashes of [from, to] on a line whose pattern starts at t = 0.
void addDashes(const AcGePoint2d& origin, const AcGeVector2d& along, double from, double to,
               const std::vector<double>& dashes, std::vector<PatternSegment>& out, std::size_t limit) {
    auto add = [&](double a, double b) {
        if (b > a && out.size() < limit) out.push_back({origin + along * a, origin + along * b});
    };
    double period = 0;
    for (double d : dashes)
        period += std::abs(d);
    if (dashes.empty() || !(period > 0)) return add(from, to);
    // A pattern of gaps and dots draws nothing: its periods are counted against the limit too.
    std::size_t periods = 0;
    for (double at = std::floor(from / period) * period; at < to && out.size() < limit && periods++ < limit;)
        for (double d : dashes) {
            if (d > 0) add(std::max(at, from), std::min(at + d, to));
            at += std::abs(d);
        }
}

} // namespace

PatternLine transformed(const PatternLine& line, const AcGeMatrix3d& step, double scale) {
    PatternLine out = line;
    const AcGeVector3d along = AcGeVector3d(std::cos(line.angle), std::sin(line.angle), 0).transformBy(step);
    const AcGeVector3d offset = AcGeVector3d(line.offset.x, line.offset.y, 0).transformBy(step);
    out.angle = std::atan2(along.y, along.x);
    out.base = AcGePoint3d(line.base.x, line.base.y, 0).transformBy(step).convert2d();
    out.offset = AcGeVector2d(offset.x, offset.y);
    for (double& d : out.dashes)
        d *= scale;
    return out;
}

std::vector<PatternSegment> patternSegments(const std::vector<PatternLine>& lines,
                                            const std::vector<std::vector<AcGePoint2d>>& loops,
                                            std::size_t limit) {
    std::vector<PatternSegment> out;
    for (const PatternLine& line : lines) {
        const AcGeVector2d along(std::cos(line.angle), std::sin(line.angle)), across(-along.y, along.x);
        const double spacing = line.offset.dotProduct(across);
        if (!std::isfinite(spacing) || std::abs(spacing) < 1e-9) continue;
        // The copies of the line that reach the loops: those between the loops' extreme heights across.
        double low = std::numeric_limits<double>::max(), high = -low;
        for (const std::vector<AcGePoint2d>& loop : loops)
            for (const AcGePoint2d& p : loop) {
                const double k = (p - line.base).dotProduct(across) / spacing;
                low = std::min(low, k);
                high = std::max(high, k);
            }
        if (!(low <= high)) continue;
        high = std::min(high, low + static_cast<double>(limit));
        for (double k = std::ceil(low); k <= high && out.size() < limit; ++k) {
            const AcGePoint2d origin = line.base + line.offset * k;
            const std::vector<double> ts = crossings(origin, along, across, loops);
            for (std::size_t i = 0; i + 1 < ts.size(); i += 2)
                addDashes(origin, along, ts[i], ts[i + 1], line.dashes, out, limit);
        }
    }
    return out;
}

} // namespace host
