// The database utilities: the document lock, spaces, layers, linetypes and symbol blocks.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "cadutil/database/blocks.h"
#include "cadutil/database/layers.h"
#include "cadutil/database/spaces.h"
#include "host/db/database.h"
#include "host/db/symbol_tables.h"
#include "host/db/system_variables.h"
#include "host/entities/point_ray_face.h"
#include "tests/cadutil/cadutil_test_support.h"
#include "tests/support/temp_folder.h"

using plugin::test::PluginSession;

namespace {

std::wstring layerName(AcDbObjectId id) {
    AcDbLayerTableRecord* layer = nullptr;
    if (acdbOpenObject(layer, id, AcDb::kForRead) != Acad::eOk) return L"";
    std::wstring name = layer->name();
    layer->close();
    return name;
}

void eraseRecord(AcDbObjectId id) {
    AcDbObject* o = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(o, id, AcDb::kForWrite), Acad::eOk);
    o->erase();
    o->close();
}

} // namespace

TEST(DocLock, NestedUtilitiesLockOnce) {
    PluginSession s;
    int before = acDocManager->lockCalls();
    {
        CDocLock outer;
        EXPECT_EQ(curDoc()->myLockMode(), AcAp::kWrite);
        AcDbObjectId id;
        getLayerId("ROUTE", id);
        getLinetypeId("DASHED", id, true);
        EXPECT_TRUE(CDocLock::active());
    }
    EXPECT_EQ(acDocManager->lockCalls() - before, 1);
    EXPECT_EQ(curDoc()->lockDepth(), 0);
    EXPECT_FALSE(CDocLock::active());
    acDocManager->lockDocument(curDoc(), AcAp::kWrite);
    {
        CDocLock already;
        EXPECT_TRUE(CDocLock::active());
    }
    EXPECT_EQ(acDocManager->lockCalls() - before, 2) << "a document already write-locked is not locked again";
    acDocManager->unlockDocument(curDoc());
}

TEST(Layers, LongEmptyCommaAndTemplateNames) {
    PluginSession s;
    std::string seventy(70, 'L');
    AcDbObjectId id;
    ASSERT_EQ(getLayerId(seventy.c_str(), id), Acad::eOk);
    EXPECT_EQ(layerName(id), std::wstring(61, L'L'));
    EXPECT_NE(s.transcript().find(L"Layer Trop Long :'" + std::wstring(70, L'L') + L"' >> '"),
              std::wstring::npos);
    host::clearCommandLineTranscript();
    AcDbObjectId again;
    ASSERT_EQ(getLayerId(seventy.c_str(), again), Acad::eOk);
    EXPECT_EQ(again, id);
    EXPECT_EQ(s.transcript().find(L"Trop Long"), std::wstring::npos)
        << "the message comes only when creating";

    ASSERT_EQ(getLayerId("", id), Acad::eOk);
    EXPECT_EQ(layerName(id), L"LayerVide");
    ASSERT_EQ(getLayerId("ZONE$", again), Acad::eOk);
    EXPECT_EQ(again, id);
    ASSERT_EQ(getLayerId("ROUTE,EXTRA", id), Acad::eOk);
    EXPECT_EQ(layerName(id), L"ROUTE");

    AcDbLayerTableRecord* model = nullptr;
    ASSERT_EQ(acdbOpenObject(model, id, AcDb::kForWrite), Acad::eOk);
    model->setColor(AcCmColor(3));
    model->setVPDFLT(true);
    model->close();
    ASSERT_EQ(getLayerId("Z12$ROUTE", id), Acad::eOk);
    AcDbLayerTableRecord* made = nullptr;
    ASSERT_EQ(acdbOpenObject(made, id, AcDb::kForRead), Acad::eOk);
    EXPECT_STREQ(made->name(), L"Z12$ROUTE");
    EXPECT_EQ(made->color().colorIndex(), 3);
    EXPECT_TRUE(made->VPDFLT());
    EXPECT_FALSE(made->isOff() || made->isFrozen() || made->isLocked());
    made->close();
}

TEST(Linetypes, TheTableIsReadOnceAndTheCacheIsChecked) {
    PluginSession s;
    AcDbObjectId first, second;
    ASSERT_EQ(getLinetypeId("Continuous", first, false), Acad::eOk);
    ASSERT_EQ(getLinetypeId("Continuous", second, false), Acad::eOk);
    EXPECT_EQ(first, second);
    EXPECT_EQ(linetypeTableReads(), 1);
    EXPECT_EQ(getLinetypeId(nullptr, first, false), Acad::eOk) << "BYLAYER";

    ASSERT_EQ(getLinetypeId("LMODIF", first, true), Acad::eOk);
    EXPECT_NE(s.transcript().find(L"Type Ligne :'LMODIF' Inconnue err=22"), std::wstring::npos);
    EXPECT_NE(s.transcript().find(L" ** CREE *** "), std::wstring::npos);
    AcDbLinetypeTableRecord* placeholder = nullptr;
    ASSERT_EQ(acdbOpenObject(placeholder, first, AcDb::kForRead), Acad::eOk);
    EXPECT_STREQ(placeholder->comments(), L"***Ligne Non Définie***");
    placeholder->close();

    ASSERT_EQ(getLinetypeId("LMODIF", first, false), Acad::eOk);
    eraseRecord(first);
    EXPECT_EQ(getLinetypeId("LMODIF", second, false), Acad::eKeyNotFound)
        << "a purged linetype is not remembered";

    // A side database: its own records; the working database's copied into it; a freed one forgotten.
    {
        AcDbDatabase side;
        AcDbObjectId copied;
        ASSERT_EQ(getLinetypeId("Continuous", copied, false, &side), Acad::eOk);
        EXPECT_EQ(copied.database(), &side);
        ASSERT_EQ(getLinetypeId("LSAISIE", first, true), Acad::eOk);
        ASSERT_EQ(loadLinetype("LSAISIE", copied, &side), Acad::eOk);
        EXPECT_EQ(copied.database(), &side);
        EXPECT_NE(copied, first);
    }
    AcDbDatabase later;
    AcDbObjectId fresh;
    ASSERT_EQ(getLinetypeId("LSAISIE", fresh, false, &later), Acad::eKeyNotFound);
    EXPECT_EQ(loadLinetype("", fresh, &later), Acad::eInvalidInput);
}

TEST(Spaces, AppendToTheCurrentSpace) {
    PluginSession s;
    AcDbObjectId id;
    auto* point = new AcDbPoint(AcGePoint3d(1, 2, 3));
    EXPECT_EQ(appendEntityToSpace(id, point, -1), id);
    ASSERT_FALSE(id.isNull());
    point->close();
    AcDbEntity* e = nullptr;
    ASSERT_EQ(acdbOpenObject(e, id, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(e->ownerId(), s.drawing.db->modelSpaceId());
    e->close();
    s.drawing.db->setTilemode(false);
    resbuf viewport{};
    viewport.restype = RTSHORT;
    viewport.resval.rint = 1;
    ASSERT_EQ(acedSetVar(L"CVPORT", &viewport), RTNORM);
    auto* inPaper = new AcDbPoint;
    appendEntityToSpace(id, inPaper, -1);
    inPaper->close();
    EXPECT_EQ(id.stub()->object->ownerId(), paperSpaceId(nullptr));
    AcDbObjectId none;
    EXPECT_TRUE(appendEntityToSpace(none, nullptr, 1).isNull());
    EXPECT_NE(s.transcript().find(L"Erreur de DATABASE"), std::wstring::npos);
}

TEST(Blocks, SymbolDrawingsAndThePlaceholder) {
    PluginSession s;
    testing_support::TempFolder folder;
    ASSERT_EQ(setenv("ZORTA_DRIVE_Q", folder.path().c_str(), 1), 0);
    {
        AcDbDatabase symbol;
        AcDbBlockTableRecord* model = nullptr;
        ASSERT_EQ(acdbOpenObject(model, symbol.modelSpaceId(), AcDb::kForWrite), Acad::eOk);
        AcDbLayerTable* layers = nullptr;
        symbol.getLayerTable(layers, AcDb::kForWrite);
        auto* layer = new AcDbLayerTableRecord;
        layer->setName(L"SYMBOLES");
        layers->add(layer);
        layer->close();
        layers->close();
        auto* point = new AcDbPoint(AcGePoint3d(0.5, 0.5, 0));
        model->appendAcDbEntity(point);
        ASSERT_EQ(point->setLayer(L"SYMBOLES"), Acad::eOk);
        point->close();
        model->close();
        ASSERT_EQ(symbol.saveAs(host::fromUtf8(folder / "ARBRE.DWG").c_str()), Acad::eOk);
    }
    AcDbObjectId id;
    ASSERT_EQ(getBlockId("Q:\\ARBRE.DWG", id), Acad::eOk);
    EXPECT_NE(s.transcript().find(L"Block :'Q:\\ARBRE.DWG' Inconnu"), std::wstring::npos);
    AcDbBlockTableRecord* block = nullptr;
    ASSERT_EQ(acdbOpenObject(block, id, AcDb::kForRead), Acad::eOk);
    EXPECT_STREQ(block->name(), L"ARBRE");
    EXPECT_EQ(block->entityIds().size(), 1u);
    block->close();
    EXPECT_FALSE(s.drawing.db->layerId(L"SYMBOLES").isNull()) << "the symbol's layer came with it";

    AcDbObjectId missing;
    ASSERT_EQ(getBlockId("NOSYMBOL", missing), Acad::eOk);
    ASSERT_EQ(acdbOpenObject(block, missing, AcDb::kForRead), Acad::eOk);
    ASSERT_EQ(block->entityIds().size(), 1u);
    AcDbEntity* mark = nullptr;
    ASSERT_EQ(acdbOpenObject(mark, block->entityIds()[0], AcDb::kForRead), Acad::eOk);
    EXPECT_STREQ(mark->layer(), L"$ERROR");
    mark->close();
    block->close();
    AcDbObjectId known;
    host::clearCommandLineTranscript();
    ASSERT_EQ(getBlockId("NOSYMBOL", known), Acad::eOk);
    EXPECT_EQ(known, missing);
    EXPECT_TRUE(s.transcript().empty()) << "a block found prints nothing";
    unsetenv("ZORTA_DRIVE_Q");
}
