// Arcs from bulges against an outside DXF library's conversion of the same segments.
#include "geometry/arcs/arc3d.h"
#include "geometry/points/angle_units.h"
#include "tests/oracle/python_oracle.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// The same direction, whatever the turns between them.
double angleBetween(double a, double b) {
    return std::fabs(std::remainder(a - b, _400rd));
}

} // namespace

TEST(BulgeOracle, ArcsMatchTheDxfLibrary) {
    const auto rows = oracle::runPythonOracle("bulge_oracle.py", "1000 20240612");
    ASSERT_EQ(rows.size(), 1000u);
    for (const oracle::Row& row : rows) {
        ASSERT_EQ(row.size(), 10u);
        const CArc3d arc(CPoint3d(row[0], row[1], 0), CPoint3d(row[2], row[3], 0), row[4]);
        const double radius = row[7];
        // Coordinates reach 1,000 and radii 2,500: the tolerance follows their size.
        const double tol = 1e-12 * std::max(1000.0, radius);
        ASSERT_NEAR(arc.centre.x, row[5], tol) << "bulge " << row[4];
        ASSERT_NEAR(arc.centre.y, row[6], tol) << "bulge " << row[4];
        ASSERT_NEAR(arc.radius, radius, tol);
        // ezdxf gives the angles of the ends round the centre, swapped for a clockwise arc; the segment's
        // directions of travel are a quarter turn on from them, to the left of the radius.
        const bool clockwise = row[4] < 0;
        const double startRadial = clockwise ? row[9] : row[8];
        const double endRadial = clockwise ? row[8] : row[9];
        const double quarter = clockwise ? -_100rd : _100rd;
        ASSERT_LT(angleBetween(arc.startGis, startRadial + quarter), 1e-9) << "bulge " << row[4];
        ASSERT_LT(angleBetween(arc.endGis, endRadial + quarter), 1e-9) << "bulge " << row[4];
        ASSERT_NEAR(arc.acentre(), 4 * std::atan(row[4]), 1e-12);
    }
}
