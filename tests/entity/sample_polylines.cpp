#include "tests/entity/sample_polylines.h"

#include <gtest/gtest.h>

#include "host/db/database.h"
#include "host/db/symbol_tables.h"
#include "tests/entity/poly_test_support.h"

namespace poly_test {

namespace {

AcDbObjectId addToModelSpace(AcDbDatabase& db, CPolyArc3D* poly) {
    AcDbBlockTableRecord* model = nullptr;
    EXPECT_EQ(acdbOpenObject(model, db.modelSpaceId(), AcDb::kForWrite), Acad::eOk);
    AcDbObjectId id;
    EXPECT_EQ(model->appendAcDbEntity(id, poly), Acad::eOk);
    poly->close();
    model->close();
    return id;
}

} // namespace

std::vector<AcDbObjectId> addSamplePolylines(AcDbDatabase& db) {
    auto* own = new PolyArc3D;
    fillRich(*own);
    auto* legacy = new tavro_poly;
    fillRich(*legacy);
    legacy->setSNormal(AcGeVector3d(0, -1, 0), 1);
    legacy->f71(3);
    auto* world = new PolyArc3D;
    append(*world, {652345.1234567, 1234567.8901234, 421.15}, {.bulge = 0.123456789, .i39 = 42115000});
    append(*world, {652400.5, 1234600.25, 420.5}, {.flags = 1, .tef1 = 1, .tef2 = 2, .tag = 0x7FFFFFFF});
    append(*world, {652500, 1234500, 419}, {.bulge = -1, .i40 = 5000});
    world->setLineWeight(AcDb::kLnWt050);
    return {addToModelSpace(db, own), addToModelSpace(db, legacy), addToModelSpace(db, world)};
}

void addLinetype(AcDbDatabase& db, const wchar_t* name) {
    AcDbSymbolTable* table = nullptr;
    ASSERT_EQ(acdbOpenObject(table, db.linetypeTableId(), AcDb::kForWrite), Acad::eOk);
    auto* record = new AcDbLinetypeTableRecord;
    record->setName(name);
    AcDbObjectId id;
    EXPECT_EQ(table->add(id, record), Acad::eOk);
    record->close();
    table->close();
}

} // namespace poly_test
