// The binary record: its bytes, the older versions, damaged records, header-only copies and undo.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "host/db/database.h"
#include "host/filing/dwg_filer.h"
#include "host/filing/dxf_file.h"
#include "tests/entity/poly_test_support.h"
#include "tests/host/host_test_support.h"
#include "tests/services/recording_screens.h"

using poly_test::append;
using poly_test::appendAll;
using poly_test::Attributes;
using Bytes = std::vector<std::uint8_t>;

namespace {

// A record built item by item, little-endian as the filer writes it.
struct RecordBytes {
    template <class T> RecordBytes& put(T value) {
        const auto* p = reinterpret_cast<const std::uint8_t*>(&value);
        bytes.insert(bytes.end(), p, p + sizeof value);
        return *this;
    }
    RecordBytes& i8(int v) { return put(static_cast<std::int8_t>(v)); }
    RecordBytes& i16(int v) { return put(static_cast<std::int16_t>(v)); }
    RecordBytes& i32(std::int32_t v) { return put(v); }
    RecordBytes& d(double v) { return put(v); }
    // Version 5 header: f70, f71, height, smoothing angle, width, no normal.
    RecordBytes& header(int f70 = 0, int f71 = 0, double f39 = 0, double f43 = 0, double f42 = 0) {
        return i8(5).i16(f70).i16(f71).d(f39).d(f43).d(f42).i8(0);
    }
    Bytes bytes;
};

Bytes hostPart(const CPolyArc3D& poly, AcDb::FilerType type) {
    host::DwgMemoryFiler filer(type, nullptr);
    poly.AcDbCurve::dwgOutFields(&filer);
    return filer.bytes();
}

// The entity's own record, after the host entity's fields.
Bytes recordOf(const CPolyArc3D& poly, AcDb::FilerType type = AcDb::kFileFiler) {
    host::DwgMemoryFiler filer(type, nullptr);
    EXPECT_EQ(poly.dwgOutFields(&filer), Acad::eOk);
    return Bytes(filer.bytes().begin() + static_cast<std::ptrdiff_t>(hostPart(poly, type).size()),
                 filer.bytes().end());
}

Acad::ErrorStatus readRecord(CPolyArc3D& poly, const Bytes& record, AcDb::FilerType type = AcDb::kFileFiler) {
    Bytes bytes = hostPart(poly, type);
    bytes.insert(bytes.end(), record.begin(), record.end());
    host::DwgMemoryFiler filer(type, nullptr, bytes);
    return poly.dwgInFields(&filer);
}

// A copy of a polyline through the copy filer.
std::unique_ptr<PolyArc3D> copyOf(const CPolyArc3D& poly) {
    host::DwgMemoryFiler filer(AcDb::kCopyFiler, nullptr);
    EXPECT_EQ(poly.dwgOutFields(&filer), Acad::eOk);
    filer.rewind();
    auto copy = std::make_unique<PolyArc3D>();
    EXPECT_EQ(copy->dwgInFields(&filer), Acad::eOk);
    return copy;
}

TEST(DwgRecord, APlainVertexIsItsMarkAndAPoint2d) {
    PolyArc3D poly;
    append(poly, {1.5, 2.5, 0});
    EXPECT_EQ(recordOf(poly), RecordBytes().header().i8(1).d(1.5).d(2.5).i8(0).bytes);
}

TEST(DwgRecord, EachAttributeAnnouncesItsItem) {
    PolyArc3D poly;
    append(poly, {1, 2, 3}, {.bulge = 0.5});
    append(poly, {1, 2, 0}, {.tef2 = 3});
    append(poly, {1, 2, 0}, {.i39 = 150000});
    append(poly, {1, 2, 0}, {.tag = -5});
    append(poly, {1, 2, 0}, {.flags = 0x0102, .tef1 = 4});
    const Bytes expected = RecordBytes()
                               .header()
                               .i8(1 | 2 | 4)
                               .d(1)
                               .d(2)
                               .d(3)
                               .d(0.5)
                               .i8(1 | 8)
                               .d(1)
                               .d(2)
                               .i32(0x03000000)
                               .i8(1 | 16)
                               .d(1)
                               .d(2)
                               .i32(150000)
                               .i32(0)
                               .i8(1 | 32)
                               .d(1)
                               .d(2)
                               .i32(-5)
                               .i8(1 | 8)
                               .d(1)
                               .d(2)
                               .i32(0x00040102)
                               .i8(0)
                               .bytes;
    EXPECT_EQ(recordOf(poly), expected);
}

TEST(DwgRecord, EveryFieldRoundTrips) {
    PolyArc3D poly;
    poly_test::fillRich(poly);
    poly_test::expectSamePolyline(poly, *copyOf(poly));
}

TEST(DwgRecord, TagsKeepTheirLowHalfZeroExtended) {
    PolyArc3D poly;
    append(poly, {0, 0, 0}, {.tag = -5});
    append(poly, {0, 0, 0}, {.tag = 0x123456789LL});
    append(poly, {0, 0, 0}, {.tag = 0xFFFFFFFFLL});
    append(poly, {0, 0, 0}, {.tag = 0x7FFFFFFF});
    const auto copy = copyOf(poly);
    EXPECT_EQ(std::int64_t(copy->H(0)->tag), 0xFFFFFFFBLL);
    EXPECT_EQ(std::int64_t(copy->H(1)->tag), 0x23456789);
    EXPECT_EQ(std::int64_t(copy->H(2)->tag), 4294967295LL);
    EXPECT_EQ(std::int64_t(copy->H(3)->tag), 0x7FFFFFFF);
}

TEST(DwgRecord, ARecordWithoutANormalIsInTheWorldSystem) {
    PolyArc3D world;
    appendAll(world, {{1, 2, 3}, {4, 5, 6}});
    PolyArc3D tilted;
    poly_test::fillRich(tilted);
    ASSERT_EQ(readRecord(tilted, recordOf(world)), Acad::eOk);
    EXPECT_EQ(tilted.normalMatrix(), nullptr);
    EXPECT_EQ(CPoint3d(tilted.T()->pt), CPoint3d(4, 5, 6));
}

TEST(DwgRecord, OlderVersionsAreRead) {
    PolyArc3D poly;
    poly_test::fillRich(poly); // width 0.125 and a normal, which versions before 3 and 5 do not carry
    const Bytes v2 = RecordBytes()
                         .i8(2)
                         .i16(1)
                         .i16(3)
                         .d(4.5)
                         .d(0.25)
                         .i8(1 | 2 | 4)
                         .d(1)
                         .d(2)
                         .d(3)
                         .d(0.5)
                         .i8(1)
                         .d(7)
                         .d(8)
                         .i8(0)
                         .bytes;
    ASSERT_EQ(readRecord(poly, v2), Acad::eOk);
    EXPECT_EQ(poly.f70(), 1);
    EXPECT_EQ(poly.f71(), 3);
    EXPECT_EQ(poly.f39(), 4.5);
    EXPECT_EQ(poly.f43(), 0.25);
    EXPECT_EQ(poly.f42(), 0.125);
    EXPECT_EQ(poly.normalMatrix(), nullptr);
    ASSERT_EQ(poly.GetCount(), 2);
    EXPECT_EQ(CPoint3d(poly.H()->pt), CPoint3d(1, 2, 3));
    EXPECT_EQ(double(poly.H()->bulge), 0.5);
    EXPECT_EQ(CPoint3d(poly.T()->pt), CPoint3d(7, 8, 0));

    const Bytes v3 =
        RecordBytes().i8(3).i16(0).i16(0).d(0).d(0).d(9.5).i8(1 | 32).d(1).d(2).i32(-2).i8(0).bytes;
    ASSERT_EQ(readRecord(poly, v3), Acad::eOk);
    EXPECT_EQ(poly.f42(), 9.5);
    EXPECT_EQ(std::int64_t(poly.H()->tag), 0xFFFFFFFELL);

    const Bytes v4 = RecordBytes().i8(4).i16(0).i16(0).d(0).d(0).d(0).i8(1 | 2).d(1).d(2).d(3).i8(0).bytes;
    ASSERT_EQ(readRecord(poly, v4), Acad::eOk);
    EXPECT_EQ(CPoint3d(poly.H()->pt), CPoint3d(1, 2, 3));
}

TEST(DwgRecord, VersionZeroLeavesTheEntityAsItWas) {
    PolyArc3D poly, reference;
    poly_test::fillRich(poly);
    poly_test::fillRich(reference);
    ASSERT_EQ(readRecord(poly, RecordBytes().i8(0).bytes), Acad::eOk);
    poly_test::expectSamePolyline(poly, reference);
}

TEST(DwgRecord, DamagedRecordsAreRefusedAndLeaveTheEntityAsItWas) {
    testing_support::RecordingScreens screens;
    screens.global.open = true;
    const Bytes good = RecordBytes().header(1).i8(1 | 2).d(1).d(2).d(3).i8(1).d(4).d(5).i8(0).bytes;
    struct Damage {
        const char* what;
        Bytes record;
    };
    const Damage damages[] = {
        {"inconnue", RecordBytes().i8(6).bytes},
        {"inconnue", RecordBytes().i8(-1).bytes},
        {"en-tete", RecordBytes().i8(5).i16(1).bytes},
        {"tronques", Bytes(good.begin(), good.end() - 5)},
        {"tronques", Bytes(good.begin(), good.end() - 1)}, // vertices that stop before the end byte
        {"endommage", RecordBytes().header().i8(2).d(1).d(2).d(3).i8(0).bytes},
        {"endommage", RecordBytes().header().i8(1 | 64).d(1).d(2).i8(0).bytes},
        {"absente", Bytes()},
    };
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.what);
        PolyArc3D poly, reference;
        poly_test::fillRich(poly);
        poly_test::fillRich(reference);
        screens.global.printed.clear();
        EXPECT_NE(readRecord(poly, damage.record), Acad::eOk);
        poly_test::expectSamePolyline(poly, reference);
        EXPECT_NE(screens.global.printed.find("CPolyArc3D::dwgInFields()"), std::string::npos);
        EXPECT_NE(screens.global.printed.find(damage.what), std::string::npos);
    }
}

TEST(DwgRecord, AFailureOfTheHostFieldsIsPassedOn) {
    PolyArc3D poly, reference;
    poly_test::fillRich(poly);
    poly_test::fillRich(reference);
    host::DwgMemoryFiler filer(AcDb::kFileFiler, nullptr, Bytes{1, 2, 3});
    EXPECT_NE(poly.dwgInFields(&filer), Acad::eOk);
    poly_test::expectSamePolyline(poly, reference);
}

TEST(DwgRecord, AHeaderOnlyCopyServesOneCopyInItsScopeOnly) {
    PolyArc3D poly;
    poly_test::fillRich(poly);
    const std::size_t header = RecordBytes().header().bytes.size() + 24; // and the normal
    {
        CPolyArc3D::HeaderOnlyCopy scope;
        // Files and undo images never lose their vertices.
        EXPECT_GT(recordOf(poly, AcDb::kFileFiler).size(), header + 1);
        EXPECT_GT(recordOf(poly, AcDb::kUndoFiler).size(), header + 1);
        const auto piece = copyOf(poly);
        EXPECT_EQ(piece->GetCount(), 0);
        EXPECT_EQ(piece->f70(), 9);
        EXPECT_TRUE(piece->Snormal().isEqualTo(poly.Snormal()));
        EXPECT_EQ(copyOf(poly)->GetCount(), 4);
    }
    {
        CPolyArc3D::HeaderOnlyCopy unused; // a scope whose copy never happens leaks nothing
    }
    EXPECT_EQ(copyOf(poly)->GetCount(), 4);
    EXPECT_EQ(recordOf(poly, AcDb::kCopyFiler).size(), recordOf(poly).size());
}

// A polyline of the working drawing, closed; its id.
AcDbObjectId addToDrawing(AcDbDatabase* db, CPolyArc3D* poly) {
    AcDbObjectId id;
    EXPECT_EQ(db->addAcDbObject(id, poly), Acad::eOk);
    poly->close();
    return id;
}

TEST(DwgRecord, OnlyAResidentEntityReadFromAFileWithoutVerticesErasesItself) {
    poly_test::RegisteredClasses classes;
    host::test::WorkingDatabase working;
    PolyArc3D empty;
    const Bytes record = recordOf(empty);
    for (AcDb::FilerType type : {AcDb::kFileFiler, AcDb::kCopyFiler, AcDb::kUndoFiler}) {
        auto* poly = new PolyArc3D;
        appendAll(*poly, {{0, 0, 0}, {1, 1, 1}});
        const AcDbObjectId id = addToDrawing(working.db.get(), poly);
        CPolyArc3D* open = nullptr;
        ASSERT_EQ(acdbOpenObject(open, id, AcDb::kForWrite), Acad::eOk);
        EXPECT_EQ(readRecord(*open, record, type), Acad::eOk);
        EXPECT_EQ(open->isErased(), type == AcDb::kFileFiler) << type;
        open->close();
    }
    PolyArc3D outside;
    appendAll(outside, {{0, 0, 0}});
    EXPECT_EQ(readRecord(outside, record), Acad::eOk);
    EXPECT_EQ(outside.GetCount(), 0);
}

// A polyline with every attribute in the working drawing, closed, and a copy of it as it was added.
struct DwgRecordUndo : ::testing::Test {
    DwgRecordUndo() {
        auto* poly = new PolyArc3D;
        poly_test::fillRich(*poly);
        reference.copyVertexFrom(poly);
        id = addToDrawing(working.db.get(), poly);
    }
    void expectAsAdded() const {
        CPolyArc3D* restored = nullptr;
        ASSERT_EQ(acdbOpenObject(restored, id, AcDb::kForRead), Acad::eOk);
        poly_test::expectSamePolyline(*restored, reference);
        restored->close();
    }
    poly_test::RegisteredClasses classes;
    host::test::WorkingDatabase working;
    PolyArc3D reference;
    AcDbObjectId id;
};

TEST_F(DwgRecordUndo, RestoresEveryVertexAttributeAndTheSystem) {
    working.db->beginUndoGroup();
    CPolyArc3D* edited = nullptr;
    ASSERT_EQ(acdbOpenObject(edited, id, AcDb::kForWrite), Acad::eOk);
    edited->H(1)->tef1 = 9;
    edited->H(1)->i39 = 1;
    edited->D(edited->H(2), 0);
    append(*edited, {5, 5, 5}, {.tag = 77});
    edited->setSNormal(AcGeVector3d(0, 0, 1), 1);
    edited->f70(0);
    edited->f42(3);
    edited->close();
    working.db->endUndoGroup();
    ASSERT_EQ(working.db->undoLastGroup(), Acad::eOk);
    expectAsAdded();
}

// Appends and inserts in one open, each vertex a copy of an existing one or cleared; answers how many.
int addManyVertices(CPolyArc3D& poly) {
    constexpr int kAdded = 3000;
    for (int i = 0; i < kAdded; ++i) {
        P_Vertex* v = i % 3 == 0 ? poly.I(poly.H(1), poly.T()) : poly.A(i % 3 == 1 ? nullptr : poly.H(2));
        v->pt = CPoint3d(i, -i, 0.5 * i);
    }
    return kAdded;
}

TEST_F(DwgRecordUndo, AfterManyAdditionsInOneOpenRestoresTheEntityAndLaterChangesAreRecordedToo) {
    const auto editInGroup = [&] {
        working.db->beginUndoGroup();
        CPolyArc3D* edited = nullptr;
        ASSERT_EQ(acdbOpenObject(edited, id, AcDb::kForWrite), Acad::eOk);
        const int added = addManyVertices(*edited);
        EXPECT_EQ(edited->GetCount(), reference.GetCount() + added);
        edited->close();
        working.db->endUndoGroup();
    };
    editInGroup();
    ASSERT_EQ(working.db->undoLastGroup(), Acad::eOk);
    expectAsAdded();
    // After a save and an undo, the next open's changes are recorded again.
    EXPECT_FALSE(host::writeDxf(*working.db).empty());
    editInGroup();
    ASSERT_EQ(working.db->undoLastGroup(), Acad::eOk);
    expectAsAdded();
    EXPECT_EQ(working.db->undoLastGroup(), Acad::eNotApplicable);
}

TEST(DwgRecord, UndoingANewSystemRestoresTheWorldPoints) {
    poly_test::RegisteredClasses classes;
    host::test::WorkingDatabase working;
    auto* poly = new PolyArc3D;
    appendAll(*poly, {{10, 20, 30}, {40, 50, 60}});
    const AcDbObjectId id = addToDrawing(working.db.get(), poly);
    working.db->beginUndoGroup();
    CPolyArc3D* edited = nullptr;
    ASSERT_EQ(acdbOpenObject(edited, id, AcDb::kForWrite), Acad::eOk);
    edited->setSNormal(AcGeVector3d(0, 1, 0), 1);
    edited->close();
    working.db->endUndoGroup();
    ASSERT_EQ(working.db->undoLastGroup(), Acad::eOk);
    CPolyArc3D* restored = nullptr;
    ASSERT_EQ(acdbOpenObject(restored, id, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(restored->normalMatrix(), nullptr);
    EXPECT_EQ(CPoint3d(restored->H()->pt), CPoint3d(10, 20, 30));
    restored->close();
}

} // namespace
