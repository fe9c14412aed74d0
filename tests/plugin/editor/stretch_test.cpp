// The selected stretch: how setWay places its ends, what copyStretch copies, what is highlighted, how stale
// vertices are dropped, and the integrity check of the vertex list.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "host/graphics/graphics_recorder.h"
#include "host/graphics/highlights.h"
#include "host/graphics/svg_writer.h"
#include "tests/plugin/editor/editor_test_support.h"

namespace {

using plugin::test::EditorFixture;
using Stretch = EditorFixture;

TEST_F(Stretch, SetWayPlacesTheEndsAndTheDirection) {
    qpoly_edit open(addPolyline({{0, 0, 0}, {10, 0, 0}, {20, 0, 0}, {30, 0, 0}, {40, 0, 0}}), nullptr, 0);
    ASSERT_TRUE(open.openWrite());
    std::vector<P_Vertex*> v = vertices(open);
    EXPECT_EQ(open.setWay(qpoly_edit::kAll), 1);
    EXPECT_EQ(open.wayFixed, v[0]);
    EXPECT_EQ(open.wayMoving, v[4]);
    EXPECT_EQ(open.current, v[4]);
    EXPECT_EQ(open.minSegments, 1);
    EXPECT_EQ(open.goState, 1);

    // Going back along an open polyline turns the direction; forward keeps it.
    EXPECT_EQ(open.setWay(v[3], v[1]), 1);
    EXPECT_EQ(open.goState, -1);
    EXPECT_EQ(open.minSegments, 0);
    EXPECT_EQ(open.setWay(v[1], v[3]), 1);
    EXPECT_EQ(open.goState, 1);
    // One vertex at both ends: the distances decide.
    open.fixedDist = 4;
    open.movingDist = 2;
    EXPECT_EQ(open.setWay(v[2], v[2]), 1);
    EXPECT_EQ(open.goState, -1);

    // One segment over a generated vertex, and none after the tail.
    v[2]->flags = 1;
    EXPECT_EQ(open.setWay(v[1], qpoly_edit::kOneSegment), 1);
    EXPECT_EQ(open.goState, 2);
    EXPECT_EQ(open.wayMoving, v[3]);
    EXPECT_EQ(open.setWay(v[4], qpoly_edit::kOneSegment), 1);
    EXPECT_EQ(open.wayMoving, v[4]);

    // A vertex of another list leaves the stretch unset; null as well.
    PolyArc3D other;
    P_Vertex* foreign = poly_test::append(other, {1, 1, 0});
    EXPECT_EQ(open.setWay(v[1], foreign), 0);
    EXPECT_EQ(open.setWay(nullptr, qpoly_edit::kOneSegment), 0);
    open.closeEntity();

    qpoly_edit closed(addPolyline({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}}, true), nullptr, 0);
    ASSERT_TRUE(closed.openWrite());
    std::vector<P_Vertex*> c = vertices(closed);
    EXPECT_EQ(closed.setWay(qpoly_edit::kAll), 1);
    EXPECT_EQ(closed.wayMoving, c[0]);
    // The same vertex at both ends of a closed polyline covers it once when the fixed end lies further.
    closed.goState = 1;
    closed.fixedDist = 3;
    closed.movingDist = 1;
    EXPECT_EQ(closed.setWay(c[2], c[2]), 1);
    EXPECT_EQ(closed.minSegments, 1);
    closed.fixedDist = 0;
    EXPECT_EQ(closed.setWay(c[2], c[2]), 1);
    EXPECT_EQ(closed.minSegments, 0);
    // Wrapping from the tail to the head keeps the direction.
    EXPECT_EQ(closed.setWay(c[3], c[1]), 1);
    EXPECT_EQ(closed.goState, 1);
    closed.closeEntity();
}

TEST_F(Stretch, CopyTakesEndDistancesAndReverses) {
    qpoly_edit editor(addPolyline({{0, 0, 0}, {10, 0, 0}, {20, 0, 0}, {30, 0, 0}, {40, 0, 0}}), nullptr, 0);
    ASSERT_TRUE(editor.openWrite());
    std::vector<P_Vertex*> v = vertices(editor);
    editor.setWay(v[1], v[3]);
    editor.fixedDist = 2;
    editor.movingDist = 4;
    PolyArc3D forward;
    P_Vertex* last = editor.copyStretch(&forward, nullptr, 0, nullptr);
    EXPECT_EQ(points(forward), (std::vector<CPoint3d>{{12, 0, 0}, {20, 0, 0}, {30, 0, 0}, {34, 0, 0}}));
    EXPECT_EQ(last, forward.T());

    // The same stretch walked from the other end: the copy runs backwards.
    editor.setWay(v[3], v[1]);
    ASSERT_EQ(editor.goState, -1);
    editor.fixedDist = 4;
    editor.movingDist = 2;
    PolyArc3D backward;
    last = editor.copyStretch(&backward, nullptr, 0, nullptr);
    EXPECT_EQ(points(backward), (std::vector<CPoint3d>{{34, 0, 0}, {30, 0, 0}, {20, 0, 0}, {12, 0, 0}}));
    EXPECT_EQ(last, backward.T());

    // Nothing without a target or a stretch.
    EXPECT_EQ(editor.copyStretch(nullptr, nullptr, 0, nullptr), nullptr);
    editor.wayFixed = nullptr;
    EXPECT_EQ(editor.copyStretch(&forward, nullptr, 0, nullptr), nullptr);
    editor.closeEntity();
}

TEST_F(Stretch, PartsOfAnArcRecombineToIt) {
    // A half circle from (10, 0) to (20, 0) round (15, 0).
    auto* poly = new PolyArc3D;
    poly_test::append(*poly, {0, 0, 0});
    poly_test::append(*poly, {10, 0, 0}, {.bulge = 1});
    poly_test::append(*poly, {20, 0, 0});
    qpoly_edit editor(session.addEntity(poly), nullptr, 0);
    ASSERT_TRUE(editor.openWrite());
    std::vector<P_Vertex*> v = vertices(editor);
    const double quarter = 5 * std::numbers::pi / 2;
    editor.setWay(v[0], v[1]);
    editor.movingDist = quarter;
    PolyArc3D upTo;
    editor.copyStretch(&upTo, nullptr, 0, nullptr);
    ASSERT_EQ(upTo.GetCount(), 3);
    const CPoint3d middle = upTo.T()->pt;
    EXPECT_NEAR(middle.x, 15, 1e-9);
    EXPECT_NEAR(std::fabs(middle.y), 5, 1e-9);
    const double firstHalf = upTo.H()->pVN->bulge;
    EXPECT_NEAR(firstHalf, std::tan(std::numbers::pi / 8), 1e-9);

    // From the same point on, the rest of the arc: the two parts turn through the whole half circle.
    editor.setWay(v[1], v[2]);
    editor.fixedDist = quarter;
    editor.movingDist = 0;
    PolyArc3D from;
    editor.copyStretch(&from, nullptr, 0, nullptr);
    ASSERT_EQ(from.GetCount(), 2);
    EXPECT_NEAR(from.H()->pt.x, middle.x, 1e-9);
    EXPECT_NEAR(from.H()->pt.y, middle.y, 1e-9);
    const double secondHalf = from.H()->bulge;
    EXPECT_NEAR(4 * std::atan(firstHalf) + 4 * std::atan(secondHalf), std::numbers::pi, 1e-9);
    editor.closeEntity();
}

TEST_F(Stretch, MaskChoosesTheAttributesAndTags) {
    auto* poly = new PolyArc3D;
    poly_test::append(*poly, {0, 0, 0}, {.tef1 = 3, .tef2 = 4, .i39 = 100, .i40 = 200});
    poly_test::append(*poly, {5, 0, 0}, {.flags = 1, .tef1 = 5});
    poly_test::append(*poly, {10, 0, 0}, {.tef1 = 6, .tef2 = 7, .i39 = 300, .i40 = 400});
    qpoly_edit editor(session.addEntity(poly), nullptr, 0);
    ASSERT_TRUE(editor.openWrite());
    std::vector<P_Vertex*> v = vertices(editor);
    editor.setWay(v[0], v[2]);

    PolyArc3D tagged;
    editor.copyStretch(&tagged, nullptr, 0x1 | 0x10 | 0x20, nullptr);
    int i = 0;
    for (const P_Vertex* copy = tagged.H(); copy; copy = copy->pVN, ++i) {
        const std::int64_t tag = copy->tag;
        EXPECT_EQ(tag, reinterpret_cast<std::intptr_t>(v[i]));
        EXPECT_EQ(copy->tef1, v[i]->tef1);
        EXPECT_EQ(copy->i39, 0);
        EXPECT_EQ((copy->flags & 2) != 0, i == 1) << i;
    }

    // Without the bits, a given source provides qualifier, width and height.
    P_Vertex source(0);
    source.tef2 = 9;
    source.i39 = 11;
    source.i40 = 12;
    PolyArc3D fromSource;
    editor.copyStretch(&fromSource, nullptr, 0, &source);
    for (const P_Vertex* copy = fromSource.H(); copy; copy = copy->pVN) {
        EXPECT_EQ(copy->tef1, 0);
        EXPECT_EQ(copy->tef2, 9);
        EXPECT_EQ(copy->i39, 11);
        EXPECT_EQ(copy->i40, 12);
    }

    // Inserted after a vertex, the last copy leads on with that vertex's attributes; a break loses its kind.
    PolyArc3D target;
    P_Vertex* after = poly_test::append(target, {-5, 0, 0}, {.tef1 = 2, .tef2 = 8, .i39 = 50, .i40 = 60});
    poly_test::append(target, {50, 0, 0});
    P_Vertex* last = editor.copyStretch(&target, after, 0x1 | 0x4 | 0x8, nullptr);
    ASSERT_EQ(target.GetCount(), 5);
    EXPECT_EQ(last, target.T()->pVB);
    EXPECT_EQ(last->tef1, 0);
    EXPECT_EQ(last->tef2, 8);
    EXPECT_EQ(last->i39, 50);
    EXPECT_EQ(last->i40, 60);
    editor.closeEntity();
}

TEST_F(Stretch, HighlightsOneEdgePerSegmentOrTheWholeEntity) {
    const AcDbObjectId id = addPolyline({{0, 0, 0}, {10, 0, 0}, {20, 0, 0}, {30, 0, 0}, {40, 0, 0}});
    qpoly_edit editor(id, nullptr, 0);
    ASSERT_TRUE(editor.openRead());
    std::vector<P_Vertex*> v = vertices(editor);
    editor.setWay(v[1], v[3]);
    editor.closeEntity();
    EXPECT_EQ(editor.highlightStretch(1), 2);
    EXPECT_EQ(host::highlightOf(id).markers, (std::set<Adesk::GsMarker>{2, 3}));
    EXPECT_FALSE(host::highlightOf(id).whole);
    EXPECT_EQ(editor.openState & qpoly_edit::kOpen, 0u) << "closed again as it was found";

    // A stretch over every segment of an open polyline highlights the entity itself.
    editor.openRead();
    editor.setWay(qpoly_edit::kAll);
    EXPECT_EQ(editor.highlightStretch(1), 4);
    EXPECT_TRUE(host::highlightOf(id).whole);
    EXPECT_TRUE(host::highlightOf(id).markers.empty());
    EXPECT_EQ(editor.highlightPath, qpoly_edit::kWholeEntityHighlighted);
    editor.closeEntity();

    EXPECT_EQ(editor.highlightStretch(0), 1);
    EXPECT_TRUE(host::highlightOf(id).empty());
    EXPECT_EQ(editor.highlightPath, nullptr);
    editor.goState = 0;
    EXPECT_EQ(editor.highlightStretch(1), 0);

    // A stretch whose start left the list is refused with a beep.
    editor.goState = 1;
    editor.wayFixed = reinterpret_cast<P_Vertex*>(&editor);
    EXPECT_EQ(editor.highlightStretch(1), 0);
    EXPECT_EQ(editor_state::globals().beepCount, 1);
    EXPECT_NE(session.transcript().find(L"******** ERREUR ***pv1 = "), std::wstring::npos);

    // On a closed polyline the stretch wraps from the tail to the head.
    const AcDbObjectId ring = addPolyline({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}}, true);
    qpoly_edit closed(ring, nullptr, 0);
    ASSERT_TRUE(closed.openRead());
    std::vector<P_Vertex*> c = vertices(closed);
    closed.setWay(c[3], c[1]);
    closed.closeEntity();
    EXPECT_EQ(closed.highlightStretch(1), 2);
    EXPECT_EQ(host::highlightOf(ring).markers, (std::set<Adesk::GsMarker>{4, 1}));
    closed.close();
    EXPECT_TRUE(host::highlightOf(ring).empty());
}

TEST_F(Stretch, CheckVerticesDropsWhatLeftTheList) {
    qpoly_edit editor(addPolyline({{0, 0, 0}, {10, 0, 0}, {20, 0, 0}, {30, 0, 0}}), nullptr, 0);
    ASSERT_TRUE(editor.openWrite());
    std::vector<P_Vertex*> v = vertices(editor);
    editor.setWay(v[1], v[2]);
    editor.entity->D(v[1]);
    editor.entity->D(v[2]);
    EXPECT_EQ(editor.checkVertices(), 1);
    // In Go or Way mode current falls back on the tail and both ends on current, the moving end then on
    // to the next hard vertex when there is one.
    EXPECT_EQ(editor.current, v[3]);
    EXPECT_EQ(editor.wayFixed, v[3]);
    EXPECT_EQ(editor.wayMoving, v[3]);

    // Out of those modes only current is filled, with the head.
    editor.goState = 0;
    editor.current = v[1];
    editor.wayFixed = v[0];
    EXPECT_EQ(editor.checkVertices(), 1);
    EXPECT_EQ(editor.current, v[0]);
    editor.closeEntity();
    EXPECT_EQ(editor.checkVertices(), 0);
    EXPECT_EQ(editor.current, nullptr);
    EXPECT_EQ(editor.wayFixed, nullptr);
}

TEST_F(Stretch, CheckChainReportsBrokenAndCyclicLists) {
    qpoly_edit editor(addPolyline({{0, 0, 0}, {10, 0, 0}, {20, 0, 0}, {30, 0, 0}}), nullptr, 0);
    ASSERT_TRUE(editor.openWrite());
    std::vector<P_Vertex*> v = vertices(editor);
    editor.current = v[2];
    EXPECT_EQ(editor.checkChain(), 0);
    EXPECT_EQ(editor_state::globals().beepCount, 0);

    // A back link that does not point back.
    v[2]->pVB = v[0];
    EXPECT_EQ(editor.checkChain(), 1);
    v[2]->pVB = v[1];
    const std::wstring& text = session.transcript();
    EXPECT_NE(text.find(L", sommet No 2 probleme next<>back "), std::wstring::npos);
    EXPECT_NE(text.find(L"\n1 erreurs sur la poly :"), std::wstring::npos);
    EXPECT_NE(text.find(L" de 4 sommets >>"), std::wstring::npos);
    EXPECT_NE(text.find(L" 4=0x"), std::wstring::npos);
    EXPECT_NE(text.find(L"plus de 5 Beep d'erreurs"), std::wstring::npos);
    EXPECT_EQ(editor_state::globals().beepCount, 5);

    // A ring that never reaches the tail ends after the vertex count (its bad link met twice); the current
    // vertex is not met, and the process has no beep left.
    v[1]->pVN = v[0];
    editor.current = v[3];
    EXPECT_EQ(editor.checkChain(), 4);
    v[1]->pVN = v[2];
    EXPECT_NE(session.transcript().find(L"n'est pas le dernier sommet"), std::wstring::npos);
    EXPECT_NE(session.transcript().find(L"introuvable"), std::wstring::npos);
    EXPECT_EQ(editor_state::globals().beepCount, 6);

    // A ring through the tail.
    v[3]->pVN = v[0];
    EXPECT_GE(editor.checkChain(), 1);
    v[3]->pVN = nullptr;
    EXPECT_EQ(editor.checkChain(), 0);
    editor.closeEntity();
}

TEST_F(Stretch, ClosingErasesWhatIsLeftTooShort) {
    const AcDbObjectId id = addPolyline({{0, 0, 0}, {10, 0, 0}});
    {
        qpoly_edit editor(id, nullptr, 0);
        ASSERT_TRUE(editor.openWrite());
        editor.entity->D(editor.entity->T());
        editor.closeEntity();
        editor.close();
    }
    AcDbObject* object = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(object, id, AcDb::kForRead, true), Acad::eOk);
    EXPECT_TRUE(object->isErased());
    // The user's polyline: its erase is recorded, so UNDO brings it back.
    EXPECT_FALSE(object->isUndoRecordingDisabled());
    object->close();
}

} // namespace

namespace {

TEST_F(Stretch, ViewTestFailsForAVertexOutsideTheView) {
    qpoly_edit editor(addPolyline({{0, 0, 0}, {10, 0, 0}, {500, 0, 0}}), nullptr, 0);
    ASSERT_TRUE(editor.openRead());
    std::vector<P_Vertex*> v = vertices(editor);
    EXPECT_EQ(editor.viewTest(nullptr), 1) << "no test asked";
    editor_state::globals().zoomTestMode = editor_state::kPointInView;
    // The default view: 100 high round the origin.
    editor.current = v[1];
    EXPECT_EQ(editor.viewTest(nullptr), 1);
    editor.current = v[2];
    EXPECT_EQ(editor.viewTest(nullptr), 0);
    const CPoint3d away(500, 0, 0), between(5, 0, 0);
    EXPECT_EQ(editor.viewTest(&away), 0);
    EXPECT_EQ(editor.viewTest(&between), 1);

    // Centring remembers the point it was given.
    editor_state::globals().zoomTestMode = editor_state::kCentreView;
    EXPECT_EQ(editor.viewTest(&away), 1);
    EXPECT_EQ(editor_state::globals().lastViewPoint, away);
    editor.closeEntity();
}

} // namespace

namespace {

TEST_F(Stretch, ThePictureMarksTheHighlightedSegments) {
    const AcDbObjectId id = addPolyline({{0, 0, 0}, {10, 0, 0}, {20, 0, 0}, {30, 0, 0}});
    qpoly_edit editor(id, nullptr, 0);
    ASSERT_TRUE(editor.openRead());
    std::vector<P_Vertex*> v = vertices(editor);
    editor.setWay(v[1], v[2]);
    editor.closeEntity();
    editor.highlightStretch(1);
    host::GraphicsRecorder recorder;
    recorder.recordBlock(session.drawing.db.get());
    const std::string svg = host::writeSvg(recorder.primitives());
    std::size_t marked = 0;
    for (std::size_t at = svg.find("data-highlighted"); at != std::string::npos;
         at = svg.find("data-highlighted", at + 1)) {
        ++marked;
        const std::size_t element = svg.rfind('<', at);
        EXPECT_NE(svg.substr(element, at - element).find("data-marker=\"2\""), std::string::npos);
    }
    EXPECT_GE(marked, 1u);
}

} // namespace
