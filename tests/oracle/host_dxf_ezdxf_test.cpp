// The host's DXF drawings read by ezdxf, and ezdxf's drawings read by the host.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "host/db/dictionary.h"
#include "host/db/symbol_tables.h"
#include "host/entities/block_reference.h"
#include "host/entities/circle_arc.h"
#include "host/entities/hatch.h"
#include "host/entities/line.h"
#include "host/entities/lw_polyline.h"
#include "host/entities/polylines.h"
#include "host/entities/text.h"
#include "host/filing/dxf_file.h"
#include "tests/host/host_test_support.h"
#include "tests/host/sample_drawing.h"
#include "tests/oracle/python_oracle.h"

namespace {

template <typename T> T* openFirst(AcDbDatabase& db) {
    AcDbBlockTableRecord* model = nullptr;
    if (acdbOpenObject(model, db.modelSpaceId(), AcDb::kForRead) != Acad::eOk) return nullptr;
    std::vector<AcDbObjectId> ids = model->entityIds();
    model->close();
    for (AcDbObjectId id : ids) {
        T* entity = nullptr;
        if (acdbOpenObject(entity, id, AcDb::kForRead) == Acad::eOk) return entity;
    }
    return nullptr;
}

} // namespace

TEST(HostDxfThroughEzdxf, EzdxfReadsTheHostsDrawingWithoutAuditErrors) {
    host::test::WorkingDatabase w;
    host::test::buildSampleDrawing(*w.db);
    host::test::TemporaryFile file(".dxf");
    ASSERT_EQ(host::writeDxfFile(*w.db, file.wide()), Acad::eOk) << w.db->lastFileError();
    std::vector<oracle::Row> rows = oracle::runPythonOracle("host_dxf_oracle.py", "check " + file.path);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], (oracle::Row{0, 0})) << "audit errors and fixes";
    EXPECT_EQ(rows[1], (oracle::Row{1, 1, 1, 1, 1, 2, 1, 1, 1, 1, 1, 1, 1}));
    const oracle::Row& v = rows[2];
    ASSERT_EQ(v.size(), 13u);
    EXPECT_DOUBLE_EQ(v[0], 0.5) << "bulge of the first vertex";
    EXPECT_DOUBLE_EQ(v[1], 0.4) << "end width of the third vertex";
    EXPECT_DOUBLE_EQ(v[2], 3) << "elevation";
    EXPECT_EQ(v[3], 1) << "closed";
    EXPECT_NEAR(v[4], 0.25 * 180 / std::numbers::pi, 1e-9);
    EXPECT_NEAR(v[5], 2.5 * 180 / std::numbers::pi, 1e-9);
    EXPECT_EQ(v[6], 42) << "extended data";
    EXPECT_EQ(v[8], 1) << "text with non-ASCII characters";
    EXPECT_EQ(v[9], 2) << "insert scale";
    EXPECT_EQ(v[10], 3) << "hatch loops";
    EXPECT_EQ(v[11], 2) << "xrecord items";
    EXPECT_EQ(v[12], 1) << "layer linetype";
}

TEST(EzdxfThroughHost, TheHostReadsEzdxfsDrawingWithEveryValue) {
    host::test::TemporaryFile file(".dxf");
    ASSERT_EQ(oracle::runPythonOracle("host_dxf_oracle.py", "write " + file.path).size(), 1u);
    host::test::WorkingDatabase w;
    AcDbDatabase& db = *w.db;
    ASSERT_EQ(host::readDxfFile(db, file.wide()), Acad::eOk) << db.lastFileError();

    AcDbLine* line = openFirst<AcDbLine>(db);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->startPoint(), AcGePoint3d(1, 2, 3));
    EXPECT_EQ(line->endPoint(), AcGePoint3d(4, 5, 6));
    EXPECT_STREQ(line->layer(), L"Talus");
    EXPECT_EQ(line->colorIndex(), 3);
    host::test::Chain xdata(line->xData(L"ZORTA"));
    ASSERT_NE(xdata.rb, nullptr);
    EXPECT_STREQ(xdata.rb->rbnext->resval.rstring, L"*I=ARBRE,d=10");
    EXPECT_EQ(xdata.rb->rbnext->rbnext->resval.rint, 7);
    line->close();

    AcDbArc* arc = openFirst<AcDbArc>(db);
    ASSERT_NE(arc, nullptr);
    EXPECT_NEAR(arc->startAngle(), std::numbers::pi / 6, 1e-12);
    EXPECT_NEAR(arc->endAngle(), 2 * std::numbers::pi / 3, 1e-12);
    EXPECT_DOUBLE_EQ(arc->radius(), 2);
    arc->close();

    AcDbPolyline* lw = openFirst<AcDbPolyline>(db);
    ASSERT_NE(lw, nullptr);
    double bulge = 0, start = 0, end = 0;
    lw->getBulgeAt(0, bulge);
    lw->getWidthsAt(0, start, end);
    EXPECT_DOUBLE_EQ(bulge, 0.5);
    EXPECT_DOUBLE_EQ(start, 0.1);
    EXPECT_DOUBLE_EQ(end, 0.2);
    EXPECT_TRUE(lw->isClosed());
    lw->close();

    AcDb3dPolyline* poly3d = openFirst<AcDb3dPolyline>(db);
    ASSERT_NE(poly3d, nullptr);
    AcGePoint3d last;
    ASSERT_EQ(poly3d->getPointAtParam(2, last), Acad::eOk);
    EXPECT_EQ(last, AcGePoint3d(10, 20, 3));
    poly3d->close();

    AcDbHatch* hatch = openFirst<AcDbHatch>(db);
    ASSERT_NE(hatch, nullptr);
    EXPECT_EQ(hatch->numLoops(), 3);
    EXPECT_EQ(hatch->colorIndex(), 2);
    AcGeVoidPointerArray edges;
    AcGeIntArray types;
    Adesk::Int32 loopType = 0;
    ASSERT_EQ(hatch->getLoopAt(2, loopType, edges, types), Acad::eOk);
    ASSERT_EQ(types.length(), 2);
    EXPECT_EQ(types[0], AcDbHatch::kSpline);
    EXPECT_TRUE(static_cast<AcGeNurbCurve2d*>(edges[0])->endPoint().isEqualTo(AcGePoint2d(48, 30)));
    for (void* edge : edges)
        delete static_cast<AcGeCurve2d*>(edge);
    hatch->close();

    AcDbText* text = openFirst<AcDbText>(db);
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text->textStringConst(), L"Côte 12,5");
    EXPECT_NEAR(text->rotation(), std::numbers::pi / 12, 1e-12);
    text->close();

    AcDbBlockReference* insert = openFirst<AcDbBlockReference>(db);
    ASSERT_NE(insert, nullptr);
    EXPECT_EQ(insert->blockTableRecord(), db.blockId(L"ARBRE"));
    EXPECT_DOUBLE_EQ(insert->scaleFactors().sy, 2);
    AcDbExtents extents;
    ASSERT_EQ(insert->getGeomExtents(extents), Acad::eOk);
    EXPECT_NEAR(extents.maxPoint().x - extents.minPoint().x, 2, 1e-6)
        << "a circle of diameter 1, scaled by 2";
    insert->close();

    AcDbDictionary* named = nullptr;
    ASSERT_EQ(db.getNamedObjectsDictionary(named, AcDb::kForRead), Acad::eOk);
    EXPECT_TRUE(named->has(L"ZORTA_32"));
    named->close();
    EXPECT_FALSE(db.linetypeId(L"TIRETS").isNull());
}
