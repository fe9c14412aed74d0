// ZOR_PAS: the picked reference's properties become the current ones, on its own layer or on its zone's.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "host/db/database.h"
#include "host/db/symbol_tables.h"
#include "host/editor/command_line.h"
#include "services/startup/fvar.h"
#include "tests/plugin/commands/command_test_support.h"

using plugin::test::CommandSession;

namespace {

std::wstring currentLayerName(AcDbDatabase* db) {
    AcDbLayerTableRecord* layer = nullptr;
    if (acdbOpenObject(layer, db->clayer(), AcDb::kForRead) != Acad::eOk) return L"";
    const std::wstring name = layer->name();
    layer->close();
    return name;
}

struct ReferenceSession : CommandSession {
    ReferenceSession() {
        addLayer(L"Z1$ROUTE");
        reference = addPolyline({{0, 0, 0}, {10, 0, 0}}, [](CPolyArc3D& poly) { poly.f42(0.4); });
        AcDbEntity* entity = nullptr;
        EXPECT_EQ(acdbOpenObject(entity, reference, AcDb::kForWrite), Acad::eOk);
        entity->setLayer(L"Z1$ROUTE");
        entity->setColorIndex(3);
        entity->setLinetypeScale(2.5);
        entity->setLineWeight(AcDb::kLnWt050);
        entity->close();
        pick = L"@pick " + std::wstring(reference.handle().text());
    }
    ~ReferenceSession() { vfVar.zoneNameOverride[0] = 0; }
    AcDbObjectId reference;
    std::wstring pick;
};

} // namespace

TEST(ReferenceCommand, EnterThenIKeepsTheReferencesOwnLayer) {
    ReferenceSession s;
    command_state::g_referenceMode = 1;
    s.type({L"ZOR_PAS", L"", L"I", s.pick.c_str()});
    host::runCommandLine();
    AcDbDatabase* db = s.drawing.db.get();
    EXPECT_EQ(command_state::g_referenceMode, 0);
    EXPECT_EQ(currentLayerName(db), L"Z1$ROUTE");
    EXPECT_EQ(db->cecolor().colorIndex(), 3);
    EXPECT_EQ(db->celtscale(), 2.5);
    EXPECT_EQ(db->celweight(), AcDb::kLnWt050);
    EXPECT_EQ(db->thickness(), 0.4) << "a polyline's default width";
}

TEST(ReferenceCommand, CTakesTheZoneLayerWithTheOverrideInFront) {
    ReferenceSession s;
    s.type({L"ZOR_PAS", L"", L"C", s.pick.c_str()});
    host::runCommandLine();
    EXPECT_EQ(currentLayerName(s.drawing.db.get()), L"ROUTE") << "the part after the \"$\"";

    std::strcpy(vfVar.zoneNameOverride, "Z2");
    s.type({L"ZOR_PAS", s.pick.c_str()});
    host::runCommandLine();
    EXPECT_EQ(currentLayerName(s.drawing.db.get()), L"Z2ROUTE") << "the mode is remembered";
}
