#include "tests/host/sample_drawing.h"

#include "host/db/database.h"
#include "host/db/dictionary.h"
#include "host/db/symbol_tables.h"
#include "host/entities/block_reference.h"
#include "host/entities/circle_arc.h"
#include "host/entities/ellipse.h"
#include "host/entities/hatch.h"
#include "host/entities/line.h"
#include "host/entities/lw_polyline.h"
#include "host/entities/point_ray_face.h"
#include "host/entities/polylines.h"
#include "host/entities/spline.h"
#include "host/entities/text.h"

namespace host::test {
namespace {

template <typename R> AcDbObjectId addRecord(AcDbObjectId tableId, const wchar_t* name, R* record) {
    AcDbSymbolTable* table = nullptr;
    acdbOpenObject(table, tableId, AcDb::kForWrite);
    record->setName(name);
    AcDbObjectId id;
    table->add(id, record);
    record->close();
    table->close();
    return id;
}

AcDbObjectId append(AcDbObjectId blockId, AcDbEntity* entity, const wchar_t* layer = L"0") {
    AcDbBlockTableRecord* block = nullptr;
    acdbOpenObject(block, blockId, AcDb::kForWrite);
    entity->setDatabaseDefaults(block->database());
    entity->setLayer(layer);
    AcDbObjectId id;
    block->appendAcDbEntity(id, entity);
    entity->close();
    block->close();
    return id;
}

} // namespace

void buildSampleDrawing(AcDbDatabase& db) {
    auto* dashed = new AcDbLinetypeTableRecord;
    dashed->setComments(L"Tirets __ __ __");
    dashed->setPatternLength(0.75);
    dashed->setNumDashes(2);
    dashed->setDashLengthAt(0, 0.5);
    dashed->setDashLengthAt(1, -0.25);
    AcDbObjectId dashedId = addRecord(db.linetypeTableId(), L"TIRETS", dashed);
    auto* talus = new AcDbLayerTableRecord;
    talus->setColor(AcCmColor(1));
    talus->setLinetypeObjectId(dashedId);
    addRecord(db.layerTableId(), L"Talus", talus);
    auto* bati = new AcDbLayerTableRecord;
    bati->setColor(AcCmColor(5));
    bati->setLinetypeObjectId(db.continuousLinetype());
    addRecord(db.layerTableId(), L"Bâti", bati);
    addRecord(db.regAppTableId(), L"ZORTA", new AcDbRegAppTableRecord);

    auto* symbol = new AcDbBlockTableRecord;
    symbol->setOrigin(AcGePoint3d(0.5, 0.5, 0));
    AcDbObjectId symbolId = addRecord(db.blockTableId(), L"ARBRE", symbol);
    append(symbolId, new AcDbCircle(AcGePoint3d(0.5, 0.5, 0), AcGeVector3d::kZAxis, 0.5));
    append(symbolId, new AcDbLine(AcGePoint3d(0, 0.5, 0), AcGePoint3d(1, 0.5, 0)));

    AcDbObjectId model = db.modelSpaceId();
    auto* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 5, 1.5));
    AcDbObjectId lineId = append(model, line, L"Talus");
    append(model, new AcDbArc(AcGePoint3d(20, 0, 0), 4, 0.25, 2.5), L"Talus");
    append(model, new AcDbCircle(AcGePoint3d(30, 0, 2), AcGeVector3d::kZAxis, 3));
    append(model, new AcDbPoint(AcGePoint3d(5, -5, 12.25)));
    auto* lw = new AcDbPolyline;
    lw->addVertexAt(0, AcGePoint2d(0, 10), 0.5);
    lw->addVertexAt(1, AcGePoint2d(10, 10));
    lw->addVertexAt(2, AcGePoint2d(10, 20), 0, 0.2, 0.4);
    lw->setClosed(true);
    lw->setElevation(3);
    append(model, lw, L"Bâti");
    AcGePoint3dArray plan;
    plan.append(AcGePoint3d(20, 10, 0));
    plan.append(AcGePoint3d(25, 12, 0));
    plan.append(AcGePoint3d(30, 10, 0));
    AcGeDoubleArray bulges;
    bulges.append(0);
    bulges.append(-0.3);
    bulges.append(0);
    append(model, new AcDb2dPolyline(AcDb::k2dSimplePoly, plan, 4.5, false, 0, 0, &bulges));
    AcGePoint3dArray space;
    space.append(AcGePoint3d(40, 10, 1));
    space.append(AcGePoint3d(45, 15, 2));
    space.append(AcGePoint3d(50, 10, 3.5));
    append(model, new AcDb3dPolyline(AcDb::k3dSimplePoly, space, true));
    auto* ray = new AcDbRay;
    ray->setBasePoint(AcGePoint3d(0, -10, 0));
    ray->setUnitDir(AcGeVector3d(1, -1, 0));
    append(model, ray);
    append(model, new AcDbFace(AcGePoint3d(60, 0, 0), AcGePoint3d(65, 0, 1), AcGePoint3d(65, 5, 2),
                               AcGePoint3d(60, 5, 1)));
    append(model,
           new AcDbEllipse(AcGePoint3d(70, 0, 0), AcGeVector3d::kZAxis, AcGeVector3d(4, 0, 0), 0.5, 0, 3));
    AcGePoint3dArray fit;
    fit.append(AcGePoint3d(80, 0, 0));
    fit.append(AcGePoint3d(83, 4, 0));
    fit.append(AcGePoint3d(87, 1, 0));
    fit.append(AcGePoint3d(90, 5, 0));
    append(model, new AcDbSpline(fit));
    auto* hatch = new AcDbHatch;
    hatch->setPattern(AcDbHatch::kPreDefined, L"ANSI31");
    hatch->setPatternScale(2);
    hatch->setPatternAngle(0.5);
    AcGePoint2dArray square;
    square.append(AcGePoint2d(0, 30));
    square.append(AcGePoint2d(10, 30));
    square.append(AcGePoint2d(10, 40));
    square.append(AcGePoint2d(0, 40));
    AcGeDoubleArray flat;
    hatch->appendLoop(AcDbHatch::kExternal, square, flat);
    AcGeVoidPointerArray edges;
    AcGeIntArray types;
    edges.append(new AcGeCircArc2d(AcGePoint2d(5, 35), 2, 0, 6.283185307179586));
    types.append(AcDbHatch::kCirArc);
    hatch->appendLoop(AcDbHatch::kDefault, edges, types);
    host::BSpline wave;
    wave.degree = 2;
    wave.knots = {0, 0, 0, 1, 1, 1};
    wave.controlPoints = {AcGePoint3d(12, 30, 0), AcGePoint3d(16, 36, 0), AcGePoint3d(20, 30, 0)};
    AcGeVoidPointerArray closing;
    AcGeIntArray closingTypes;
    closing.append(new AcGeNurbCurve2d(wave));
    closingTypes.append(AcDbHatch::kSpline);
    closing.append(new AcGeLineSeg2d(AcGePoint2d(20, 30), AcGePoint2d(12, 30)));
    closingTypes.append(AcDbHatch::kLine);
    hatch->appendLoop(AcDbHatch::kDefault, closing, closingTypes);
    append(model, hatch, L"Talus");
    append(model, new AcDbText(AcGePoint3d(0, 50, 0), L"Borne n°12", db.textStyleId(L"Standard"), 2.5, 0.3));
    auto* insert = new AcDbBlockReference(AcGePoint3d(20, 50, 0), symbolId);
    insert->setScaleFactors(AcGeScale3d(2, 2, 1));
    insert->setRotation(0.5);
    append(model, insert);

    AcDbLine* withData = nullptr;
    acdbOpenObject(withData, lineId, AcDb::kForWrite);
    resbuf* xdata = acutNewRb(1001);
    xdata->resval.rstring = acutNewString(L"ZORTA");
    xdata->rbnext = acutNewRb(1000);
    xdata->rbnext->resval.rstring = acutNewString(L"*H=ANSI31,s=2");
    xdata->rbnext->rbnext = acutNewRb(1070);
    xdata->rbnext->rbnext->resval.rint = 42;
    withData->setXData(xdata);
    acutRelRb(xdata);
    withData->close();

    AcDbDictionary* named = nullptr;
    db.getNamedObjectsDictionary(named, AcDb::kForWrite);
    auto* zorta = new AcDbDictionary;
    AcDbObjectId zortaId;
    named->setAt(L"ZORTA_32", zorta, zortaId);
    named->close();
    auto* colours = new AcDbXrecord;
    resbuf* data = acutNewRb(1);
    data->resval.rstring = acutNewString(L"1,2,3,");
    data->rbnext = acutNewRb(2);
    data->rbnext->resval.rstring = acutNewString(L"4,5,");
    colours->setFromRbChain(*data);
    acutRelRb(data);
    AcDbObjectId coloursId;
    zorta->setAt(L"ZORTATefColor", colours, coloursId);
    colours->close();
    zorta->close();
}

std::vector<AcDbObjectId> addNestedBlocks(AcDbDatabase& db, const std::wstring& prefix, int depth,
                                          int copies) {
    std::vector<AcDbObjectId> blocks;
    for (int level = 0; level < depth; ++level)
        blocks.push_back(addRecord(db.blockTableId(), (prefix + std::to_wstring(level)).c_str(),
                                   new AcDbBlockTableRecord));
    for (int level = 0; level + 1 < depth; ++level)
        for (int copy = 0; copy < copies; ++copy)
            append(blocks[level], new AcDbBlockReference(AcGePoint3d(copy, 0, 0), blocks[level + 1]));
    append(blocks.back(), new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0)));
    addInsert(db.modelSpaceId(), blocks.front());
    return blocks;
}

void addInsert(AcDbObjectId block, AcDbObjectId inserted) {
    append(block, new AcDbBlockReference(AcGePoint3d(0, 0, 0), inserted));
}

} // namespace host::test
