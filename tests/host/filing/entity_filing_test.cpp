// Standard entities filed through the binary filer and through DXF files, and what is read back.
#include <gtest/gtest.h>

#include <algorithm>
#include <numbers>
#include <optional>
#include <utility>

#include "host/db/dictionary.h"
#include "host/db/symbol_tables.h"
#include "host/editor/acut.h"
#include "host/entities/block_reference.h"
#include "host/entities/circle_arc.h"
#include "host/entities/hatch.h"
#include "host/entities/line.h"
#include "host/entities/lw_polyline.h"
#include "host/entities/point_ray_face.h"
#include "host/entities/polylines.h"
#include "host/entities/text.h"
#include "host/filing/drawing_file.h"
#include "host/filing/dwg_filer.h"
#include "host/filing/dxf_file.h"
#include "host/filing/file_bytes.h"
#include "host/filing/text_codec.h"
#include "tests/host/host_test_support.h"
#include "tests/host/sample_drawing.h"

using host::test::WorkingDatabase;

namespace {

std::vector<AcDbObjectId> modelSpaceEntities(AcDbDatabase& db) {
    AcDbBlockTableRecord* model = nullptr;
    EXPECT_EQ(acdbOpenObject(model, db.modelSpaceId(), AcDb::kForRead), Acad::eOk);
    std::vector<AcDbObjectId> ids = model->entityIds();
    model->close();
    return ids;
}

std::vector<std::uint8_t> filed(const AcDbObject* object, AcDb::FilerType type) {
    host::DwgMemoryFiler filer(type, object->database());
    EXPECT_EQ(object->dwgOut(&filer), Acad::eOk);
    return filer.bytes();
}

// The entity of that class in model space, opened for read (the caller closes it).
template <typename T> T* openFirst(AcDbDatabase& db) {
    for (AcDbObjectId id : modelSpaceEntities(db)) {
        T* entity = nullptr;
        if (acdbOpenObject(entity, id, AcDb::kForRead) == Acad::eOk) return entity;
    }
    return nullptr;
}

// The normal of the entity of that class in model space.
template <typename T> AcGeVector3d firstNormal(AcDbDatabase& db) {
    T* entity = openFirst<T>(db);
    EXPECT_NE(entity, nullptr) << host::toUtf8(T::desc()->name());
    if (!entity) return {};
    const AcGeVector3d normal = entity->normal();
    entity->close();
    return normal;
}

struct Sample : WorkingDatabase {
    Sample() { host::test::buildSampleDrawing(*db); }
};

} // namespace

TEST(BinaryFiling, EveryStandardEntityRoundTripsByteForByte) {
    Sample s;
    std::set<std::wstring> classes;
    for (AcDbObjectId id : modelSpaceEntities(*s.db)) {
        AcDbEntity* entity = nullptr;
        ASSERT_EQ(acdbOpenObject(entity, id, AcDb::kForRead), Acad::eOk);
        classes.insert(entity->isA()->name());
        for (AcDb::FilerType type : {AcDb::kFileFiler, AcDb::kUndoFiler, AcDb::kCopyFiler}) {
            std::vector<std::uint8_t> first = filed(entity, type);
            AcDbObject* copy = AcDbObject::cast(entity->isA()->create());
            host::DwgMemoryFiler in(type, s.db.get(), first);
            ASSERT_EQ(copy->dwgIn(&in), Acad::eOk) << entity->isA()->name();
            EXPECT_TRUE(in.atEnd()) << entity->isA()->name() << " left bytes unread";
            std::vector<std::uint8_t> second = filed(copy, type);
            auto differ = std::mismatch(first.begin(), first.end(), second.begin(), second.end());
            EXPECT_TRUE(second == first) << host::toUtf8(entity->isA()->name()) << " filer type " << type
                                         << " differs at byte " << (differ.first - first.begin());
            delete copy;
        }
        entity->close();
    }
    EXPECT_EQ(classes.size(), 14u) << "one of each standard entity in the sample";
}

TEST(BinaryFiling, CopiesOfPolylinesCarryTheirVertices) {
    Sample s;
    AcDb2dPolyline* poly = openFirst<AcDb2dPolyline>(*s.db);
    ASSERT_NE(poly, nullptr);
    auto* copy = AcDb2dPolyline::cast(poly->clone());
    poly->close();
    ASSERT_NE(copy, nullptr);
    AcDbObjectIterator* it = copy->vertexIterator();
    int n = 0;
    double bulge = 0;
    for (; !it->done(); it->step(), ++n)
        if (n == 1) bulge = AcDb2dVertex::cast(it->entity())->bulge();
    delete it;
    EXPECT_EQ(n, 3);
    EXPECT_DOUBLE_EQ(bulge, -0.3);
    delete copy;
}

TEST(DxfFiles, ADrawingReadBackIsWrittenGroupForGroup) {
    Sample s;
    std::string first = host::writeDxf(*s.db);
    AcDbDatabase back(false);
    ASSERT_EQ(host::readDxf(back, first), Acad::eOk) << back.lastFileError();
    EXPECT_EQ(host::writeDxf(back), first);
}

// The pattern's lines of a hatch another program wrote go through the binary drawing and DXF unchanged.
TEST(DxfFiles, AHatchKeepsItsPatternLines) {
    const std::optional<std::string> file =
        host::readFileBytes(host::fromUtf8(EXAMPLES "/standard_entities.dxf"));
    ASSERT_TRUE(file);
    AcDbDatabase read(false), binary(false), again(false);
    ASSERT_EQ(host::readDrawingContent(read, *file), Acad::eOk) << read.lastFileError();
    std::string bytes;
    ASSERT_EQ(host::writeDrawing(read, bytes), Acad::eOk);
    ASSERT_EQ(host::readDrawingContent(binary, bytes), Acad::eOk) << binary.lastFileError();
    ASSERT_EQ(host::readDxf(again, host::writeDxf(binary)), Acad::eOk) << again.lastFileError();
    acdbHostApplicationServices()->setWorkingDatabase(&again);
    AcDbHatch* hatch = openFirst<AcDbHatch>(again);
    ASSERT_NE(hatch, nullptr);
    ASSERT_EQ(hatch->numPatternDefinitions(), 1);
    double angle = 0, baseX = 1, baseY = 1, offsetX = 0, offsetY = 0;
    AcGeDoubleArray dashes;
    ASSERT_EQ(hatch->getPatternDefinitionAt(0, angle, baseX, baseY, offsetX, offsetY, dashes), Acad::eOk);
    hatch->close();
    acdbHostApplicationServices()->setWorkingDatabase(nullptr);
    EXPECT_NEAR(angle, std::numbers::pi / 4, 1e-12);
    EXPECT_EQ(baseX, 0);
    EXPECT_EQ(baseY, 0);
    EXPECT_DOUBLE_EQ(offsetX, -1.1225320152);
    EXPECT_DOUBLE_EQ(offsetY, 1.1225320152);
    EXPECT_EQ(dashes.length(), 0);
}

// The counts a hatch's groups announce (loops, vertices and edges, knots, control and fit points, sources,
// pattern lines and dashes) are not trusted: too many read the items that are there, invent none and
// allocate nothing from the count.
TEST(DxfFiles, AHatchReadsTheItemsThereWhateverItsCountsSay) {
    Sample s;
    const std::string text = host::writeDxf(*s.db);
    const std::size_t begin = text.find("  0\nHATCH\n");
    ASSERT_NE(begin, std::string::npos);
    const std::size_t end = text.find("  0\n", begin + 1);
    // Counts of 32 bits, and of 16 (pattern lines and dashes).
    for (const auto& [count, small] : {std::pair{"5", "5"}, {"10000000", "32767"}, {"2000000000", "32767"}}) {
        std::string lied = text.substr(0, begin);
        for (std::size_t at = begin; at < end;) {
            const std::size_t lineEnd = text.find('\n', at);
            const std::string code = text.substr(at, lineEnd - at);
            const std::size_t valueEnd = text.find('\n', lineEnd + 1);
            const bool counted =
                code == " 91" || code == " 93" || code == " 95" || code == " 96" || code == " 97";
            const bool smallCount = code == " 78" || code == " 79";
            lied += code + "\n" +
                    (counted      ? count
                     : smallCount ? small
                                  : text.substr(lineEnd + 1, valueEnd - lineEnd - 1)) +
                    "\n";
            at = valueEnd + 1;
        }
        lied += text.substr(end);
        ASSERT_NE(lied, text);
        AcDbDatabase back(false);
        ASSERT_EQ(host::readDxf(back, lied), Acad::eOk) << count << ": " << back.lastFileError();
        EXPECT_EQ(host::writeDxf(back), text) << count;
    }
}

TEST(DxfFiles, ValuesSurviveTheFile) {
    Sample s;
    AcDbDatabase back(false);
    ASSERT_EQ(host::readDxf(back, host::writeDxf(*s.db)), Acad::eOk) << back.lastFileError();
    acdbHostApplicationServices()->setWorkingDatabase(&back);

    AcDbPolyline* lw = openFirst<AcDbPolyline>(back);
    ASSERT_NE(lw, nullptr);
    double bulge = 0, start = 0, end = 0;
    lw->getBulgeAt(0, bulge);
    lw->getWidthsAt(2, start, end);
    EXPECT_EQ(lw->numVerts(), 3u);
    EXPECT_TRUE(lw->isClosed());
    EXPECT_DOUBLE_EQ(bulge, 0.5);
    EXPECT_DOUBLE_EQ(end, 0.4);
    EXPECT_DOUBLE_EQ(lw->elevation(), 3);
    EXPECT_STREQ(lw->layer(), L"Bâti");
    lw->close();

    AcDbArc* arc = openFirst<AcDbArc>(back);
    ASSERT_NE(arc, nullptr);
    EXPECT_NEAR(arc->startAngle(), 0.25, 1e-12);
    EXPECT_NEAR(arc->endAngle(), 2.5, 1e-12);
    arc->close();

    AcDbText* text = openFirst<AcDbText>(back);
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text->textStringConst(), L"Borne n°12");
    text->close();

    AcDbHatch* hatch = openFirst<AcDbHatch>(back);
    ASSERT_NE(hatch, nullptr);
    EXPECT_EQ(hatch->numLoops(), 3);
    EXPECT_STREQ(hatch->patternName(), L"ANSI31");
    EXPECT_NEAR(hatch->patternAngle(), 0.5, 1e-12);
    AcGeVoidPointerArray edges;
    AcGeIntArray types;
    Adesk::Int32 loopType = 0;
    ASSERT_EQ(hatch->getLoopAt(1, loopType, edges, types), Acad::eOk);
    ASSERT_EQ(types.length(), 1);
    EXPECT_EQ(types[0], AcDbHatch::kCirArc);
    EXPECT_DOUBLE_EQ(static_cast<AcGeCircArc2d*>(edges[0])->radius(), 2);
    delete static_cast<AcGeCurve2d*>(edges[0]);
    ASSERT_EQ(hatch->getLoopAt(2, loopType, edges, types), Acad::eOk);
    ASSERT_EQ(types.length(), 2);
    EXPECT_EQ(types[0], AcDbHatch::kSpline);
    auto* wave = static_cast<AcGeNurbCurve2d*>(edges[0]);
    EXPECT_TRUE(wave->evalPoint(0.5).isEqualTo(AcGePoint2d(16, 33))) << "the middle of the quadratic arch";
    for (void* edge : edges)
        delete static_cast<AcGeCurve2d*>(edge);
    hatch->close();

    AcDbBlockReference* insert = openFirst<AcDbBlockReference>(back);
    ASSERT_NE(insert, nullptr);
    EXPECT_EQ(insert->blockTableRecord(), back.blockId(L"arbre"));
    EXPECT_DOUBLE_EQ(insert->scaleFactors().sx, 2);
    insert->close();

    AcDbLine* line = openFirst<AcDbLine>(back);
    ASSERT_NE(line, nullptr);
    host::test::Chain xdata(line->xData(L"ZORTA"));
    ASSERT_NE(xdata.rb, nullptr);
    ASSERT_NE(xdata.rb->rbnext, nullptr);
    EXPECT_STREQ(xdata.rb->rbnext->resval.rstring, L"*H=ANSI31,s=2");
    EXPECT_EQ(xdata.rb->rbnext->rbnext->resval.rint, 42);
    line->close();

    AcDbDictionary* named = nullptr;
    ASSERT_EQ(back.getNamedObjectsDictionary(named, AcDb::kForRead), Acad::eOk);
    AcDbObject* zorta = nullptr;
    ASSERT_EQ(named->getAt(L"ZORTA_32", zorta, AcDb::kForRead), Acad::eOk);
    named->close();
    AcDbObjectId recordId;
    ASSERT_EQ(AcDbDictionary::cast(zorta)->getAt(L"ZORTATefColor", recordId), Acad::eOk);
    zorta->close();
    AcDbXrecord* record = nullptr;
    ASSERT_EQ(acdbOpenObject(record, recordId, AcDb::kForRead), Acad::eOk);
    resbuf* chain = nullptr;
    record->rbChain(chain);
    host::test::Chain owner(chain);
    record->close();
    ASSERT_NE(chain, nullptr);
    EXPECT_STREQ(chain->resval.rstring, L"1,2,3,");

    AcDbLayerTableRecord* talus = nullptr;
    AcDbLayerTable* layers = nullptr;
    ASSERT_EQ(back.getLayerTable(layers, AcDb::kForRead), Acad::eOk);
    ASSERT_EQ(layers->getAt(L"Talus", talus, AcDb::kForRead), Acad::eOk);
    layers->close();
    EXPECT_EQ(talus->color().colorIndex(), 1);
    EXPECT_EQ(talus->linetypeObjectId(), back.linetypeId(L"TIRETS"));
    talus->close();
    acdbHostApplicationServices()->setWorkingDatabase(s.db.get());
}

TEST(DxfFiles, MalformedFilesNameTheLineAndLeaveTheDatabaseAlone) {
    Sample s;
    std::string good = host::writeDxf(*s.db);
    AcDbDatabase target;
    AcDbObjectId model = target.modelSpaceId();
    struct Case {
        std::string text;
        std::string expected;
    };
    std::size_t entities = good.find("ENTITIES");
    std::string badCode = good;
    badCode.replace(good.find("\n 10\n", entities), 5, "\nabc\n");
    std::string badValue = good;
    std::size_t x = good.find("\n 10\n", entities) + 5;
    badValue.replace(x, good.find('\n', x) - x, "1.2.3");
    std::string badSection = good;
    badSection.replace(good.find("CLASSES"), 7, "CLASSEZ");
    std::string oddCode = good;
    oddCode.replace(good.find("\n 10\n", entities), 5, "\n 19999\n");
    for (const Case& c :
         {Case{good.substr(0, good.size() / 2), "line"}, Case{badCode, "is not a valid integer"},
          Case{badValue, "is not a valid number"}, Case{badSection, "unknown section CLASSEZ"},
          Case{oddCode, "unknown group code 19999"}, Case{good.substr(0, good.size() - 8), "without EOF"}}) {
        EXPECT_EQ(host::readDxf(target, c.text), Acad::eDxfReadAborted);
        EXPECT_NE(target.lastFileError().find(c.expected), std::string::npos) << target.lastFileError();
        EXPECT_EQ(target.lastFileError().rfind("line ", 0), 0u) << target.lastFileError();
        EXPECT_EQ(target.modelSpaceId(), model);
    }
}

TEST(DxfFiles, ThousandsOfMutatedFilesNeverCrashTheReader) {
    Sample s;
    std::string good = host::writeDxf(*s.db);
    host::test::Random generator(0x9E3779B97F4A7C15ull);
    auto random = [&](std::size_t bound) { return generator.below(bound); };
    int accepted = 0;
    for (int i = 0; i < 10000; ++i) {
        std::string text = good;
        switch (i % 3) {
        case 0: // truncation
            text.resize(random(text.size()));
            break;
        case 1: // flipped bytes
            for (int k = 0; k < 4; ++k)
                text[random(text.size())] ^= static_cast<char>(1 << random(8));
            break;
        default: { // two lines swapped
            std::vector<std::string> lines;
            std::size_t start = 0;
            for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
                lines.push_back(text.substr(start, end - start));
            std::swap(lines[random(lines.size())], lines[random(lines.size())]);
            text.clear();
            for (const std::string& l : lines)
                text += l + "\n";
        }
        }
        AcDbDatabase db(false);
        if (host::readDxf(db, text) == Acad::eOk)
            ++accepted;
        else
            EXPECT_FALSE(db.lastFileError().empty());
    }
    EXPECT_LT(accepted, 10000);
}

TEST(BinaryDrawing, ADrawingThroughTheBinaryFileWritesTheSameDxf) {
    Sample s;
    s.db->setHeaderVariable(L"LIMMAX",
                            host::Group{10, AcGePoint3d(420, 297, 0), host::kDefaultPrecision, true});
    std::string before = host::writeDxf(*s.db);
    host::test::TemporaryFile file(".zdw");
    ASSERT_EQ(s.db->saveAs(file.wide().c_str()), Acad::eOk);
    AcDbDatabase back(false);
    ASSERT_EQ(back.readDwgFile(file.wide().c_str()), Acad::eOk) << back.lastFileError();
    EXPECT_EQ(host::writeDxf(back), before);
}

TEST(DxfFiles, TheRootDictionaryIsOwnedByNothingWhateverTheFileSays) {
    Sample s;
    const std::string good = host::writeDxf(*s.db);
    const std::size_t root = good.find("\n  0\nDICTIONARY\n", good.find("OBJECTS"));
    const std::size_t owner = good.find("\n330\n", root);
    ASSERT_NE(owner, std::string::npos);
    EXPECT_EQ(good.substr(owner, 25), "\n330\n0\n100\nAcDbDictionary") << "as other programs write it";
    for (const std::string& written : {std::string("0"), std::string("None"), std::string()}) {
        SCOPED_TRACE(written);
        std::string text = good;
        text.replace(owner, 6, written.empty() ? "" : "\n330\n" + written);
        AcDbDatabase db(false);
        ASSERT_EQ(host::readDxf(db, text), Acad::eOk) << db.lastFileError();
        AcDbDictionary* dictionary = nullptr;
        ASSERT_EQ(acdbOpenObject(dictionary, db.namedObjectsDictionaryId(), AcDb::kForRead), Acad::eOk);
        EXPECT_TRUE(dictionary->ownerId().isNull());
        dictionary->close();
    }
    // Anywhere else a reference must be a handle.
    std::string text = good;
    const std::size_t entityOwner = good.find("\n330\n", good.find("ENTITIES"));
    text.replace(entityOwner, good.find('\n', entityOwner + 5) - entityOwner, "\n330\nNone");
    AcDbDatabase db(false);
    EXPECT_EQ(host::readDxf(db, text), Acad::eDxfReadAborted);
    EXPECT_NE(db.lastFileError().find("'None' is not a valid handle"), std::string::npos)
        << db.lastFileError();
}

// Objects of classes no loaded module defines are kept as proxies, and the records of every table of the
// reference with all their groups, as they came; a table no drawing has is skipped with a note.
TEST(DxfFiles, EveryTableOfTheReferenceIsKeptAndOthersAreSkippedWithANote) {
    Sample s;
    std::string text = host::writeDxf(*s.db);
    const std::string viewports =
        "  0\nTABLE\n  2\nVPORT\n  5\nF00\n100\nAcDbSymbolTable\n 70\n1\n"
        "  0\nVPORT\n  5\nF01\n330\nF00\n100\nAcDbSymbolTableRecord\n100\nAcDbViewportTableRecord\n"
        "  2\n*Active\n 70\n0\n 10\n0.0\n 20\n0.0\n 40\n12.5\n 70\n3\n361\nF02\n  0\nENDTAB\n";
    text.insert(text.find("  0\nTABLE\n  2\nLTYPE\n"),
                viewports + "  0\nTABLE\n  2\nMADEUP\n  5\nF03\n330\n0\n100\nAcDbSymbolTable\n 70\n1\n"
                            "  0\nMADEUP\n  5\nF04\n330\nF03\n100\nAcDbSymbolTableRecord\n  2\nX\n"
                            "  0\nENDTAB\n");
    const std::size_t objectsEnd = text.find("  0\nENDSEC\n", text.find("OBJECTS"));
    text.insert(objectsEnd, "  0\nMATERIAL\n  5\nF02\n330\nA\n100\nAcDbMaterial\n  1\nGlobal\n");
    host::clearCommandLineTranscript();
    AcDbDatabase db(false);
    ASSERT_EQ(host::readDxf(db, text), Acad::eOk) << db.lastFileError();
    EXPECT_EQ(host::toUtf8(host::commandLineTranscript()),
              "\nNote: not kept from the drawing file: table MADEUP (1)");
    std::string bytes;
    ASSERT_EQ(host::writeDrawing(db, bytes), Acad::eOk);
    AcDbDatabase binary(false);
    ASSERT_EQ(host::readDrawingContent(binary, bytes), Acad::eOk) << binary.lastFileError();
    for (const AcDbDatabase* saved : {&db, &binary})
        EXPECT_NE(host::writeDxf(*saved).find(viewports), std::string::npos) << host::writeDxf(*saved);
    EXPECT_EQ(modelSpaceEntities(db).size(), modelSpaceEntities(*s.db).size());
    EXPECT_NE(host::writeDxf(db).find("  0\nMATERIAL\n  5\nF02\n330\nA\n100\nAcDbMaterial\n  1\nGlobal\n"),
              std::string::npos)
        << "the material written back as it came";
}

TEST(DxfFiles, AFileWithEntitiesAloneIsCompletedIntoADrawing) {
    const std::string minimal =
        "  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n100\nAcDbEntity\n  8\nTalus\n100\nAcDbLine\n"
        " 10\n1.0\n 20\n2.0\n 30\n0.0\n 11\n3.0\n 21\n4.0\n 31\n0.0\n  0\nENDSEC\n  0\nEOF\n";
    AcDbDatabase db(false);
    ASSERT_EQ(host::readDxf(db, minimal), Acad::eOk) << db.lastFileError();
    EXPECT_FALSE(db.layerId(L"0").isNull());
    EXPECT_FALSE(db.namedObjectsDictionaryId().isNull());
    AcDbLine* line = openFirst<AcDbLine>(db);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->endPoint(), AcGePoint3d(3, 4, 0));
    EXPECT_FALSE(line->handle().isNull()) << "a handle is given to an object that came without one";
    line->close();
    AcDbDatabase again(false);
    EXPECT_EQ(host::readDxf(again, host::writeDxf(db)), Acad::eOk) << again.lastFileError();
}

TEST(DxfFiles, NormalsAreReadAsUnitVectorsAndAZeroOneIsLeftOut) {
    const std::string entities =
        "  0\nSECTION\n  2\nENTITIES\n"
        "  0\nLWPOLYLINE\n100\nAcDbEntity\n  8\n0\n100\nAcDbPolyline\n 90\n1\n 70\n0\n"
        " 10\n1.0\n 20\n2.0\n210\n0.0\n220\n0.0\n230\n-2.0\n"
        "  0\nTEXT\n100\nAcDbEntity\n  8\n0\n100\nAcDbText\n 10\n0.0\n 20\n0.0\n 30\n0.0\n 40\n1.0\n"
        "  1\nabc\n210\n0.0\n220\n0.0\n230\n0.0\n100\nAcDbText\n"
        "  0\nLINE\n100\nAcDbEntity\n  8\n0\n100\nAcDbLine\n 10\n0.0\n 20\n0.0\n 30\n0.0\n"
        " 11\n1.0\n 21\n0.0\n 31\n0.0\n210\n0.0\n220\n0.0\n230\n-2.0\n"
        "  0\nPOINT\n100\nAcDbEntity\n  8\n0\n100\nAcDbPoint\n 10\n0.0\n 20\n0.0\n 30\n0.0\n"
        "210\n0.0\n220\n0.0\n230\n0.0\n  0\nENDSEC\n  0\nEOF\n";
    AcDbDatabase db(false);
    ASSERT_EQ(host::readDxf(db, entities), Acad::eOk) << db.lastFileError();
    EXPECT_EQ(firstNormal<AcDbPolyline>(db), AcGeVector3d(0, 0, -1));
    EXPECT_EQ(firstNormal<AcDbText>(db), AcGeVector3d::kZAxis);
    EXPECT_EQ(firstNormal<AcDbLine>(db), AcGeVector3d(0, 0, -1));
    EXPECT_EQ(firstNormal<AcDbPoint>(db), AcGeVector3d::kZAxis);
}

// A binary file's normal of zero length: refused, naming it, as for every entity lying in a plane.
TEST(BinaryFiling, LinesAndPointsRefuseANormalWithoutADirection) {
    AcDbLine line(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 2, 3));
    AcDbPoint point(AcGePoint3d(1, 2, 3));
    // Where the normal's three doubles stand, counted back from the end of each one's fields.
    for (auto [entity, fromEnd] : {std::pair<AcDbEntity*, long>{&line, 24}, {&point, 40}}) {
        host::DwgMemoryFiler out(AcDb::kFileFiler, nullptr);
        ASSERT_EQ(entity->dwgOutFields(&out), Acad::eOk);
        std::vector<std::uint8_t> bytes = out.bytes();
        std::fill_n(bytes.end() - fromEnd, 24, std::uint8_t(0));
        AcDbEntity* read = AcDbEntity::cast(entity->isA()->create());
        host::DwgMemoryFiler in(AcDb::kFileFiler, nullptr, bytes);
        EXPECT_EQ(read->dwgInFields(&in), Acad::eInvalidInput) << host::toUtf8(entity->isA()->name());
        EXPECT_NE(in.fault().find("a normal without a direction"), std::string::npos) << in.fault();
        delete read;
    }
}

TEST(DxfFiles, LightweightWidthsAndVertexCountsReadAsTheFileHasThem) {
    // A count far above the vertices that follow, a constant width given after two of them, a vertex of
    // its own widths, and a value that does not parse deep inside the polyline.
    auto file = [](const std::string& lastY) {
        return "  0\nSECTION\n  2\nENTITIES\n"
               "  0\nLWPOLYLINE\n100\nAcDbEntity\n  8\n0\n100\nAcDbPolyline\n 90\n2000000000\n 70\n0\n"
               " 10\n0.0\n 20\n0.0\n 10\n1.0\n 20\n0.0\n 43\n2.0\n 10\n2.0\n 20\n0.0\n"
               " 10\n3.0\n 20\n0.0\n 40\n0.5\n 41\n0.75\n 10\n4.0\n 20\n" +
               lastY + "\n  0\nENDSEC\n  0\nEOF\n";
    };
    AcDbDatabase db(false);
    ASSERT_EQ(host::readDxf(db, file("0.0")), Acad::eOk) << db.lastFileError();
    AcDbPolyline* lw = openFirst<AcDbPolyline>(db);
    ASSERT_NE(lw, nullptr);
    EXPECT_EQ(lw->numVerts(), 5u);
    const double expected[][2] = {{0, 0}, {0, 0}, {2, 2}, {0.5, 0.75}, {2, 2}};
    for (unsigned int i = 0; i < 5; ++i) {
        double start = -1, end = -1;
        lw->getWidthsAt(i, start, end);
        EXPECT_EQ(start, expected[i][0]) << i;
        EXPECT_EQ(end, expected[i][1]) << i;
    }
    double constant = 0;
    EXPECT_EQ(lw->getConstantWidth(constant), Acad::eNotApplicable);
    lw->close();

    // Written back, the widths that differ from the constant one go with their vertices.
    const std::string saved = host::writeDxf(db);
    AcDbDatabase again(false);
    ASSERT_EQ(host::readDxf(again, saved), Acad::eOk) << again.lastFileError();
    EXPECT_EQ(host::writeDxf(again), saved);
    EXPECT_NE(saved.find(" 10\n1.0\n 20\n0.0\n 40\n0.0\n 41\n0.0\n"), std::string::npos);
    EXPECT_NE(saved.find(" 10\n2.0\n 20\n0.0\n 10\n3.0\n"), std::string::npos) << "the constant width alone";

    AcDbDatabase refused(false);
    EXPECT_EQ(host::readDxf(refused, file("0,5")), Acad::eDxfReadAborted);
    EXPECT_EQ(refused.lastFileError(), "line 42: '0,5' is not a valid number");
}

TEST(BinaryDrawing, MutatedFilesNeverCrashTheReader) {
    Sample s;
    host::test::TemporaryFile file(".zdw");
    ASSERT_EQ(s.db->saveAs(file.wide().c_str()), Acad::eOk);
    std::string good = *host::readFileBytes(file.wide());
    host::test::Random generator(0x2545F4914F6CDD1Dull);
    auto random = [&](std::size_t bound) { return generator.below(bound); };
    for (int i = 0; i < 2000; ++i) {
        std::string bytes = good;
        if (i % 2) {
            bytes.resize(random(bytes.size()));
        } else {
            for (int k = 0; k < 3; ++k)
                bytes[random(bytes.size())] ^= static_cast<char>(1 << random(8));
        }
        ASSERT_TRUE(host::writeFileBytes(file.wide(), bytes));
        AcDbDatabase db(false);
        if (db.readDwgFile(file.wide().c_str()) != Acad::eOk) {
            EXPECT_FALSE(db.lastFileError().empty());
        }
    }
}
