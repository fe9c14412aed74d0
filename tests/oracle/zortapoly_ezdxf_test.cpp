// Drawings holding the polyline entity, read by ezdxf: a clean audit, the class rows, and the entity's
// groups in their order with their values.
#include <gtest/gtest.h>

#include "host/filing/dxf_file.h"
#include "tests/entity/poly_test_support.h"
#include "tests/entity/sample_polylines.h"
#include "tests/host/host_test_support.h"
#include "tests/oracle/python_oracle.h"

namespace {

// The codes and values the entity's subclass must hold: the header, then each vertex's groups.
void expectedGroups(const CPolyArc3D& poly, oracle::Row& codes, oracle::Row& values) {
    const CPoint3d normal(poly.Snormal());
    codes = {69, 66, 70, 71, 39};
    values = {5, 1, double(poly.f70()), double(poly.f71()), poly.f39()};
    if (poly.f42() != 0) {
        codes.push_back(42);
        values.push_back(poly.f42());
    }
    codes.insert(codes.end(), {43, 91});
    values.insert(values.end(), {poly.f43(), double(poly.GetCount())});
    if (poly.normalMatrix()) {
        codes.push_back(210);
        values.insert(values.end(), {normal.x, normal.y, normal.z});
    }
    for (const P_Vertex* v = poly.H(); v; v = v->pVN) {
        const CPoint3d p = v->pt;
        const std::int64_t tag = v->tag;
        codes.push_back(10);
        values.insert(values.end(), {p.x, p.y, p.z});
        const std::pair<int, double> optional[] = {
            {40, v->i40 / 100000.0},        {39, v->i39 / 100000.0}, {42, v->bulge},
            {70, double(v->flags)},         {71, double(v->tef1)},   {72, double(v->tef2)},
            {90, double(std::int32_t(tag))}};
        for (const auto& [code, value] : optional) {
            if (value == 0) continue;
            codes.push_back(code);
            values.push_back(value);
        }
    }
}

TEST(ZortapolyThroughEzdxf, EzdxfReadsTheEntitiesClassesAndGroups) {
    poly_test::RegisteredClasses classes;
    host::test::WorkingDatabase working;
    const std::vector<AcDbObjectId> ids = poly_test::addSamplePolylines(*working.db);
    host::test::TemporaryFile file(".dxf");
    ASSERT_EQ(host::writeDxfFile(*working.db, file.wide()), Acad::eOk) << working.db->lastFileError();

    const std::vector<oracle::Row> rows =
        oracle::runPythonOracle("zortapoly_oracle.py", "check " + file.path);
    ASSERT_EQ(rows.size(), 3 + 2 * ids.size());
    EXPECT_EQ(rows[0], (oracle::Row{0, 0})) << "audit errors and fixes";
    EXPECT_EQ(rows[1], (oracle::Row{1, 3071, 0, 1})) << "ZORTAPOLY class";
    EXPECT_EQ(rows[2], (oracle::Row{1, 3071, 0, 1})) << "TAVROPOLY class";
    for (std::size_t i = 0; i < ids.size(); ++i) {
        CPolyArc3D* poly = nullptr;
        ASSERT_EQ(acdbOpenObject(poly, ids[i], AcDb::kForRead), Acad::eOk);
        oracle::Row codes, values;
        expectedGroups(*poly, codes, values);
        codes.insert(codes.begin(), poly->kindWord());
        EXPECT_EQ(rows[3 + 2 * i], codes) << "polyline " << i;
        EXPECT_EQ(rows[4 + 2 * i], values) << "polyline " << i;
        poly->close();
    }
}

} // namespace
