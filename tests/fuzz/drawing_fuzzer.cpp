// Drawings, as DXF text or the binary drawing, with the plug-in's classes registered: what opens is
// measured, drawn, saved in both formats, and each save opens again and saves the same bytes.
#include "entity/core/poly_classes.h"
#include "host/db/database.h"
#include "host/db/symbol_tables.h"
#include "host/entities/curve.h"
#include "host/filing/drawing_file.h"
#include "host/filing/dxf_file.h"
#include "host/graphics/graphics_recorder.h"
#include "tests/fuzz/fuzz_check.h"

#include <cmath>
#include <exception>

namespace {

// Every entity of model space measured as the commands measure it; each answer given must be a number.
void measure(AcDbDatabase& db) {
    AcDbBlockTableRecord* space = nullptr;
    if (acdbOpenObject(space, db.modelSpaceId(), AcDb::kForRead) != Acad::eOk) return;
    for (const AcDbObjectId id : space->entityIds()) {
        AcDbEntity* entity = nullptr;
        if (acdbOpenObject(entity, id, AcDb::kForRead) != Acad::eOk) continue;
        AcDbExtents extents;
        entity->getGeomExtents(extents);
        if (const AcDbCurve* curve = AcDbCurve::cast(entity)) {
            double end = 0;
            double length = 0;
            if (curve->getEndParam(end) == Acad::eOk && curve->getDistAtParam(end, length) == Acad::eOk)
                fuzz::check(!std::isnan(length), "a curve measured a length that is no number");
        }
        entity->close();
    }
    space->close();
}

std::string save(AcDbDatabase& db, bool dxf) {
    if (dxf) {
        try {
            return host::writeDxf(db);
        } catch (const std::exception& e) {
            fuzz::fail(std::string("opened, but the DXF save fails: ") + e.what());
        }
    }
    std::string binary;
    fuzz::check(host::writeDrawing(db, binary) == Acad::eOk, "opened, but the binary save fails");
    return binary;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    PolyArc3D::rxInit();
    tavro_poly::rxInit();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    AcDbDatabase db(false);
    if (host::readDrawingContent(db, fuzz::bytes(data, size)) != Acad::eOk) {
        fuzz::check(!db.lastFileError().empty(), "refused without a reason");
        return 0;
    }
    measure(db);
    host::GraphicsRecorder().recordBlock(&db);
    for (const bool dxf : {true, false}) {
        const std::string saved = save(db, dxf);
        AcDbDatabase again(false);
        if (host::readDrawingContent(again, saved) != Acad::eOk)
            fuzz::fail(std::string(dxf ? "its DXF" : "its binary drawing") +
                       " does not open: " + again.lastFileError());
        fuzz::check(save(again, dxf) == saved,
                    dxf ? "its DXF changed by a second save" : "its binary drawing changed by a second save");
    }
    return 0;
}
