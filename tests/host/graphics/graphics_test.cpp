// What the standard entities draw, and the SVG picture of a drawing.
#include <gtest/gtest.h>

#include <array>
#include <charconv>
#include <map>
#include <set>
#include <tinyxml.h>

#include "host/db/symbol_tables.h"
#include "host/entities/line.h"
#include "host/filing/text_codec.h"
#include "host/graphics/gr_draw.h"
#include "host/graphics/graphics_recorder.h"
#include "host/graphics/svg_dashes.h"
#include "host/graphics/svg_writer.h"
#include "tests/host/host_test_support.h"
#include "tests/host/sample_drawing.h"

using host::PrimitiveKind;

namespace {

struct Recorded : host::test::WorkingDatabase {
    Recorded() {
        host::test::buildSampleDrawing(*db);
        recorder.recordBlock(db.get());
    }
    // The primitives the entities of a class draw, in drawing order (valid until the next call).
    std::vector<const host::Primitive*> of(const wchar_t* className) {
        std::vector<const host::Primitive*> found;
        single.clear();
        AcDbBlockTableRecord* model = nullptr;
        acdbOpenObject(model, db->modelSpaceId(), AcDb::kForRead);
        std::vector<AcDbObjectId> ids = model->entityIds();
        model->close();
        for (AcDbObjectId id : ids) {
            AcDbEntity* entity = nullptr;
            acdbOpenObject(entity, id, AcDb::kForRead);
            if (std::wstring(entity->isA()->name()) == className) single.recordEntity(entity);
            entity->close();
        }
        for (const host::Primitive& p : single.primitives())
            found.push_back(&p);
        return found;
    }
    host::GraphicsRecorder recorder;
    host::GraphicsRecorder single;
};

} // namespace

TEST(WorldDraw, EachStandardEntityDrawsItsPrimitives) {
    struct Expected {
        const wchar_t* cls;
        PrimitiveKind kind;
        std::size_t count;
    };
    for (const Expected& e :
         {Expected{L"AcDbLine", PrimitiveKind::Polyline, 1}, Expected{L"AcDbArc", PrimitiveKind::Arc, 1},
          Expected{L"AcDbCircle", PrimitiveKind::Circle, 1},
          Expected{L"AcDbPoint", PrimitiveKind::Polyline, 1},
          Expected{L"AcDbPolyline", PrimitiveKind::Polyline, 1},
          Expected{L"AcDb2dPolyline", PrimitiveKind::Polyline, 1},
          Expected{L"AcDb3dPolyline", PrimitiveKind::Polyline, 1},
          Expected{L"AcDbRay", PrimitiveKind::Ray, 1}, Expected{L"AcDbFace", PrimitiveKind::Polyline, 4},
          Expected{L"AcDbEllipse", PrimitiveKind::Polyline, 1},
          Expected{L"AcDbSpline", PrimitiveKind::Polyline, 1},
          // A pattern whose lines the host does not know shows its loops.
          Expected{L"AcDbHatch", PrimitiveKind::Polyline, 3},
          Expected{L"AcDbText", PrimitiveKind::Text, 1}}) {
        Recorded r;
        auto found = r.of(e.cls);
        ASSERT_EQ(found.size(), e.count) << host::toUtf8(e.cls);
        for (const host::Primitive* p : found)
            EXPECT_EQ(p->kind, e.kind) << host::toUtf8(e.cls);
    }
}

TEST(WorldDraw, GeometryLandsInWorldCoordinates) {
    Recorded r;
    auto line = r.of(L"AcDbLine");
    ASSERT_EQ(line[0]->points.size(), 2u);
    EXPECT_EQ(line[0]->points[1], AcGePoint3d(10, 5, 1.5));
    EXPECT_EQ(line[0]->color, 1) << "by layer: the colour of Talus";
    auto point = r.of(L"AcDbPoint");
    EXPECT_EQ(point[0]->points[0], AcGePoint3d(5, -5, 12.25));
    auto lw = r.of(L"AcDbPolyline");
    EXPECT_DOUBLE_EQ(lw[0]->points[0].z, 3) << "at its elevation";
    EXPECT_EQ(lw[0]->points.front(), lw[0]->points.back()) << "closed";
    auto circle = r.of(L"AcDbCircle");
    EXPECT_EQ(circle[0]->center, AcGePoint3d(30, 0, 2));
    EXPECT_DOUBLE_EQ(circle[0]->radius, 3);
    auto text = r.of(L"AcDbText");
    EXPECT_EQ(text[0]->text, L"Borne n°12");
    EXPECT_DOUBLE_EQ(text[0]->height, 2.5);
}

TEST(WorldDraw, BlockReferencesDrawTheirBlockThroughTheirTransform) {
    Recorded r;
    auto insert = r.of(L"AcDbBlockReference");
    ASSERT_EQ(insert.size(), 2u);
    EXPECT_EQ(insert[0]->kind, PrimitiveKind::Circle);
    EXPECT_EQ(insert[0]->depth, 1);
    EXPECT_DOUBLE_EQ(insert[0]->radius, 1) << "scaled by 2";
    EXPECT_TRUE(insert[0]->center.isEqualTo(AcGePoint3d(20, 50, 0), AcGeTol()))
        << "the base point lands on the position";
}

TEST(WorldDraw, SegmentMarkersCountFromTheBase) {
    host::GraphicsRecorder recorder;
    AcGePoint3d points[4] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    recorder.setSelectionMarker(0);
    recorder.polyline(4, points, nullptr, 1);
    ASSERT_EQ(recorder.primitives().size(), 3u);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(recorder.primitives()[k].traits.marker, k + 1);
        EXPECT_EQ(recorder.primitives()[k].points[0], points[k]);
    }
    recorder.setSelectionMarker(7);
    recorder.polygon(3, points);
    EXPECT_EQ(recorder.primitives().back().traits.marker, 7);
}

TEST(GrDraw, VectorsGoToTheirOwnLog) {
    host::clearGrDrawLog();
    ads_point a = {0, 0, 0}, b = {1, 2, 3};
    EXPECT_EQ(acedGrDraw(a, b, 3, 0), RTNORM);
    EXPECT_EQ(acedGrDraw(nullptr, b, 3, 0), RTERROR);
    ASSERT_EQ(host::grDrawLog().size(), 1u);
    EXPECT_EQ(host::grDrawLog()[0].to, AcGePoint3d(1, 2, 3));
    EXPECT_EQ(host::grDrawLog()[0].color, 3);
}

TEST(Svg, APictureOfTheSampleIsWellFormedWithOneElementPerPrimitive) {
    Recorded r;
    std::string svg = host::writeSvg(r.recorder.primitives());
    TiXmlDocument document;
    document.Parse(svg.c_str(), nullptr, TIXML_ENCODING_UTF8);
    ASSERT_FALSE(document.Error()) << document.ErrorDesc() << " at row " << document.ErrorRow();
    TiXmlElement* root = document.RootElement();
    ASSERT_NE(root, nullptr);
    EXPECT_STREQ(root->Value(), "svg");
    // What the model space holds: nested entities (a block's circle) draw for the reference that holds them.
    std::set<std::string> modelHandles;
    AcDbBlockTableRecord* model = nullptr;
    acdbOpenObject(model, r.db->modelSpaceId(), AcDb::kForRead);
    for (AcDbObjectId id : model->entityIds())
        modelHandles.insert(host::toUtf8(id.handle().text()));
    model->close();
    std::size_t elements = 0;
    std::map<std::string, int> layers;
    std::set<std::string> drawingHandles;
    for (TiXmlElement* e = root->FirstChildElement(); e; e = e->NextSiblingElement()) {
        if (!e->Attribute("data-marker")) continue;
        ++elements;
        layers[e->Attribute("data-layer")]++;
        ASSERT_NE(e->Attribute("data-handle"), nullptr);
        drawingHandles.insert(e->Attribute("data-handle"));
    }
    EXPECT_EQ(elements, r.recorder.primitives().size());
    EXPECT_GT(drawingHandles.size(), 1u);
    for (const std::string& handle : drawingHandles)
        EXPECT_TRUE(modelHandles.count(handle)) << handle << " is not a model-space entity";
    EXPECT_GT(layers["Talus"], 0);
    EXPECT_GT(layers["Bâti"], 0);
}

TEST(Svg, ColourIndexesMapToTheStandardPalette) {
    EXPECT_EQ(host::colorIndexToRgb(1), "#ff0000");
    EXPECT_EQ(host::colorIndexToRgb(5), "#0000ff");
    EXPECT_EQ(host::colorIndexToRgb(7), "#000000") << "white on a white sheet is drawn black";
    EXPECT_EQ(host::colorIndexToRgb(10), "#ff0000");
    EXPECT_EQ(host::colorIndexToRgb(11), "#ff8080");
    EXPECT_EQ(host::colorIndexToRgb(30), "#ff8000");
    EXPECT_EQ(host::colorIndexToRgb(255), "#ffffff");
}

namespace {

// The width and height of a picture's view box.
std::pair<double, double> viewBoxSize(const std::string& svg) {
    const std::string key = "viewBox=\"0 0 ";
    const char* at = svg.c_str() + svg.find(key) + key.size();
    const char* end = svg.c_str() + svg.size();
    double width = 0, height = 0;
    at = std::from_chars(at, end, width).ptr;
    std::from_chars(at + 1, end, height);
    return {width, height};
}

} // namespace

TEST(Svg, TextsAtTheEdgeFitInThePictureWhole) {
    host::GraphicsRecorder recorder;
    AcGePoint3d corners[2] = {{0, 0, 0}, {10, 10, 0}};
    recorder.polyline(2, corners, nullptr, -1);
    // Eight characters of height 1 from x = 8 to the right, and a text going up from the top edge.
    recorder.text(AcGePoint3d(8, 5, 0), AcGeVector3d::kZAxis, AcGeVector3d::kXAxis, 1, 1, 0, L"Borne 12");
    recorder.text(AcGePoint3d(5, 9, 0), AcGeVector3d::kZAxis, AcGeVector3d::kYAxis, 1, 1, 0, L"Nord");
    const auto [width, height] = viewBoxSize(host::writeSvg(recorder.primitives()));
    EXPECT_GT(width, 8 + 8 * 0.6) << "the first text's whole width";
    EXPECT_GT(height, 9 + 4 * 0.6) << "the second text's whole width";
    EXPECT_LT(width, 16);
    EXPECT_LT(height, 16);
}

// Characters XML does not allow (U+FFFE, U+FFFF, controls, lone surrogates) are left out of the picture.
TEST(Svg, TextsAreEscapedAndRaysCutAtThePicture) {
    host::GraphicsRecorder recorder;
    AcGePoint3d corners[2] = {{0, 0, 0}, {10, 10, 0}};
    recorder.polyline(2, corners, nullptr, -1);
    const std::wstring message = L"a<b & \"c\" \uFFFE\uFFFF\x01" + std::wstring(1, wchar_t(0xD800)) + L"é";
    recorder.text(AcGePoint3d(1, 1, 0), AcGeVector3d::kZAxis, AcGeVector3d::kXAxis, 0.5, 1, 0,
                  message.c_str());
    recorder.ray(AcGePoint3d(5, 5, 0), AcGePoint3d(6, 5, 0));
    std::string svg = host::writeSvg(recorder.primitives());
    TiXmlDocument document;
    document.Parse(svg.c_str(), nullptr, TIXML_ENCODING_UTF8);
    ASSERT_FALSE(document.Error()) << document.ErrorDesc();
    TiXmlElement* text = document.RootElement()->FirstChildElement("text");
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text->GetText(), "a<b & \"c\" é");
    EXPECT_NE(svg.find("viewBox=\"0 0 10.4 10.4\""), std::string::npos)
        << "the ray does not stretch the picture";
}

// A drawing another program wrote, as a user compares it with its picture: the dashed linetype with its
// dashes, the pattern hatch as its lines, the face as its edges; and a mesh by its border, so that a band
// over an arc follows the arc in plan.
TEST(Svg, DashesHatchLinesFaceEdgesAndMeshBordersShowAsDrawn) {
    host::test::WorkingDatabase w;
    ASSERT_EQ(w.db->readDwgFile(host::fromUtf8(EXAMPLES "/standard_entities.dxf").c_str()), Acad::eOk);
    host::GraphicsRecorder recorder;
    recorder.recordBlock(w.db.get());
    const std::string svg = host::writeSvg(recorder.primitives());
    TiXmlDocument document;
    document.Parse(svg.c_str(), nullptr, TIXML_ENCODING_UTF8);
    ASSERT_FALSE(document.Error()) << document.ErrorDesc();
    std::map<std::string, std::multiset<std::string>> tags, dashes;
    for (TiXmlElement* e = document.RootElement()->FirstChildElement(); e; e = e->NextSiblingElement()) {
        const char* handle = e->Attribute("data-handle");
        if (!handle) continue;
        tags[handle].insert(e->Value());
        if (const char* dash = e->Attribute("stroke-dasharray")) dashes[handle].insert(dash);
    }
    EXPECT_EQ(dashes["40"], (std::multiset<std::string>{"1 0.5"})) << "TIRETS: a dash of 1, a gap of 0.5";
    EXPECT_EQ(dashes.size(), 1u) << "the continuous lines draw solid";
    EXPECT_EQ(tags["3C"].count("polygon"), 0u) << "ANSI31 is no fill";
    EXPECT_GT(tags["3C"].count("polyline"), 5u) << "the hatch's lines";
    EXPECT_EQ(tags["56"], (std::multiset<std::string>{"polyline", "polyline", "polyline", "polyline"}))
        << "the face's four edges";

    // A pattern that opens with a gap and holds a dot, at a quarter for the entity and twice LTSCALE: the
    // dash-gap alternation of SVG opens with an empty dash, the dot is given a length.
    auto* dotted = new AcDbLinetypeTableRecord;
    dotted->setName(L"POINTS");
    dotted->setNumDashes(4);
    for (int i = 0; i < 4; ++i)
        dotted->setDashLengthAt(i, std::array{-1.0, 0.0, -1.0, 3.0}[i]);
    AcDbLinetypeTable* linetypes = nullptr;
    ASSERT_EQ(w.db->getLinetypeTable(linetypes, AcDb::kForWrite), Acad::eOk);
    host::Traits traits;
    linetypes->add(traits.linetype, dotted);
    linetypes->close();
    dotted->close();
    w.db->setLtscale(2);
    traits.linetypeScale = 0.25;
    EXPECT_EQ(host::svgDashArray(traits, 0.1), "0 0.5 0.1 0.5 1.5 0");

    // The band's border: its base row forward, then its raised row back, over the same points in plan.
    host::GraphicsRecorder band;
    const AcGePoint3d points[6] = {{0, 0, 0}, {1, 1, 0}, {2, 0, 0}, {0, 0, 3}, {1, 1, 3}, {2, 0, 3}};
    band.mesh(2, 3, points, nullptr, nullptr, nullptr, true);
    EXPECT_NE(host::writeSvg(band.primitives())
                  .find("points=\"0.04,1.04 1.04,0.04 2.04,1.04 2.04,1.04 1.04,0.04 0.04,1.04\""),
              std::string::npos);
}
