// The host polylines made from the polyline, read by ezdxf: world points, bulges, widths, closing, colour.
#include <gtest/gtest.h>

#include <charconv>
#include <fstream>
#include <memory>
#include <string>

#include "entity/core/poly_classes.h"
#include "host/db/database.h"
#include "host/db/symbol_tables.h"
#include "host/filing/dxf_file.h"
#include "tests/entity/poly_test_support.h"
#include "tests/host/host_test_support.h"
#include "tests/oracle/python_oracle.h"

using poly_test::append;

namespace {

std::string number(double value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    return std::string(text, end);
}

// Normal, vertex count and closed bit, then each vertex's world point and bulge, as the oracle reads them.
void writePolyline(std::ofstream& out, const CPolyArc3D& poly) {
    const AcGeVector3d n = poly.Snormal();
    out << number(n.x) << ' ' << number(n.y) << ' ' << number(n.z) << ' ' << poly.GetCount() << ' '
        << (poly.isClosed() ? 1 : 0) << '\n';
    for (const P_Vertex* v = poly.H(); v; v = v->pVN) {
        const CPoint3d w = poly.WorldPoint(v);
        out << number(w.x) << ' ' << number(w.y) << ' ' << number(w.z) << ' ' << number(v->bulge) << '\n';
    }
}

TEST(ConversionThroughEzdxf, EverySourceEzdxfWritesLiesOnThePolylineMadeFromIt) {
    poly_test::RegisteredClasses classes;
    host::test::TemporaryFile drawing(".dxf");
    ASSERT_EQ(oracle::runPythonOracle("conversion_oracle.py", "write " + drawing.path).size(), 1u);
    host::test::WorkingDatabase working;
    ASSERT_EQ(host::readDxfFile(*working.db, drawing.wide()), Acad::eOk) << working.db->lastFileError();
    AcDbBlockTableRecord* model = nullptr;
    ASSERT_EQ(acdbOpenObject(model, working.db->modelSpaceId(), AcDb::kForRead), Acad::eOk);
    const std::vector<AcDbObjectId> ids = model->entityIds();
    model->close();

    host::test::TemporaryFile polylines(".txt");
    {
        std::ofstream out(polylines.path);
        for (AcDbObjectId id : ids) {
            AcDbEntity* source = nullptr;
            ASSERT_EQ(acdbOpenObject(source, id, AcDb::kForRead), Acad::eOk);
            PolyArc3D poly;
            EXPECT_EQ(poly.from(source, 0), Acad::eOk) << source->isA()->name();
            source->close();
            writePolyline(out, poly);
        }
    }
    const std::vector<oracle::Row> rows =
        oracle::runPythonOracle("conversion_oracle.py", "in " + drawing.path + " " + polylines.path);
    ASSERT_EQ(rows.size(), ids.size());
    ASSERT_EQ(rows.size(), 11u);
    // The ellipses become arcs smoothed through points a parameter step apart: within 3% of their major
    // radius (measured: 0.077 of 3 and 0.097 of 4).
    constexpr double kEllipseBound[] = {0.03 * 3, 0.03 * 4};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        ASSERT_EQ(rows[i].size(), 2u);
        // Exact sources first; a circle's ends lie 2e-6 apart across its bottom.
        EXPECT_LE(rows[i][1], i < 9 ? 1e-5 : kEllipseBound[i - 9]) << "source " << i;
    }
}

// A closed polyline in a tilted plane at height 4, with arcs of both turns and widths.
void fillTilted(CPolyArc3D& poly) {
    append(poly, {0, 0, 4}, {0.5, 0, 0, 0, 0, 20000});
    append(poly, {10, 0, 4}, {0, 0, 0, 0, 0, 50000});
    append(poly, {10, 8, 4}, {-0.3});
    append(poly, {2, 9, 4});
    poly.setSNormal(AcGeVector3d(0.28, 0, 0.96), 0);
    poly.f70(1);
    poly.setColorIndex(5);
}

TEST(ConversionThroughEzdxf, EzdxfReadsTheHostPolylinesAsTheirSource) {
    poly_test::RegisteredClasses classes;
    host::test::WorkingDatabase working;
    PolyArc3D poly;
    fillTilted(poly);
    constexpr double kDeviation = 0.01;
    ASSERT_NE(poly.tolw(1, nullptr), nullptr);
    ASSERT_NE(poly.to2d(1, nullptr), nullptr);
    ASSERT_NE(poly.to3d(1, kDeviation, nullptr), nullptr);
    host::test::TemporaryFile file(".dxf");
    ASSERT_EQ(host::writeDxfFile(*working.db, file.wide()), Acad::eOk) << working.db->lastFileError();

    const std::vector<oracle::Row> rows = oracle::runPythonOracle("conversion_oracle.py", "out " + file.path);
    ASSERT_GE(rows.size(), 1u);
    EXPECT_EQ(rows[0], (oracle::Row{0, 0})) << "audit errors and fixes";
    std::size_t at = 1;
    for (int kind : {1, 2, 3}) {
        ASSERT_LT(at, rows.size());
        const oracle::Row& header = rows[at++];
        ASSERT_EQ(header.size(), 4u);
        EXPECT_EQ(header[0], kind);
        EXPECT_EQ(header[1], 1) << "closed, kind " << kind;
        EXPECT_EQ(header[3], 5) << "colour, kind " << kind;
        const auto count = static_cast<std::size_t>(header[2]);
        ASSERT_LE(at + count, rows.size());
        if (kind != 3) {
            ASSERT_EQ(count, 4u);
            const P_Vertex* v = poly.H();
            for (std::size_t i = 0; i < count; ++i, v = v->pVN) {
                const oracle::Row& r = rows[at + i];
                const CPoint3d world = poly.WorldPoint(v);
                EXPECT_NEAR((CPoint3d(r[0], r[1], r[2]) - world).dist3d(), 0, 1e-9) << kind << " " << i;
                EXPECT_NEAR(r[3], double(v->bulge), 1e-12) << kind << " " << i;
                EXPECT_NEAR(r[4], v->f40(), 1e-9) << kind << " " << i;
            }
            // A lightweight end width comes from the next vertex, a 2-D one repeats the start width.
            EXPECT_NEAR(rows[at][5], kind == 1 ? 0.5 : 0.2, 1e-9) << "end width, kind " << kind;
        } else {
            EXPECT_GT(count, 20u);
            for (std::size_t i = 0; i < count; ++i) {
                const oracle::Row& r = rows[at + i];
                AcGePoint3d on;
                ASSERT_EQ(poly.getClosestPointTo(AcGePoint3d(r[0], r[1], r[2]), on), Acad::eOk);
                EXPECT_LE((CPoint3d(on) - CPoint3d(r[0], r[1], r[2])).dist3d(), 1e-9) << "chord end " << i;
            }
        }
        at += count;
    }
    EXPECT_EQ(at, rows.size());
}

} // namespace
