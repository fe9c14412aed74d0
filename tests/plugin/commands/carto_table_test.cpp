// ZOR_SDNC: the symbol blocks of a cartographic table placed along the polylines of the linetypes it names.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "cadutil/database/linetypes.h"
#include "host/db/symbol_tables.h"
#include "host/editor/command_line.h"
#include "host/entities/block_reference.h"
#include "host/entities/circle_arc.h"
#include "host/entities/lw_polyline.h"
#include "tests/plugin/commands/command_test_support.h"
#include "tests/support/temp_folder.h"

using plugin::test::CommandSession;

namespace {

struct CartoSession : CommandSession {
    CartoSession() {
        auto* tree = new AcDbBlockTableRecord;
        tree->setName(L"ARBRE");
        AcDbBlockTable* blocks = nullptr;
        acdbOpenObject(blocks, drawing.db->blockTableId(), AcDb::kForWrite);
        AcDbObjectId treeId;
        blocks->add(treeId, tree);
        blocks->close();
        tree->appendAcDbEntity(new AcDbCircle(AcGePoint3d(), AcGeVector3d::kZAxis, 0.5));
        tree->close();
        AcDbObjectId route;
        EXPECT_EQ(getLinetypeId("ROUTE", route, true), Acad::eOk);
        EXPECT_EQ(getLinetypeId("CHEMIN", route, true), Acad::eOk);
        // A polyline of the system and a host polyline on ROUTE, a polyline on CHEMIN.
        addOn(L"ROUTE", addPolyline({{0, 0, 0}, {20, 0, 0}}));
        auto* lightweight = new AcDbPolyline;
        lightweight->addVertexAt(0, AcGePoint2d(0, 10));
        lightweight->addVertexAt(1, AcGePoint2d(20, 10));
        addOn(L"ROUTE", addEntity(lightweight));
        addOn(L"CHEMIN", addPolyline({{0, 5, 0}, {20, 5, 0}}));
    }
    void addOn(const wchar_t* linetype, AcDbObjectId id) {
        AcDbEntity* entity = nullptr;
        ASSERT_EQ(acdbOpenObject(entity, id, AcDb::kForWrite), Acad::eOk);
        entity->setLinetype(drawing.db->linetypeId(linetype));
        entity->close();
    }
    void writeTable(const std::string& relativePath, const std::string& text) const {
        const std::filesystem::path path = install.root / ("install/" + relativePath);
        std::filesystem::create_directories(path.parent_path());
        testing_support::writeFile(path, text);
    }
    // The symbols in model space, counted by the Y of their rows.
    std::map<double, int> symbolRows() const {
        std::map<double, int> rows;
        AcDbBlockTableRecord* model = nullptr;
        acdbOpenObject(model, drawing.db->modelSpaceId(), AcDb::kForRead);
        for (AcDbObjectId id : model->entityIds())
            if (const auto* ref = id.isErased() ? nullptr : AcDbBlockReference::cast(id.stub()->object))
                ++rows[ref->position().y];
        model->close();
        return rows;
    }
};

} // namespace

TEST(CartoTable, PlacesTheSymbolsOfEachNamedLinetypeOnItsPolylines) {
    CartoSession s;
    s.writeTable("RESEAU.carto", "; the road network\n"
                                 "  LC, ROUTE ,x,{CARTO!  *I=ARBRE,d=5 }\n"
                                 "LC,ABSENT,{CARTO!*I=ARBRE,d=1}\n"
                                 "LC,CHEMIN,no style here\n"
                                 "LC,CHEMIN,{CARTO!*H=ANSI31}\n");
    s.type({L"ZOR_SDNC", L"reseau", L""});
    host::runCommandLine();
    const std::map<double, int> rows = s.symbolRows();
    ASSERT_EQ(rows.size(), 2u) << "the two polylines of ROUTE, whichever their class";
    EXPECT_GT(rows.at(0), 1);
    EXPECT_EQ(rows.at(10), rows.at(0)) << "the same length, the same symbols";
}

TEST(CartoTable, FindsTheTableUnderTheLocalTablesFolderAndEndsWithoutOne) {
    CartoSession s;
    s.type({L"ZOR_SDNC", L"RESEAU", L""});
    host::runCommandLine();
    EXPECT_TRUE(s.symbolRows().empty()) << "no table";

    s.writeTable("TABLES/RESEAU.carto.2", "LC,CHEMIN,{CARTO!*I=ARBRE,d=5}\n");
    s.type({L"ZOR_SDNC", L"RESEAU", L""});
    host::runCommandLine();
    const std::map<double, int> rows = s.symbolRows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_GT(rows.at(5), 1);

    s.type({L"ZOR_SDNC", L""});
    host::runCommandLine();
    EXPECT_EQ(s.symbolRows(), rows) << "no name, nothing done";
}
