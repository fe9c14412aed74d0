// Coordinate systems of normals against the arbitrary-axis rule as an outside DXF library applies it.
#include "geometry/transforms/mat3d.h"
#include "tests/oracle/python_oracle.h"

#include <gtest/gtest.h>

TEST(OcsOracle, NormalSystemsMatchTheDxfLibrary) {
    const auto rows = oracle::runPythonOracle("ocs_oracle.py", "1000 20240611");
    ASSERT_EQ(rows.size(), 1000u);
    int switched = 0;
    for (const oracle::Row& row : rows) {
        ASSERT_EQ(row.size(), 12u);
        Mat3D m;
        m.SetFromNormVector(row.data());
        // The rows of the matrix are the axes.
        for (int axis = 0; axis < 3; ++axis)
            for (int c = 0; c < 3; ++c)
                ASSERT_NEAR(m.r[axis][c], row[3 + 3 * axis + c], 1e-12)
                    << "normal (" << row[0] << ", " << row[1] << ", " << row[2] << "), axis " << axis;
        switched += m.r[0][1] == 0;
    }
    EXPECT_GT(switched, 100) << "both branches of the rule are exercised";
}
