// Open rules, erasing, handles, undo groups, extended data, dictionaries and the binary drawing file.
#include <gtest/gtest.h>

#include <set>

#include "host/db/dictionary.h"
#include "host/db/symbol_tables.h"
#include "host/entities/line.h"
#include "host/filing/drawing_file.h"
#include "host/filing/file_bytes.h"
#include "tests/host/host_test_support.h"

using host::test::Chain;
using host::test::WorkingDatabase;

namespace {

// An xrecord in the named-objects dictionary, closed; its id.
AcDbObjectId addXrecord(AcDbDatabase* db, const wchar_t* key, int value) {
    AcDbDictionary* named = nullptr;
    EXPECT_EQ(db->getNamedObjectsDictionary(named, AcDb::kForWrite), Acad::eOk);
    auto* record = new AcDbXrecord;
    resbuf* data = acutNewRb(70);
    data->resval.rint = static_cast<short>(value);
    EXPECT_EQ(record->setFromRbChain(*data), Acad::eOk);
    acutRelRb(data);
    AcDbObjectId id;
    EXPECT_EQ(named->setAt(key, record, id), Acad::eOk);
    record->close();
    named->close();
    return id;
}

int xrecordValue(AcDbObjectId id) {
    AcDbXrecord* record = nullptr;
    if (acdbOpenObject(record, id, AcDb::kForRead) != Acad::eOk) return -1;
    resbuf* chain = nullptr;
    record->rbChain(chain);
    record->close();
    Chain owner(chain);
    return chain ? chain->resval.rint : -1;
}

void setXrecordValue(AcDbObjectId id, int value) {
    AcDbXrecord* record = nullptr;
    ASSERT_EQ(acdbOpenObject(record, id, AcDb::kForWrite), Acad::eOk);
    resbuf* data = acutNewRb(70);
    data->resval.rint = static_cast<short>(value);
    record->setFromRbChain(*data);
    acutRelRb(data);
    record->close();
}

} // namespace

TEST(OpenRules, ReadersAndWritersExcludeEachOther) {
    WorkingDatabase w;
    AcDbObjectId id = addXrecord(w.db.get(), L"K", 1);
    AcDbObject *a = nullptr, *b = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(a, id, AcDb::kForRead), Acad::eOk);
    ASSERT_EQ(acdbOpenAcDbObject(b, id, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(acdbOpenAcDbObject(b, id, AcDb::kForWrite), Acad::eWasOpenForRead);
    EXPECT_EQ(a->upgradeOpen(), Acad::eWasOpenForRead) << "two readers: no upgrade";
    a->close();
    EXPECT_EQ(a->upgradeOpen(), Acad::eOk);
    EXPECT_TRUE(a->isWriteEnabled());
    EXPECT_EQ(acdbOpenAcDbObject(b, id, AcDb::kForWrite), Acad::eWasOpenForWrite);
    EXPECT_EQ(acdbOpenAcDbObject(b, id, AcDb::kForRead), Acad::eWasOpenForWrite);
    EXPECT_EQ(a->downgradeOpen(), Acad::eOk);
    EXPECT_FALSE(a->isWriteEnabled());
    a->close();
    EXPECT_EQ(a->close(), Acad::eNotOpenForRead) << "closing a closed object is refused";
}

TEST(OpenRules, WritingAClosedObjectThrowsInsteadOfCorrupting) {
    WorkingDatabase w;
    AcDbObjectId id = addXrecord(w.db.get(), L"K", 1);
    AcDbXrecord* record = nullptr;
    ASSERT_EQ(acdbOpenObject(record, id, AcDb::kForRead), Acad::eOk);
    EXPECT_THROW(record->assertWriteEnabled(), host::OpenStateError);
    record->close();
    EXPECT_THROW(record->assertReadEnabled(), host::OpenStateError);
}

TEST(OpenRules, WrongClassAndBadIds) {
    WorkingDatabase w;
    AcDbObjectId id = addXrecord(w.db.get(), L"K", 1);
    AcDbDictionary* dictionary = nullptr;
    EXPECT_EQ(acdbOpenObject(dictionary, id, AcDb::kForRead), Acad::eNotThatKindOfClass);
    AcDbObject* any = nullptr;
    EXPECT_EQ(acdbOpenAcDbObject(any, id, AcDb::kForWrite), Acad::eOk) << "the failed open left it closed";
    any->close();
    EXPECT_EQ(acdbOpenAcDbObject(any, AcDbObjectId(), AcDb::kForRead), Acad::eNullObjectId);
    ads_name bogus = {0x1234, 0};
    AcDbObjectId fromName;
    EXPECT_EQ(acdbGetObjectId(fromName, bogus), Acad::eInvalidAdsName);
    ads_name good;
    acdbGetAdsName(good, id);
    EXPECT_EQ(acdbGetObjectId(fromName, good), Acad::eOk);
    EXPECT_EQ(fromName, id);
}

TEST(OpenRules, ObjectsOutsideADatabaseAreNeverDeletedByClose) {
    auto* record = new AcDbXrecord;
    EXPECT_EQ(record->close(), Acad::eOk);
    EXPECT_TRUE(record->isWriteEnabled());
    EXPECT_EQ(record->erase(), Acad::eNotInDatabase);
    delete record; // still ours: ASan would report a double delete otherwise
}

TEST(OpenRules, ADeletedResidentObjectLeavesNoDanglingEntry) {
    WorkingDatabase w;
    AcDbObjectId id = addXrecord(w.db.get(), L"K", 1);
    AcDbObject* o = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(o, id, AcDb::kForWrite), Acad::eOk);
    delete o;
    EXPECT_EQ(acdbOpenAcDbObject(o, id, AcDb::kForRead), Acad::eUnknownHandle);
    EXPECT_FALSE(id.isValid());
}

TEST(Erase, EraseAndUneraseFollowTheOpenMode) {
    WorkingDatabase w;
    AcDbObjectId id = addXrecord(w.db.get(), L"K", 1);
    AcDbObject* o = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(o, id, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(o->erase(), Acad::eNotOpenForWrite);
    o->close();
    ASSERT_EQ(acdbOpenAcDbObject(o, id, AcDb::kForWrite), Acad::eOk);
    EXPECT_EQ(o->erase(), Acad::eOk);
    EXPECT_EQ(o->erase(), Acad::eWasErased);
    o->close();
    EXPECT_TRUE(id.isErased());
    EXPECT_EQ(acdbOpenAcDbObject(o, id, AcDb::kForWrite), Acad::eWasErased);
    ASSERT_EQ(acdbOpenAcDbObject(o, id, AcDb::kForWrite, true), Acad::eOk);
    EXPECT_EQ(o->erase(false), Acad::eOk);
    EXPECT_EQ(o->erase(false), Acad::eWasNotErased);
    o->close();
    EXPECT_FALSE(id.isErased());
}

TEST(Handles, EveryObjectGetsItsOwnHandle) {
    WorkingDatabase w;
    std::set<AcDbHandle> seen;
    for (host::ObjectStub* stub : w.db->stubs())
        EXPECT_TRUE(seen.insert(stub->handle).second);
    AcDbObjectId a = addXrecord(w.db.get(), L"A", 1);
    AcDbObjectId b = addXrecord(w.db.get(), L"B", 2);
    EXPECT_NE(a.handle(), b.handle());
    EXPECT_FALSE(seen.contains(a.handle()));
    EXPECT_LT(b.handle(), w.db->handseed());
    AcDbObjectId again;
    EXPECT_EQ(w.db->getAcDbObjectId(again, false, a.handle()), Acad::eOk);
    EXPECT_EQ(again, a);
    EXPECT_EQ(w.db->getAcDbObjectId(again, false, AcDbHandle(0xFFFFFF)), Acad::eUnknownHandle);
    EXPECT_EQ(AcDbHandle(L"1A2b").value(), 0x1A2Bu);
    EXPECT_EQ(AcDbHandle(0x1A2B).text(), L"1A2B");
    EXPECT_TRUE(AcDbHandle(L"xyz").isNull());
}

TEST(Undo, AWriteInsideAGroupIsRestoredByUndo) {
    WorkingDatabase w;
    AcDbObjectId id = addXrecord(w.db.get(), L"K", 1);
    ASSERT_EQ(w.db->beginUndoGroup(), Acad::eOk);
    setXrecordValue(id, 2);
    setXrecordValue(id, 3); // a second write in the same group keeps the first image
    ASSERT_EQ(w.db->endUndoGroup(), Acad::eOk);
    EXPECT_EQ(xrecordValue(id), 3);
    ASSERT_EQ(w.db->undoLastGroup(), Acad::eOk);
    EXPECT_EQ(xrecordValue(id), 1);
    EXPECT_EQ(w.db->undoLastGroup(), Acad::eNotApplicable) << "nothing left to undo";
}

TEST(Undo, ObjectsAddedOrErasedInAGroupComeBackAsTheyWere) {
    WorkingDatabase w;
    AcDbObjectId kept = addXrecord(w.db.get(), L"K", 1);
    w.db->beginUndoGroup();
    AcDbObjectId added = addXrecord(w.db.get(), L"New", 5);
    AcDbObject* o = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(o, kept, AcDb::kForWrite), Acad::eOk);
    o->erase();
    o->close();
    w.db->endUndoGroup();
    ASSERT_EQ(w.db->undoLastGroup(), Acad::eOk);
    EXPECT_TRUE(added.isErased());
    EXPECT_FALSE(kept.isErased());
    AcDbDictionary* named = nullptr;
    ASSERT_EQ(w.db->getNamedObjectsDictionary(named, AcDb::kForRead), Acad::eOk);
    EXPECT_FALSE(named->has(L"New"));
    EXPECT_TRUE(named->has(L"K"));
    named->close();
}

TEST(Undo, GroupsMustBeBalancedAndObjectsClosed) {
    WorkingDatabase w;
    AcDbObjectId id = addXrecord(w.db.get(), L"K", 1);
    EXPECT_EQ(w.db->endUndoGroup(), Acad::eInvalidInput);
    w.db->beginUndoGroup();
    w.db->beginUndoGroup();
    setXrecordValue(id, 2);
    w.db->endUndoGroup();
    EXPECT_EQ(w.db->undoLastGroup(), Acad::eInvalidInput) << "the outer group is still open";
    w.db->endUndoGroup();
    AcDbObject* o = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(o, id, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(w.db->undoLastGroup(), Acad::eWasOpenForWrite);
    o->close();
    EXPECT_EQ(w.db->undoLastGroup(), Acad::eOk);
    EXPECT_EQ(xrecordValue(id), 1);
}

// An object held open for write while undo groups come and go: each group records it as the group found it.
struct HeldOpen : ::testing::Test {
    HeldOpen() {
        id = addXrecord(w.db.get(), L"K", 1);
        EXPECT_EQ(acdbOpenObject(record, id, AcDb::kForWrite), Acad::eOk);
    }
    void set(int value) {
        resbuf* data = acutNewRb(70);
        data->resval.rint = static_cast<short>(value);
        EXPECT_EQ(record->setFromRbChain(*data), Acad::eOk);
        acutRelRb(data);
    }
    WorkingDatabase w;
    AcDbObjectId id;
    AcDbXrecord* record = nullptr;
};

TEST_F(HeldOpen, EachGroupRecordsTheObjectAsItFoundIt) {
    set(2); // outside any group: nothing to record
    w.db->beginUndoGroup();
    set(3);
    w.db->endUndoGroup();
    w.db->beginUndoGroup();
    set(4);
    set(5);
    w.db->endUndoGroup();
    record->close();
    ASSERT_EQ(w.db->undoLastGroup(), Acad::eOk);
    EXPECT_EQ(xrecordValue(id), 3);
    ASSERT_EQ(w.db->undoLastGroup(), Acad::eOk);
    EXPECT_EQ(xrecordValue(id), 2);
    EXPECT_EQ(w.db->undoLastGroup(), Acad::eNotApplicable);
}

TEST_F(HeldOpen, WritesAfterRecordingIsSwitchedBackOnAreRecorded) {
    record->disableUndoRecording(true);
    w.db->beginUndoGroup();
    set(2);
    record->disableUndoRecording(false);
    set(3);
    w.db->endUndoGroup();
    record->close();
    ASSERT_EQ(w.db->undoLastGroup(), Acad::eOk);
    EXPECT_EQ(xrecordValue(id), 2);
}

TEST(ExtendedData, RefusedForAnUnregisteredApplication) {
    WorkingDatabase w;
    AcDbObjectId id = addXrecord(w.db.get(), L"K", 1);
    AcDbObject* o = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(o, id, AcDb::kForWrite), Acad::eOk);
    Chain data(acutNewRb(1001));
    data.rb->resval.rstring = acutNewString(L"ZORTA");
    data.rb->rbnext = acutNewRb(1000);
    data.rb->rbnext->resval.rstring = acutNewString(L"*H=ANSI31");
    EXPECT_EQ(o->setXData(data.rb), Acad::eRegappIdNotFound);
    Chain none(o->xData());
    EXPECT_EQ(none.rb, nullptr);

    AcDbRegAppTable* apps = nullptr;
    ASSERT_EQ(w.db->getRegAppTable(apps, AcDb::kForWrite), Acad::eOk);
    auto* app = new AcDbRegAppTableRecord;
    app->setName(L"ZORTA");
    ASSERT_EQ(apps->add(app), Acad::eOk);
    app->close();
    apps->close();

    EXPECT_EQ(o->setXData(data.rb), Acad::eOk);
    Chain back(o->xData(L"zorta"));
    ASSERT_NE(back.rb, nullptr);
    EXPECT_EQ(back.rb->restype, 1001);
    ASSERT_NE(back.rb->rbnext, nullptr);
    EXPECT_EQ(std::wstring(back.rb->rbnext->resval.rstring), L"*H=ANSI31");
    Chain nameOnly(acutNewRb(1001));
    nameOnly.rb->resval.rstring = acutNewString(L"ZORTA");
    EXPECT_EQ(o->setXData(nameOnly.rb), Acad::eOk) << "a name alone removes the application's data";
    Chain cleared(o->xData());
    EXPECT_EQ(cleared.rb, nullptr);
    o->close();
}

TEST(SymbolTables, NamesAreUniqueWithoutRegardToCase) {
    WorkingDatabase w;
    AcDbLayerTable* layers = nullptr;
    ASSERT_EQ(w.db->getLayerTable(layers, AcDb::kForWrite), Acad::eOk);
    auto* layer = new AcDbLayerTableRecord;
    layer->setName(L"Talus");
    layer->setColor(AcCmColor(3));
    AcDbObjectId id;
    ASSERT_EQ(layers->add(id, layer), Acad::eOk);
    layer->close();
    auto* twin = new AcDbLayerTableRecord;
    twin->setName(L"TALUS");
    EXPECT_EQ(layers->add(twin), Acad::eDuplicateRecordName);
    delete twin;
    AcDbObjectId found;
    EXPECT_EQ(layers->getAt(L"talus", found), Acad::eOk);
    EXPECT_EQ(found, id);
    EXPECT_EQ(layers->getAt(L"absent", found), Acad::eKeyNotFound);
    layers->close();
    EXPECT_EQ(w.db->layerId(L"TALUS"), id);
    EXPECT_FALSE(w.db->modelSpaceId().isNull());
    EXPECT_FALSE(w.db->paperSpaceId().isNull());
    EXPECT_EQ(w.db->currentSpaceId(), w.db->modelSpaceId());
    w.db->setTilemode(false);
    EXPECT_EQ(w.db->currentSpaceId(), w.db->paperSpaceId());
}

TEST(SymbolTables, LayoutBlocksAreKnownWithoutRegardToCase) {
    const std::pair<const wchar_t*, bool> names[] = {{L"*PAPER_SPACE1", true}, {L"*paper_space", true},
                                                     {L"*MODEL_SPACE", true},  {L"*Paper_Spac", false},
                                                     {L"PAPER_SPACE", false},  {L"*U2", false}};
    for (const auto& [name, layout] : names) {
        AcDbBlockTableRecord block;
        block.setName(name);
        EXPECT_EQ(block.isLayout(), layout) << name;
    }
}

// Look-ups by name follow every change of a record's name, erased state or table, undo included; of two
// records sharing a name the first in the table that is not erased answers.
TEST(SymbolTables, LookUpsFollowRenamesErasingAndUndo) {
    WorkingDatabase w;
    auto addLayer = [&](const wchar_t* name) {
        AcDbLayerTable* layers = nullptr;
        EXPECT_EQ(w.db->getLayerTable(layers, AcDb::kForWrite), Acad::eOk);
        auto* layer = new AcDbLayerTableRecord;
        layer->setName(name);
        AcDbObjectId id;
        EXPECT_EQ(layers->add(id, layer), Acad::eOk);
        layer->close();
        layers->close();
        return id;
    };
    auto change = [](AcDbObjectId id, const wchar_t* newName, bool erased) {
        AcDbLayerTableRecord* layer = nullptr;
        ASSERT_EQ(acdbOpenObject(layer, id, AcDb::kForWrite, true), Acad::eOk);
        EXPECT_EQ(newName ? layer->setName(newName) : Acad::eOk, Acad::eOk);
        EXPECT_EQ(erased != layer->isErased() ? layer->erase(erased) : Acad::eOk, Acad::eOk);
        layer->close();
    };
    auto anyNamed = [&](const wchar_t* name) {
        AcDbLayerTable* layers = nullptr;
        EXPECT_EQ(w.db->getLayerTable(layers, AcDb::kForRead), Acad::eOk);
        AcDbObjectId id;
        layers->getAt(name, id, true);
        layers->close();
        return id;
    };
    const AcDbObjectId a = addLayer(L"Talus"), b = addLayer(L"Crete");
    ASSERT_EQ(w.db->layerId(L"talus"), a);
    change(a, L"Fosse", false);
    EXPECT_TRUE(w.db->layerId(L"TALUS").isNull());
    EXPECT_EQ(w.db->layerId(L"fosse"), a);
    change(a, nullptr, true);
    EXPECT_TRUE(w.db->layerId(L"Fosse").isNull());
    EXPECT_EQ(anyNamed(L"FOSSE"), a);
    const AcDbObjectId later = addLayer(L"FOSSE");
    EXPECT_EQ(w.db->layerId(L"Fosse"), later);
    EXPECT_EQ(anyNamed(L"Fosse"), a) << "erased records count when asked for";
    change(a, nullptr, false);
    EXPECT_EQ(w.db->layerId(L"Fosse"), a) << "the first in the table wins";

    ASSERT_EQ(w.db->beginUndoGroup(), Acad::eOk);
    change(b, L"Berge", false);
    const AcDbObjectId added = addLayer(L"Crete");
    ASSERT_EQ(w.db->endUndoGroup(), Acad::eOk);
    EXPECT_EQ(w.db->layerId(L"berge"), b);
    EXPECT_EQ(w.db->layerId(L"crete"), added);
    ASSERT_EQ(w.db->undoLastGroup(), Acad::eOk);
    EXPECT_TRUE(w.db->layerId(L"Berge").isNull());
    EXPECT_EQ(w.db->layerId(L"Crete"), b);
    EXPECT_EQ(anyNamed(L"Crete"), b);
}

TEST(BinaryDrawing, SaveAndOpenKeepObjectsHandlesAndHeader) {
    host::test::TemporaryFile file(".zdw");
    AcDbHandle handle;
    {
        WorkingDatabase w;
        AcDbObjectId id = addXrecord(w.db.get(), L"K", 42);
        handle = id.handle();
        w.db->setLtscale(2.5);
        ASSERT_EQ(w.db->saveAs(file.wide().c_str()), Acad::eOk);
    }
    AcDbDatabase db(false);
    ASSERT_EQ(db.readDwgFile(file.wide().c_str()), Acad::eOk) << db.lastFileError();
    EXPECT_DOUBLE_EQ(db.ltscale(), 2.5);
    AcDbObjectId id;
    ASSERT_EQ(db.getAcDbObjectId(id, false, handle), Acad::eOk);
    EXPECT_EQ(xrecordValue(id), 42);
    AcDbDictionary* named = nullptr;
    ASSERT_EQ(db.getNamedObjectsDictionary(named, AcDb::kForRead), Acad::eOk);
    AcDbObjectId viaName;
    EXPECT_EQ(named->getAt(L"K", viaName), Acad::eOk);
    EXPECT_EQ(viaName, id);
    named->close();
}

TEST(BinaryDrawing, DamagedFilesLeaveTheDatabaseAsItWas) {
    host::test::TemporaryFile file(".zdw");
    WorkingDatabase w;
    addXrecord(w.db.get(), L"K", 42);
    ASSERT_EQ(w.db->saveAs(file.wide().c_str()), Acad::eOk);
    std::string bytes = *host::readFileBytes(file.wide());
    AcDbDatabase target;
    AcDbObjectId before = target.modelSpaceId();
    for (std::size_t cut : {bytes.size() / 2, bytes.size() - 3, std::size_t(12)}) {
        ASSERT_TRUE(host::writeFileBytes(file.wide(), bytes.substr(0, cut)));
        EXPECT_NE(target.readDwgFile(file.wide().c_str()), Acad::eOk);
        EXPECT_FALSE(target.lastFileError().empty());
        EXPECT_EQ(target.modelSpaceId(), before);
    }
    EXPECT_EQ(target.readDwgFile(L"/nonexistent/drawing.zdw"), Acad::eFileNotFound);
}

TEST(SymbolTables, EntitiesTakeLayersAndLinetypesByNameOrRecordOnly) {
    WorkingDatabase w;
    AcDbLine line;
    EXPECT_EQ(line.setLayer(static_cast<const ACHAR*>(nullptr)), Acad::eInvalidInput);
    EXPECT_EQ(line.setLayer(L""), Acad::eInvalidInput);
    EXPECT_EQ(line.setLayer(L"absent"), Acad::eKeyNotFound);
    EXPECT_EQ(line.setLinetype(L"absent"), Acad::eKeyNotFound);
    EXPECT_EQ(line.setLinetype(L"continuous"), Acad::eOk);
    EXPECT_STREQ(line.linetype(), L"Continuous") << "the record's own spelling";
    AcDbObjectId layer0 = w.db->layerId(L"0"), continuous = w.db->linetypeId(L"Continuous");
    EXPECT_EQ(line.setLayer(continuous), Acad::eInvalidInput) << "a linetype is no layer";
    EXPECT_EQ(line.setLinetype(layer0), Acad::eInvalidInput);
    EXPECT_EQ(line.setLinetype(AcDbObjectId()), Acad::eInvalidInput);
    EXPECT_EQ(line.setLayer(layer0), Acad::eOk);
    EXPECT_EQ(line.layerId(), layer0);
    EXPECT_EQ(line.setLinetype(continuous), Acad::eOk);
    EXPECT_EQ(line.linetypeId(), continuous);
}
