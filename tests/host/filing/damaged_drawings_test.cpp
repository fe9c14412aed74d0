// Drawings damaged by hand or by a faulty writer: refused with the line at fault, or opened so that what is
// saved opens again.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "host/db/database.h"
#include "host/db/symbol_tables.h"
#include "host/entities/line.h"
#include "host/filing/dxf_file.h"
#include "host/filing/file_bytes.h"
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
    std::string twice = good;
    const std::size_t first = twice.find("  0\nLINE\n  5\n");
    replaceValueAfter(twice, "  0\nCIRCLE\n  5\n",
                      twice.substr(first + 13, twice.find('\n', first + 13) - first - 13));
    AcDbDatabase db(false);
    EXPECT_EQ(host::readDxf(db, twice), Acad::eDxfReadAborted);
    EXPECT_NE(db.lastFileError().find("used twice"), std::string::npos) << db.lastFileError();
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

TEST(DamagedDrawings, EnumerationsOutOfRangeTakeTheirDefault) {
    Sample s;
    std::string text = host::writeDxf(*s.db);
    const std::size_t subclass = text.find("100\nAcDbLine\n", text.find("  0\nLINE\n"));
    ASSERT_NE(subclass, std::string::npos);
    text.insert(subclass, "370\n-672\n"); // no line weight of the reference
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
        line->close();
        break;
    }
    space->close();
    acdbHostApplicationServices()->setWorkingDatabase(s.db.get());
    EXPECT_TRUE(found);
}
