// Drawings damaged by hand or by a faulty writer: refused with the line at fault, or opened so that what is
// saved opens again.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <limits>

#include "host/db/database.h"
#include "host/db/kept_tables.h"
#include "host/db/symbol_tables.h"
#include "host/editor/acut.h"
#include "host/entities/line.h"
#include "host/entities/meshes.h"
#include "host/filing/drawing_file.h"
#include "host/filing/dxf_file.h"
#include "host/filing/file_bytes.h"
#include "host/filing/proxies.h"
#include "host/filing/text_codec.h"
#include "tests/host/host_test_support.h"
#include "tests/host/sample_drawing.h"

namespace {

using host::test::WorkingDatabase;

struct Sample : WorkingDatabase {
    Sample() { host::test::buildSampleDrawing(*db); }
};

// Replaces the line that follows the first `groups` (whole lines, as "  0\nLINE\n  5\n") by `value`;
// answers the number of the line before, the group's code, by which the reader names a group.
int replaceValueAfter(std::string& text, const std::string& groups, const std::string& value) {
    const std::size_t at = text.find(groups);
    EXPECT_NE(at, std::string::npos) << groups;
    if (at == std::string::npos) return 0;
    const std::size_t start = at + groups.size();
    const std::size_t end = text.find('\n', start);
    text.replace(start, end - start, value);
    return static_cast<int>(std::count(text.begin(), text.begin() + static_cast<long>(start), '\n'));
}

void removeHandseed(std::string& text) {
    const std::size_t at = text.find("  9\n$HANDSEED\n");
    ASSERT_NE(at, std::string::npos);
    std::size_t end = at;
    for (int line = 0; line < 4; ++line)
        end = text.find('\n', end) + 1;
    text.erase(at, end - at);
}

AcDbObjectId addLine(AcDbDatabase& db) {
    AcDbBlockTableRecord* space = nullptr;
    EXPECT_EQ(acdbOpenObject(space, db.modelSpaceId(), AcDb::kForWrite), Acad::eOk);
    AcDbObjectId id;
    auto* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 0));
    if (space->appendAcDbEntity(id, line) == Acad::eOk)
        line->close();
    else
        delete line;
    space->close();
    return id;
}

} // namespace

TEST(DamagedDrawings, HandlesThatCannotBeFollowedAreRefusedWithTheirLine) {
    Sample s;
    const std::string good = host::writeDxf(*s.db);
    for (const char* groups : {"  0\nLINE\n  5\n", "  0\nCIRCLE\n  5\n", "330\n"}) {
        std::string bad = good;
        const int line = replaceValueAfter(bad, groups, "FFFFFFFFFFFFFFFF");
        AcDbDatabase db(false);
        EXPECT_EQ(host::readDxf(db, bad), Acad::eDxfReadAborted);
        EXPECT_EQ(db.lastFileError(),
                  "line " + std::to_string(line) + ": handle FFFFFFFFFFFFFFFF cannot be followed");
    }
    // The line's handle given to a circle, or to a block's marker.
    const std::size_t first = good.find("  0\nLINE\n  5\n");
    const std::string lineHandle = good.substr(first + 13, good.find('\n', first + 13) - first - 13);
    for (const char* groups : {"  0\nCIRCLE\n  5\n", "  0\nBLOCK\n  5\n"}) {
        std::string twice = good;
        replaceValueAfter(twice, groups, lineHandle);
        AcDbDatabase db(false);
        EXPECT_EQ(host::readDxf(db, twice), Acad::eDxfReadAborted) << groups;
        EXPECT_NE(db.lastFileError().find("used twice"), std::string::npos) << db.lastFileError();
    }
}

TEST(DamagedDrawings, TheSeedStaysAboveEveryHandleSoWhatIsSavedOpensAgain) {
    Sample s;
    const std::string good = host::writeDxf(*s.db);
    for (const char* seed : {"", "1", "FFFFFFFFFFFFFFFF"}) {
        std::string high = good;
        replaceValueAfter(high, "  0\nLINE\n  5\n", "7FFFFFFFFFFFFFFD");
        if (*seed)
            replaceValueAfter(high, "  9\n$HANDSEED\n  5\n", seed);
        else
            removeHandseed(high);
        AcDbDatabase db(false);
        ASSERT_EQ(host::readDxf(db, high), Acad::eOk) << db.lastFileError();
        EXPECT_GT(db.handseed().value(), 0x7FFFFFFFFFFFFFFDu) << seed;
        AcDbObjectId added = addLine(db);
        ASSERT_FALSE(added.isNull()) << seed;
        EXPECT_EQ(added.handle().value(), 0x7FFFFFFFFFFFFFFEu) << "the next free handle";
        EXPECT_FALSE(addLine(db).isNull()) << "the last handle below the limit";
        EXPECT_TRUE(addLine(db).isNull()) << "no handle left: refused, nothing overwritten";
        AcDbDatabase again(false);
        EXPECT_EQ(host::readDxf(again, host::writeDxf(db)), Acad::eOk) << again.lastFileError();
    }
}

// An object kept as its groups may name handles above the seed: as a reference, which makes room for it,
// or as text, which does not; either way the binary drawing saves the same after it is opened again.
TEST(DamagedDrawings, HandlesAnObjectKeptNamesLeaveItsBinaryDrawingTheSame) {
    Sample s;
    const std::string good = host::writeDxf(*s.db);
    const std::size_t objects = good.find("  0\nENDSEC\n", good.find("OBJECTS\n"));
    ASSERT_NE(objects, std::string::npos);
    for (const char* named : {"  5\n7F0\n", "340\n7F0\n"}) {
        std::string text = good;
        text.insert(objects, std::string("  0\nZORTA_KEPT\n  5\n7E0\n100\nZortaKept\n") + named);
        AcDbDatabase db(false);
        ASSERT_EQ(host::readDxf(db, text), Acad::eOk) << db.lastFileError();
        std::string first, second;
        ASSERT_EQ(host::writeDrawing(db, first), Acad::eOk);
        AcDbDatabase again(false);
        ASSERT_EQ(host::readDrawingContent(again, first), Acad::eOk) << again.lastFileError();
        EXPECT_EQ(again.handseed(), db.handseed()) << named;
        ASSERT_EQ(host::writeDrawing(again, second), Acad::eOk);
        EXPECT_TRUE(first == second) << named;
    }
}

TEST(DamagedDrawings, EnumerationsOutOfRangeTakeTheirDefault) {
    Sample s;
    std::string text = host::writeDxf(*s.db);
    const std::size_t subclass = text.find("100\nAcDbLine\n", text.find("  0\nLINE\n"));
    ASSERT_NE(subclass, std::string::npos);
    text.insert(subclass, "370\n-672\n 62\n1000\n"); // no line weight of the reference, no colour
    AcDbDatabase db(false);
    ASSERT_EQ(host::readDxf(db, text), Acad::eOk) << db.lastFileError();
    acdbHostApplicationServices()->setWorkingDatabase(&db);
    AcDbBlockTableRecord* space = nullptr;
    ASSERT_EQ(acdbOpenObject(space, db.modelSpaceId(), AcDb::kForRead), Acad::eOk);
    bool found = false;
    for (AcDbObjectId id : space->entityIds()) {
        AcDbLine* line = nullptr;
        if (acdbOpenObject(line, id, AcDb::kForRead) != Acad::eOk) continue;
        found = true;
        EXPECT_EQ(line->lineWeight(), AcDb::kLnWtByLayer);
        EXPECT_EQ(line->colorIndex(), AcCmColor::kByLayer);
        line->close();
        break;
    }
    space->close();
    acdbHostApplicationServices()->setWorkingDatabase(s.db.get());
    EXPECT_TRUE(found);
}

namespace {

// The message a binary drawing of `db` is refused with, or "opened".
std::string binaryRefusal(AcDbDatabase& db) {
    std::string bytes;
    EXPECT_EQ(host::writeDrawing(db, bytes), Acad::eOk) << db.lastFileError();
    AcDbDatabase read(false);
    return host::readDrawingContent(read, bytes) == Acad::eOk ? "opened" : read.lastFileError();
}

} // namespace

// What no DXF file can hold is refused on opening, instead of a save that does not open again.
TEST(DamagedDrawings, BinaryDrawingsAreRefusedWithWhatIsWrongAndWhere) {
    {
        Sample s;
        s.db->setHeaderVariable(L"ZORTA", {255, Adesk::Int16(1)});
        EXPECT_NE(
            binaryRefusal(*s.db).find("binary drawing damaged: group 255 with a value of kind 3 it cannot "
                                      "hold at byte "),
            std::string::npos);
    }
    {
        Sample s;
        s.db->setHeaderVariable(L"ELEVATION", {38, std::wstring(L"haut")});
        EXPECT_NE(binaryRefusal(*s.db).find("group 38 with a value of kind 6"), std::string::npos);
    }
    {
        Sample s;
        s.db->setHeaderVariable(L"INSBASE",
                                {10, AcGePoint3d(0, std::numeric_limits<double>::quiet_NaN(), 0)});
        EXPECT_NE(binaryRefusal(*s.db).find("binary drawing damaged: a number that is not finite at byte"),
                  std::string::npos);
    }
    {
        Sample s;
        s.db->setHeaderVariable(L"HANDSEED", {5, AcDbHandle(1)});
        EXPECT_NE(binaryRefusal(*s.db).find("(HANDSEED) is not one a drawing has"), std::string::npos);
    }
    {
        Sample s; // a layer table that holds a linetype
        AcDbObject* table = nullptr;
        ASSERT_EQ(acdbOpenObject(table, s.db->layerTableId(), AcDb::kForWrite), Acad::eOk);
        AcDbObjectId continuous = s.db->linetypeId(L"Continuous");
        static_cast<AcDbSymbolTable*>(table)->adoptRecord(continuous);
        table->close();
        EXPECT_EQ(binaryRefusal(*s.db),
                  "binary drawing damaged: table " + host::toUtf8(s.db->layerTableId().handle().text()) +
                      " holds " + host::toUtf8(continuous.handle().text()) + ", which is not its record");
    }
    {
        Sample s; // a layer table that lists a layer twice
        AcDbObject* table = nullptr;
        ASSERT_EQ(acdbOpenObject(table, s.db->layerTableId(), AcDb::kForWrite), Acad::eOk);
        const AcDbObjectId layer = s.db->layerId(L"0");
        static_cast<AcDbSymbolTable*>(table)->adoptRecord(layer);
        table->close();
        EXPECT_EQ(binaryRefusal(*s.db), "binary drawing damaged: table " +
                                            host::toUtf8(s.db->layerTableId().handle().text()) + " lists " +
                                            host::toUtf8(layer.handle().text()) + " twice");
    }
    Sample s;
    std::string bytes;
    ASSERT_EQ(host::writeDrawing(*s.db, bytes), Acad::eOk);
    const std::size_t layer = bytes.find(std::string("T\0\0\0a\0\0\0l\0\0\0u\0\0\0s", 17));
    ASSERT_NE(layer, std::string::npos);
    bytes[layer + 4] = 0; // "T\0lus"
    AcDbDatabase read(false);
    EXPECT_NE(host::readDrawingContent(read, bytes), Acad::eOk);
    EXPECT_NE(read.lastFileError().find("a text with a character that is not one at byte"), std::string::npos)
        << read.lastFileError();
}

TEST(DamagedDrawings, DxfStructureThatCannotBeKeptIsRefusedWithItsLine) {
    Sample s;
    const std::string good = host::writeDxf(*s.db);
    std::string mistyped = good;
    const std::size_t endblk = mistyped.find("  0\nENDBLK\n");
    ASSERT_NE(endblk, std::string::npos);
    mistyped[endblk + 6] = 'X'; // "ENDXLK": an entity of a class not loaded, then the next block's BLOCK
    // CLASSES without its ENDSEC, which would take the tables for class entries.
    std::string unended = good;
    const std::size_t endsec = unended.find("  0\nENDSEC\n", unended.find("  2\nCLASSES\n"));
    ASSERT_NE(endsec, std::string::npos);
    unended.erase(endsec, 12);
    std::string twice = good; // LAYER again, whose records would belong to no table
    const std::size_t layers = twice.find("  0\nTABLE\n  2\nLAYER\n");
    const std::size_t layersEnd = twice.find("  0\nENDTAB\n", layers) + 12;
    ASSERT_NE(layers, std::string::npos);
    twice.insert(layersEnd, twice.substr(layers, layersEnd - layers));
    const struct {
        const std::string& text;
        std::size_t fault;
        const char* what;
    } cases[] = {
        {mistyped, mistyped.find("  0\nBLOCK\n", endblk), "BLOCK among entities"},
        {unended, endsec, "SECTION among classes"},
        {twice, layersEnd, "table LAYER a second time"},
    };
    for (const auto& [text, fault, what] : cases) {
        AcDbDatabase db(false);
        EXPECT_EQ(host::readDxf(db, text), Acad::eDxfReadAborted) << what;
        const auto line = std::count(text.begin(), text.begin() + static_cast<long>(fault), '\n') + 1;
        EXPECT_EQ(db.lastFileError(), "line " + std::to_string(line) + ": " + what);
    }
}

// Programs that write no handles for some objects: those take handles above every one the file names, so
// an object further on keeps its own.
TEST(DamagedDrawings, ObjectsWithoutHandlesTakeNoneTheFileUses) {
    Sample s;
    const std::string whole = host::writeDxf(*s.db);
    std::string text = whole;
    // The line gives up its handle, which the arc after it takes.
    const std::size_t line = text.find("  0\nLINE\n  5\n", text.find("ENTITIES"));
    ASSERT_NE(line, std::string::npos);
    const std::size_t value = line + 13, end = text.find('\n', value);
    const std::string handle = text.substr(value, end - value);
    text.erase(line + 9, end + 1 - (line + 9));
    replaceValueAfter(text, "  0\nARC\n  5\n", handle);
    AcDbDatabase db(false);
    ASSERT_EQ(host::readDxf(db, text), Acad::eOk) << db.lastFileError();
    AcDbDatabase again(false);
    EXPECT_EQ(host::readDxf(again, host::writeDxf(db)), Acad::eOk) << again.lastFileError();
    AcDbDatabase withHandles(false);
    ASSERT_EQ(host::readDxf(withHandles, whole), Acad::eOk);
    EXPECT_EQ(again.stubs().size(), withHandles.stubs().size()) << "every object kept";
}

// Writers put an object's handle first and its space among its entity groups; other programs may put them
// anywhere among its groups, and the reader reads each object once, as it comes.
TEST(DamagedDrawings, AnObjectsHandleAndSpaceCountWhereverTheyStandAmongItsGroups) {
    Sample s;
    std::string text = host::writeDxf(*s.db);
    const std::size_t line = text.find("  0\nLINE\n  5\n", text.find("ENTITIES"));
    ASSERT_NE(line, std::string::npos);
    const std::size_t value = line + 13, end = text.find('\n', value) + 1;
    const std::string handle = text.substr(value, end - 1 - value);
    text.erase(line + 9, end - (line + 9));
    text.insert(text.find("\n  0\n", line) + 1, "  5\n" + handle + "\n 67\n1\n");

    AcDbDatabase db(false);
    ASSERT_EQ(host::readDxf(db, text), Acad::eOk) << db.lastFileError();
    AcDbObjectId id;
    ASSERT_EQ(db.getAcDbObjectId(id, false, AcDbHandle(host::fromUtf8(handle).c_str())), Acad::eOk);
    AcDbLine* read = nullptr;
    ASSERT_EQ(acdbOpenObject(read, id, AcDb::kForRead), Acad::eOk) << "the line kept its handle";
    EXPECT_EQ(read->ownerId(), db.paperSpaceId());
    read->close();
}

// References inside the objects a drawing keeps must be handles it can follow, even where the object's
// own reader has already begun; in a table the host passes over they are not looked at.
TEST(DamagedDrawings, ReferencesAreJudgedInsideTheObjectsKept) {
    Sample s;
    const std::string good = host::writeDxf(*s.db);
    const std::size_t line = good.find("  0\nLINE\n", good.find("ENTITIES"));
    const std::size_t lineEnd = good.find("\n  0\n", line) + 1;
    const long at = std::count(good.begin(), good.begin() + static_cast<long>(lineEnd), '\n') + 1;
    for (const auto& [value, message] :
         {std::pair<std::string, std::string>{"None", "'None' is not a valid handle"},
          {"FFFFFFFFFFFFFFFF", "handle FFFFFFFFFFFFFFFF cannot be followed"}}) {
        std::string text = good;
        text.insert(lineEnd, "340\n" + value + "\n");
        AcDbDatabase db(false);
        EXPECT_EQ(host::readDxf(db, text), Acad::eDxfReadAborted);
        EXPECT_EQ(db.lastFileError(), "line " + std::to_string(at) + ": " + message);
    }

    std::string passedOver = good;
    passedOver.insert(passedOver.find("  0\nTABLE\n  2\nLTYPE\n"),
                      "  0\nTABLE\n  2\nMADEUP\n  5\nF00\n330\nNone\n100\nAcDbSymbolTable\n 70\n1\n"
                      "  0\nMADEUP\n  5\nF01\n330\nF00\n340\nFFFFFFFFFFFFFFFF\n  2\n*Active\n  0\nENDTAB\n");
    AcDbDatabase db(false);
    EXPECT_EQ(host::readDxf(db, passedOver), Acad::eOk) << db.lastFileError();
}

namespace {

AcDbObjectId linetypeOfLayer(const AcDbDatabase& db, const wchar_t* name) {
    AcDbLayerTableRecord* layer = nullptr;
    if (acdbOpenObject(layer, db.layerId(name), AcDb::kForRead) != Acad::eOk) return {};
    const AcDbObjectId linetype = layer->linetypeObjectId();
    layer->close();
    return linetype;
}

// Reads `text` (DXF or binary) into a fresh database; the command line's notes.
std::string notesReading(AcDbDatabase& db, const std::string& text) {
    host::clearCommandLineTranscript();
    EXPECT_EQ(host::readDrawingContent(db, text), Acad::eOk) << db.lastFileError();
    return host::toUtf8(host::commandLineTranscript());
}

} // namespace

// A layer whose linetype the file names but does not hold is drawn Continuous, and the reader says so.
TEST(DamagedDrawings, LayersNamingALinetypeTheDrawingLacksTakeContinuousWithANote) {
    const std::string note = "\nNote: linetypes the drawing does not hold, replaced by Continuous on layers ";
    {
        // Erased while a layer uses it, then saved as the binary drawing: repaired on opening, so the DXF
        // saved from it says Continuous and opens without a word.
        Sample s;
        AcDbLinetypeTableRecord* dashed = nullptr;
        ASSERT_EQ(acdbOpenObject(dashed, s.db->linetypeId(L"TIRETS"), AcDb::kForWrite), Acad::eOk);
        ASSERT_EQ(dashed->erase(), Acad::eOk);
        dashed->close();
        std::string bytes;
        ASSERT_EQ(host::writeDrawing(*s.db, bytes), Acad::eOk);
        AcDbDatabase binary(false);
        EXPECT_EQ(notesReading(binary, bytes), note + "Talus (TIRETS)");
        EXPECT_EQ(linetypeOfLayer(binary, L"Talus"), binary.continuousLinetype());
        AcDbDatabase again(false);
        EXPECT_EQ(notesReading(again, host::writeDxf(binary)), "");
        EXPECT_EQ(linetypeOfLayer(again, L"Talus"), again.continuousLinetype());
    }
    Sample s;
    const std::string good = host::writeDxf(*s.db);
    {
        // A name no linetype has.
        std::string text = good;
        const std::size_t linetype = text.find("\n  6\nTIRETS\n", text.find("  2\nTalus\n"));
        ASSERT_NE(linetype, std::string::npos);
        text.replace(linetype, std::strlen("\n  6\nTIRETS\n"), "\n  6\nPOINTILLE\n");
        AcDbDatabase db(false);
        EXPECT_EQ(notesReading(db, text), note + "Talus (POINTILLE)");
        EXPECT_EQ(linetypeOfLayer(db, L"Talus"), db.continuousLinetype());
    }
    {
        // The linetypes' table after the layers': the layer keeps its own.
        std::string text = good;
        const std::size_t start = text.find("  0\nTABLE\n  2\nLTYPE\n");
        const std::size_t end = text.find("  0\nENDTAB\n", start) + std::strlen("  0\nENDTAB\n");
        const std::string linetypes = text.substr(start, end - start);
        text.erase(start, end - start);
        text.insert(text.find("  0\nENDTAB\n", text.find("  0\nTABLE\n  2\nLAYER\n")) + 11, linetypes);
        AcDbDatabase db(false);
        EXPECT_EQ(notesReading(db, text), "");
        EXPECT_EQ(linetypeOfLayer(db, L"Talus"), db.linetypeId(L"TIRETS"));
    }
}

// Groups a linetype keeps come back where they were read, not among the dash elements that follow them.
TEST(DamagedDrawings, GroupsALinetypeKeepsStayOutOfItsDashes) {
    Sample s;
    std::string text = host::writeDxf(*s.db);
    const std::size_t dash = text.find("\n 49\n", text.find("  2\nTIRETS\n"));
    ASSERT_NE(dash, std::string::npos);
    text.insert(dash + 1, " 48\n1.0\n 74\n0\n"); // a group no linetype has, and an element before any dash
    AcDbDatabase db(false);
    ASSERT_EQ(host::readDxf(db, text), Acad::eOk) << db.lastFileError();
    const std::string saved = host::writeDxf(db);
    AcDbDatabase again(false);
    ASSERT_EQ(host::readDxf(again, saved), Acad::eOk) << again.lastFileError();
    EXPECT_TRUE(host::writeDxf(again) == saved);
}

// An empty arrow block name that a binary drawing's dimension style keeps is dropped on opening, as the DXF
// reading drops it, so the DXF saved from the drawing reads back the same.
TEST(DamagedDrawings, ABinaryDrawingsDimensionStyleSavesADxfThatReadsBackTheSame) {
    Sample s;
    std::string text = host::writeDxf(*s.db);
    text.insert(text.find("  0\nTABLE\n  2\nLTYPE\n"),
                "  0\nTABLE\n  2\nDIMSTYLE\n  5\nA00\n330\n0\n100\nAcDbSymbolTable\n 70\n1\n100\n"
                "AcDbDimStyleTable\n  0\nDIMSTYLE\n105\nA01\n330\nA00\n100\nAcDbSymbolTableRecord\n100\n"
                "AcDbDimStyleTableRecord\n  2\nStandard\n 70\n0\n  0\nENDTAB\n");
    AcDbDatabase db(false);
    ASSERT_EQ(host::readDxf(db, text), Acad::eOk) << db.lastFileError();
    AcDbObjectId styleId;
    ASSERT_EQ(db.getAcDbObjectId(styleId, false, AcDbHandle(L"A01")), Acad::eOk);
    auto* style = AcDbDimStyleTableRecord::cast(styleId.stub()->object);
    ASSERT_NE(style, nullptr);
    style->setKeptGroups({{6, std::wstring()}, {40, 1.0}});
    std::string bytes;
    ASSERT_EQ(host::writeDrawing(db, bytes), Acad::eOk);
    AcDbDatabase opened(false);
    ASSERT_EQ(host::readDrawingContent(opened, bytes), Acad::eOk) << opened.lastFileError();
    const std::string saved = host::writeDxf(opened);
    AcDbDatabase again(false);
    ASSERT_EQ(host::readDxf(again, saved), Acad::eOk) << again.lastFileError();
    EXPECT_TRUE(host::writeDxf(again) == saved);
}

// A binary drawing ends with its last object's proxy-graphics length (none for built-in classes): a length
// past the end of the file is refused before any memory is taken for it.
TEST(DamagedDrawings, AProxyGraphicsLengthPastTheEndIsRefused) {
    for (const std::uint32_t length : {1u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
        Sample s;
        std::string bytes;
        ASSERT_EQ(host::writeDrawing(*s.db, bytes), Acad::eOk);
        ASSERT_EQ(bytes.substr(bytes.size() - 4), std::string(4, '\0'));
        std::memcpy(bytes.data() + bytes.size() - 4, &length, 4);
        AcDbDatabase read(false);
        EXPECT_EQ(host::readDrawingContent(read, bytes), Acad::eFilerError) << length;
        EXPECT_NE(read.lastFileError().find("binary drawing truncated at object"), std::string::npos)
            << read.lastFileError();
    }
}

// A block's list of entities names each of its entities once: one listed twice, or one it owns and does not
// list, would be lost or doubled by the next save.
TEST(DamagedDrawings, ABinaryBlockListingAnEntityTwiceOrNotAtAllIsRefusedWithThePlace) {
    for (const bool twice : {true, false}) {
        Sample s;
        const AcDbObjectId space = s.db->modelSpaceId();
        AcDbObjectId line = addLine(*s.db);
        if (twice) {
            AcDbBlockTableRecord* record = nullptr;
            ASSERT_EQ(acdbOpenObject(record, space, AcDb::kForWrite), Acad::eOk);
            record->adoptEntity(line);
            record->close();
        } else {
            auto* unlisted = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(2, 2, 0));
            ASSERT_EQ(s.db->addAcDbObject(line, unlisted), Acad::eOk);
            unlisted->setOwnerId(space);
            unlisted->close();
        }
        std::string bytes;
        ASSERT_EQ(host::writeDrawing(*s.db, bytes), Acad::eOk);
        AcDbDatabase db(false);
        EXPECT_EQ(host::readDrawingContent(db, bytes), Acad::eFilerError);
        const std::string spaceHandle = host::toUtf8(space.handle().text()),
                          lineHandle = host::toUtf8(line.handle().text());
        EXPECT_EQ(db.lastFileError(), "binary drawing damaged: block " + spaceHandle +
                                          (twice ? " lists " + lineHandle + " twice"
                                                 : " owns " + lineHandle + " but does not list it"));
    }
}

// A layout whose BLOCK the file lacks is given an empty one under handles of its own, with a note, and what
// is saved opens again; a header variable named "$" alone, which nothing could save, is refused with its
// line.
TEST(DamagedDrawings, ALayoutWithoutItsBlockIsRepairedAndANamelessHeaderVariableRefused) {
    Sample s;
    const std::string good = host::writeDxf(*s.db);
    std::string text = good;
    const std::size_t paper =
        text.rfind("  0\nBLOCK\n", text.find("  2\n*Paper_Space\n", text.find("BLOCKS")));
    const std::size_t end = text.find("  0\n", text.find("  0\nENDBLK\n", paper) + 1);
    text.erase(paper, end - paper);
    AcDbDatabase db(false);
    EXPECT_EQ(notesReading(db, text),
              "\nNote: block *Paper_Space had no definition in the drawing file: an empty one is made");
    const std::string saved = host::writeDxf(db);
    const std::size_t block =
        saved.rfind("  0\nBLOCK\n  5\n", saved.find("  2\n*Paper_Space\n", saved.find("BLOCKS")));
    ASSERT_NE(block, std::string::npos);
    const std::string handle = saved.substr(block + 14, saved.find('\n', block + 14) - block - 14);
    EXPECT_NE(handle, "0");
    EXPECT_EQ(saved.find("\n  5\n" + handle + "\n"), block + 9) << "a handle of its own";
    AcDbDatabase again(false);
    EXPECT_EQ(notesReading(again, saved), "");
    EXPECT_EQ(host::writeDxf(again), saved);

    std::string nameless = good;
    const int line = replaceValueAfter(nameless, "  9\n$", ""); // the line of the name's group 9
    AcDbDatabase refused(false);
    EXPECT_EQ(host::readDxf(refused, nameless), Acad::eDxfReadAborted);
    EXPECT_EQ(refused.lastFileError(),
              "line " + std::to_string(line) + ": header variable without a name after $");
}

// A proxy kept from a DXF file whose groups name another object's handle (a damaged binary drawing) is saved
// under its own, so that the file opens again.
TEST(DamagedDrawings, AProxyNamingAnotherObjectsHandleIsSavedUnderItsOwn) {
    Sample s;
    host::ProxyContent content;
    content.dxfName = L"ZORTA_THING";
    content.fromDxf = true;
    content.groups = {
        {5, s.db->layerTableId().handle()}, {100, std::wstring(L"ZortaThing")}, {1, std::wstring(L"x")}};
    AcDbObject* proxy = host::makeProxy(false, content);
    AcDbObjectId id;
    ASSERT_EQ(s.db->addAcDbObject(id, proxy), Acad::eOk);
    proxy->close();
    const std::string saved = host::writeDxf(*s.db);
    AcDbDatabase again(false);
    EXPECT_EQ(host::readDxf(again, saved), Acad::eOk) << again.lastFileError();
    EXPECT_NE(saved.find("  0\nZORTA_THING\n  5\n" + host::toUtf8(id.handle().text()) + "\n"),
              std::string::npos);
}

// A binary DXF file that cannot be read is refused with the byte where its fault stands.
TEST(DamagedDrawings, BinaryDxfFilesAreRefusedWithTheByteOfTheirFault) {
    using namespace std::string_literals;
    const std::string sentinel = "AutoCAD Binary DXF\r\n\x1a\0"s;
    const std::string section = "\0\0SECTION\0\2\0HEADER\0"s; // groups at 22 and 32, the next at 41
    const std::pair<std::string, std::string> cases[] = {
        {section + "\x46\0\1"s, "byte 41: a value past the end of the file"},
        {section + "\xB8\x0B\0"s, "byte 41: group code 3000 of no known type"},
        {section + "\x01\0open"s, "byte 41: a text without its end"},
        {"\0\0FOO\0\0\0EOF\0"s, "byte 28: expected SECTION, found FOO"}, // placed as in ASCII
        {"\0SECTION\0\2HEADER\0\0ENDSEC\0"s, "the end of the file: file ends without EOF"},
    };
    for (const auto& [groups, message] : cases) {
        AcDbDatabase db(false);
        EXPECT_EQ(host::readDxf(db, sentinel + groups), Acad::eDxfReadAborted) << message;
        EXPECT_EQ(db.lastFileError(), message);
    }
}

// A file of entities alone, as survey instruments write it, opens with the layers its entities name made,
// and the note says which; its entities are model space's, whether or not its blocks define that space.
TEST(DamagedDrawings, EntitiesNamingLayersTheFileDoesNotDefineHaveThemMade) {
    const std::string points = "  0\nSECTION\n  2\nENTITIES\n"
                               "  0\nPOINT\n  8\nPTS\n 10\n1.0\n 20\n2.0\n 30\n101.2\n"
                               "  0\nPOINT\n  8\nPTS\n 10\n3.0\n 20\n4.0\n 30\n99.8\n"
                               "  0\nLINE\n  8\nTalus\n 10\n1.0\n 20\n2.0\n 11\n3.0\n 21\n4.0\n"
                               "  0\nENDSEC\n  0\nEOF\n";
    const std::string layerTable = "  0\nSECTION\n  2\nTABLES\n  0\nTABLE\n  2\nLAYER\n"
                                   "  0\nLAYER\n  2\n0\n 70\n0\n 62\n7\n  6\nCONTINUOUS\n"
                                   "  0\nENDTAB\n  0\nENDSEC\n";
    const std::string blockAlone = "  0\nSECTION\n  2\nBLOCKS\n  0\nBLOCK\n  2\nARBRE\n 70\n0\n"
                                   " 10\n0.0\n 20\n0.0\n  0\nENDBLK\n  0\nENDSEC\n";
    for (const std::string& file : {points, layerTable + points, blockAlone + points}) {
        AcDbDatabase db(false);
        EXPECT_EQ(notesReading(db, file),
                  "\nNote: layers the drawing names but does not define, made: PTS, Talus");
        EXPECT_FALSE(db.layerId(L"PTS").isNull());
        const AcDbObjectId model = db.modelSpaceId();
        ASSERT_FALSE(model.isNull());
        EXPECT_EQ(AcDbBlockTableRecord::cast(model.stub()->object)->entityIds().size(), 3u);
        AcDbDatabase again(false);
        EXPECT_EQ(notesReading(again, host::writeDxf(db)), "");
    }
}

// A face naming a vertex its mesh does not hold, and a grid that is not the M x N it announces, are refused
// with the line of what is at fault in DXF, and with the entity in the binary drawing.
TEST(DamagedDrawings, MeshesWhosePartsDoNotMakeAWholeAreRefusedWithTheirPlace) {
    struct Case {
        bool face;
        const char* subclass; // the group damaged follows it
        const char* group;
        const char* objectStart;
        const char* what;
    };
    for (const Case& c :
         {Case{true, "AcDbFaceRecord", "\n 73\n", "  0\nVERTEX\n",
               "a face names vertex 9 of a mesh of 3 vertices"},
          Case{false, "AcDbPolygonMesh", "\n 71\n", "  0\nPOLYLINE\n", "a mesh of 9 x 2 vertices holds 4"}}) {
        Sample s;
        auto* faces = new AcDbPolyFaceMesh;
        for (const AcGePoint3d& p : {AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0), AcGePoint3d(1, 1, 0)})
            faces->appendVertex(new AcDbPolyFaceMeshVertex(p));
        faces->appendFaceRecord(new AcDbFaceRecord(1, 2, 3, 0));
        AcGePoint3dArray grid;
        for (const AcGePoint3d& p :
             {AcGePoint3d(0, 0, 0), AcGePoint3d(0, 1, 0), AcGePoint3d(1, 0, 0), AcGePoint3d(1, 1, 1)})
            grid.append(p);
        AcDbEntity* const meshes[] = {faces,
                                      new AcDbPolygonMesh(AcDb::kSimpleMesh, 2, 2, grid, false, false)};
        AcDbBlockTableRecord* space = nullptr;
        ASSERT_EQ(acdbOpenObject(space, s.db->modelSpaceId(), AcDb::kForWrite), Acad::eOk);
        AcDbObjectId ids[2];
        for (int i = 0; i < 2; ++i) {
            ASSERT_EQ(space->appendAcDbEntity(ids[i], meshes[i]), Acad::eOk);
            meshes[i]->close();
        }
        space->close();

        std::string text = host::writeDxf(*s.db);
        const std::size_t group = text.find(c.group, text.find(c.subclass)) + 5;
        const int line =
            static_cast<int>(std::count(
                text.begin(), text.begin() + static_cast<long>(text.rfind(c.objectStart, group)), '\n')) +
            1;
        text.replace(group, text.find('\n', group) - group, "9");
        AcDbDatabase read(false);
        EXPECT_EQ(host::readDxf(read, text), Acad::eDxfReadAborted);
        EXPECT_EQ(read.lastFileError(), "line " + std::to_string(line) + ": POLYLINE: " + c.what);

        // The same damage made in memory, which the binary drawing keeps as it is.
        AcDbObjectId damaged = ids[c.face ? 0 : 1];
        if (c.face) {
            AcDbObjectIterator* parts = AcDbPolyFaceMesh::cast(damaged.stub()->object)->vertexIterator();
            for (; AcDbFaceRecord::cast(parts->objectId().stub()->object) == nullptr; parts->step()) {
            }
            AcDbFaceRecord* record = nullptr;
            ASSERT_EQ(acdbOpenObject(record, parts->objectId(), AcDb::kForWrite), Acad::eOk);
            record->setVertexAt(2, 9);
            record->close();
            delete parts;
        } else {
            AcDbPolygonMesh* mesh = nullptr;
            ASSERT_EQ(acdbOpenObject(mesh, damaged, AcDb::kForWrite), Acad::eOk);
            mesh->setMSize(9);
            mesh->close();
        }
        EXPECT_EQ(binaryRefusal(*s.db),
                  "binary drawing damaged: entity " + host::toUtf8(damaged.handle().text()) + ": " + c.what);
    }
}
