// Proxy graphics: what an entity draws, kept as an image and drawn again from it, and images that a damaged
// file gives.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "host/db/symbol_tables.h"
#include "host/entities/block_reference.h"
#include "host/filing/text_codec.h"
#include "host/graphics/graphics_recorder.h"
#include "host/graphics/proxy_graphics_format.h"
#include "host/graphics/proxy_graphics_reader.h"
#include "host/graphics/proxy_graphics_writer.h"
#include "tests/host/host_test_support.h"
#include "tests/host/sample_drawing.h"

namespace {

using Image = std::vector<std::uint8_t>;

struct Sample : host::test::WorkingDatabase {
    Sample() {
        host::test::buildSampleDrawing(*db);
        AcDbBlockTableRecord* model = nullptr;
        acdbOpenObject(model, db->modelSpaceId(), AcDb::kForRead);
        ids = model->entityIds();
        model->close();
    }
    template <typename F> void withEntity(AcDbObjectId id, F f) {
        AcDbEntity* entity = nullptr;
        ASSERT_EQ(acdbOpenObject(entity, id, AcDb::kForWrite), Acad::eOk);
        f(entity);
        entity->close();
    }
    Image imageOf(AcDbObjectId id) {
        Image image;
        withEntity(id, [&](AcDbEntity* e) { image = host::proxyGraphicsOf(e); });
        return image;
    }
    std::vector<host::Primitive> recorded(AcDbObjectId id) {
        host::GraphicsRecorder recorder(kAcGiSaveWorldDrawForProxy);
        withEntity(id, [&](AcDbEntity* e) { recorder.recordEntity(e); });
        return recorder.primitives();
    }
    std::vector<host::Primitive> replayed(const Image& image, host::ProxyGraphicsReplay* result = nullptr) {
        host::GraphicsRecorder recorder;
        const host::ProxyGraphicsReplay r =
            host::drawProxyGraphics(image.data(), image.size(), recorder.worldDraw(), db.get());
        if (result) *result = r;
        return recorder.primitives();
    }
    std::vector<AcDbObjectId> ids;
};

void expectSame(const host::Primitive& a, const host::Primitive& b, const std::string& what) {
    EXPECT_EQ(a.kind, b.kind) << what;
    EXPECT_EQ(a.color, b.color) << what;
    EXPECT_EQ(a.traits.layer, b.traits.layer) << what;
    EXPECT_EQ(a.traits.linetype, b.traits.linetype) << what;
    EXPECT_EQ(a.traits.marker, b.traits.marker) << what;
    EXPECT_EQ(a.text, b.text) << what;
    EXPECT_NEAR(a.radius, b.radius, 1e-12) << what;
    ASSERT_EQ(a.points.size(), b.points.size()) << what;
    for (std::size_t i = 0; i < a.points.size(); ++i)
        EXPECT_LT(a.points[i].distanceTo(b.points[i]), 1e-12) << what << " point " << i;
}

// An entry of the image: its size, operation and data.
Image entry(host::proxy_graphics::Op op, const Image& data) {
    const host::proxy_graphics::Header header{static_cast<std::uint32_t>(8 + data.size()),
                                              static_cast<std::uint32_t>(op)};
    Image bytes(8);
    std::memcpy(bytes.data(), &header, 8);
    bytes.insert(bytes.end(), data.begin(), data.end());
    return bytes;
}

Image withHeader(const std::vector<Image>& entries) {
    Image image(8);
    for (const Image& e : entries)
        image.insert(image.end(), e.begin(), e.end());
    const host::proxy_graphics::Header header{static_cast<std::uint32_t>(image.size()),
                                              static_cast<std::uint32_t>(entries.size())};
    std::memcpy(image.data(), &header, 8);
    return image;
}

template <typename T> Image bytesOf(const T& value) {
    Image bytes(sizeof value);
    std::memcpy(bytes.data(), &value, sizeof value);
    return bytes;
}

Image segment(double x0, double y0, double x1, double y1) {
    Image data = bytesOf(std::uint32_t{2});
    for (double v : {x0, y0, 0.0, x1, y1, 0.0}) {
        const Image b = bytesOf(v);
        data.insert(data.end(), b.begin(), b.end());
    }
    return entry(host::proxy_graphics::Op::Polyline, data);
}

} // namespace

TEST(ProxyGraphics, EveryStandardEntityDrawsFromItsImageAsItDrewItself) {
    Sample s;
    // The block's circle takes the colour of the reference that draws it.
    for (AcDbObjectId id : s.ids)
        s.withEntity(id, [](AcDbEntity* e) {
            if (auto* insert = AcDbBlockReference::cast(e)) {
                insert->setColorIndex(3);
                AcDbBlockTableRecord* block = nullptr;
                acdbOpenObject(block, insert->blockTableRecord(), AcDb::kForRead);
                AcDbEntity* circle = nullptr;
                acdbOpenObject(circle, block->entityIds().front(), AcDb::kForWrite);
                circle->setColorIndex(AcCmColor::kByBlock);
                circle->close();
                block->close();
            }
        });
    int compared = 0;
    for (AcDbObjectId id : s.ids) {
        const std::string what = host::toUtf8(id.handle().text());
        const std::vector<host::Primitive> drawn = s.recorded(id);
        const Image image = s.imageOf(id);
        ASSERT_FALSE(image.empty()) << what;
        host::ProxyGraphicsReplay result;
        const std::vector<host::Primitive> again = s.replayed(image, &result);
        EXPECT_EQ(result.skipped, 0) << what;
        ASSERT_EQ(again.size(), drawn.size()) << what;
        for (std::size_t i = 0; i < drawn.size(); ++i)
            expectSame(again[i], drawn[i], what + " primitive " + std::to_string(i));
        compared += static_cast<int>(drawn.size());
    }
    EXPECT_GE(compared, 15);
}

TEST(ProxyGraphics, AnEntityThatDrawsNothingHasNoImage) {
    Sample s;
    // A reference to an empty block only moves the transform: no primitive, no image.
    AcDbBlockTable* blocks = nullptr;
    ASSERT_EQ(acdbOpenObject(blocks, s.db->blockTableId(), AcDb::kForWrite), Acad::eOk);
    auto* empty = new AcDbBlockTableRecord;
    empty->setName(L"VIDE");
    AcDbObjectId emptyId;
    ASSERT_EQ(blocks->add(emptyId, empty), Acad::eOk);
    empty->close();
    blocks->close();
    AcDbBlockTableRecord* model = nullptr;
    ASSERT_EQ(acdbOpenObject(model, s.db->modelSpaceId(), AcDb::kForWrite), Acad::eOk);
    auto* insert = new AcDbBlockReference(AcGePoint3d(1, 2, 0), emptyId);
    AcDbObjectId insertId;
    ASSERT_EQ(model->appendAcDbEntity(insertId, insert), Acad::eOk);
    insert->close();
    model->close();
    EXPECT_TRUE(s.imageOf(insertId).empty());
}

TEST(ProxyGraphics, DamagedImagesDrawWhatTheyCanAndNeverReadPastTheirEnd) {
    Sample s;
    using host::proxy_graphics::Op;
    const Image first = segment(0, 0, 1, 0), second = segment(1, 0, 1, 1);
    // An operation this host does not know is passed over.
    auto drawn = s.replayed(withHeader({first, entry(static_cast<Op>(99), Image(12, 0xAB)), second}));
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[1].points[1], AcGePoint3d(1, 1, 0));
    // A polyline that says it has more points than its entry holds is skipped; the next one is drawn.
    Image tooMany = segment(5, 5, 6, 6);
    tooMany[8] = 200;
    host::ProxyGraphicsReplay result;
    drawn = s.replayed(withHeader({tooMany, second}), &result);
    EXPECT_EQ(drawn.size(), 1u);
    EXPECT_EQ(result.skipped, 1);
    // An entry whose size leaves the image ends the walk after what came before it.
    Image runaway = second;
    runaway[0] = 0xFF;
    runaway[3] = 0x7F;
    drawn = s.replayed(withHeader({first, runaway}), &result);
    EXPECT_EQ(drawn.size(), 1u);
    EXPECT_EQ(result.skipped, 1);
    // Not a number in a point: that primitive is left out.
    Image nan = second;
    const double notANumber = std::numeric_limits<double>::quiet_NaN();
    std::memcpy(nan.data() + 12, &notANumber, 8);
    EXPECT_EQ(s.replayed(withHeader({nan, first})).size(), 1u);
    // A transform left pushed does not move what is drawn after the image.
    Image shift =
        bytesOf(host::proxy_graphics::MatrixData{{1, 0, 0, 100, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}});
    host::GraphicsRecorder recorder;
    const Image pushed = withHeader({entry(Op::PushMatrix, shift), first});
    host::drawProxyGraphics(pushed.data(), pushed.size(), recorder.worldDraw(), s.db.get());
    const AcGePoint3d p[2] = {{0, 0, 0}, {1, 0, 0}};
    recorder.polyline(2, p, nullptr, -1);
    ASSERT_EQ(recorder.primitives().size(), 2u);
    EXPECT_EQ(recorder.primitives()[0].points[0], AcGePoint3d(100, 0, 0));
    EXPECT_EQ(recorder.primitives()[1].points[0], AcGePoint3d(0, 0, 0));
}

TEST(ProxyGraphics, CutAndMutatedImagesOfTheSampleNeverCrash) {
    Sample s;
    Image whole;
    for (AcDbObjectId id : s.ids) {
        const Image image = s.imageOf(id);
        whole.insert(whole.end(), image.begin() + 8, image.end());
    }
    whole.insert(whole.begin(), 8, 0);
    const auto size = static_cast<std::uint32_t>(whole.size());
    std::memcpy(whole.data(), &size, 4);
    const std::size_t complete = s.replayed(whole).size();
    ASSERT_GT(complete, 15u);
    for (std::size_t cut = 0; cut < whole.size(); cut += 7) {
        const Image shorter(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(cut));
        EXPECT_LE(s.replayed(shorter).size(), complete) << "cut at " << cut;
    }
    host::test::Random random(17);
    for (int trial = 0; trial < 3000; ++trial) {
        Image mutated = whole;
        for (int i = 0; i < 4; ++i)
            mutated[random.below(mutated.size())] = static_cast<std::uint8_t>(random.below(256));
        // Whatever is drawn is drawn at finite places.
        for (const host::Primitive& p : s.replayed(mutated))
            for (const AcGePoint3d& point : p.points)
                ASSERT_TRUE(std::isfinite(point.x) && std::isfinite(point.y) && std::isfinite(point.z))
                    << "trial " << trial;
    }
}
