// Polylines saved in drawing files, DXF and binary, and opened again.
#include <gtest/gtest.h>

#include <algorithm>

#include "host/db/database.h"
#include "host/filing/drawing_file.h"
#include "host/filing/dxf_file.h"
#include "tests/entity/poly_test_support.h"
#include "tests/entity/sample_polylines.h"
#include "tests/host/host_test_support.h"

namespace {

using FileOperation = Acad::ErrorStatus (*)(AcDbDatabase&, const std::wstring&);

void expectSameAfterReopening(FileOperation save, FileOperation open, const char* suffix) {
    poly_test::RegisteredClasses classes;
    host::test::WorkingDatabase working;
    const std::vector<AcDbObjectId> ids = poly_test::addSamplePolylines(*working.db);
    host::test::TemporaryFile file(suffix);
    ASSERT_EQ(save(*working.db, file.wide()), Acad::eOk) << working.db->lastFileError();

    AcDbDatabase reopened(false);
    ASSERT_EQ(open(reopened, file.wide()), Acad::eOk) << reopened.lastFileError();
    for (AcDbObjectId id : ids) {
        AcDbObjectId again;
        ASSERT_EQ(reopened.getAcDbObjectId(again, false, id.handle()), Acad::eOk);
        CPolyArc3D *saved = nullptr, *read = nullptr;
        ASSERT_EQ(acdbOpenObject(saved, id, AcDb::kForRead), Acad::eOk);
        ASSERT_EQ(acdbOpenObject(read, again, AcDb::kForRead), Acad::eOk);
        EXPECT_EQ(read->isA(), saved->isA());
        EXPECT_EQ(read->lineWeight(), saved->lineWeight());
        EXPECT_STREQ(read->layer(), saved->layer());
        poly_test::expectSamePolyline(*read, *saved);
        read->close();
        saved->close();
    }
}

TEST(DrawingFiles, PolylinesComeBackFromADxfFileFieldForField) {
    expectSameAfterReopening(host::writeDxfFile, host::readDxfFile, ".dxf");
}

TEST(DrawingFiles, APolylineWithHeaderGroupsAmongItsVerticesOpens) {
    // Other programs may repeat 69, 66 and 91 after a vertex; the drawing opens with every vertex.
    poly_test::RegisteredClasses classes;
    host::test::WorkingDatabase working;
    const AcDbObjectId id = poly_test::addSamplePolylines(*working.db).front();
    std::string text = host::writeDxf(*working.db);
    const std::size_t entity = text.find("\nZORTAPOLY\n", text.find("ENTITIES"));
    const std::size_t secondVertex = text.find("\n 10\n", text.find("\n 10\n", entity) + 1);
    ASSERT_NE(secondVertex, std::string::npos);
    text.insert(secondVertex, "\n 69\n5\n 66\n1\n 91\n4");

    AcDbDatabase reopened(false);
    ASSERT_EQ(host::readDxf(reopened, text), Acad::eOk) << reopened.lastFileError();
    AcDbObjectId again;
    ASSERT_EQ(reopened.getAcDbObjectId(again, false, id.handle()), Acad::eOk);
    CPolyArc3D *saved = nullptr, *read = nullptr;
    ASSERT_EQ(acdbOpenObject(saved, id, AcDb::kForRead), Acad::eOk);
    ASSERT_EQ(acdbOpenObject(read, again, AcDb::kForRead), Acad::eOk);
    poly_test::expectSamePolyline(*read, *saved);
    read->close();
    saved->close();
}

TEST(DrawingFiles, AValueThatDoesNotParseInsideAPolylineIsRefusedWithItsLine) {
    // The polyline reads its groups from the text as it goes; its own reader turns failures into statuses,
    // yet the refusal still names the value's line.
    poly_test::RegisteredClasses classes;
    host::test::WorkingDatabase working;
    poly_test::addSamplePolylines(*working.db);
    std::string text = host::writeDxf(*working.db);
    const std::size_t entity = text.find("\nZORTAPOLY\n", text.find("ENTITIES"));
    const std::size_t secondX = text.find("\n 10\n", text.find("\n 10\n", entity) + 1) + 5;
    ASSERT_LT(secondX, text.size());
    text.replace(secondX, text.find('\n', secondX) - secondX, "12,5");
    const auto line = std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(secondX), '\n') + 1;

    AcDbDatabase reopened(false);
    EXPECT_EQ(host::readDxf(reopened, text), Acad::eDxfReadAborted);
    EXPECT_EQ(reopened.lastFileError(), "line " + std::to_string(line) + ": '12,5' is not a valid number");
}

TEST(DrawingFiles, PolylinesComeBackFromABinaryDrawingFieldForField) {
    expectSameAfterReopening(host::writeDrawingFile, host::readDrawing, ".dwg");
}

} // namespace
