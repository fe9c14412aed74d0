// LIST on the polyline: its lines, and the pause every 50 vertex blocks that a cancel ends.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "tests/entity/poly_test_support.h"
#include "tests/host/editor_test_support.h"

namespace {

int shown(const std::wstring& transcript, const std::wstring& text) {
    int n = 0;
    for (std::size_t at = transcript.find(text); at != std::wstring::npos; at = transcript.find(text, at + 1))
        ++n;
    return n;
}

struct Listing : ::testing::Test {
    poly_test::RegisteredClasses classes;
    host::test::EditorSession session;
    PolyArc3D poly;

    explicit Listing() {
        for (int i = 0; i < 120; ++i)
            poly_test::append(poly, {i * 2.0, (i % 2) * 3.0, 0},
                              {.bulge = i == 0 ? std::tan(std::numbers::pi / 8) : 0});
    }
};

TEST_F(Listing, ManyVerticesPauseEveryFiftyBlocks) {
    session.type({L"", L""});
    poly.list();
    const std::wstring& text = session.transcript();
    EXPECT_EQ(shown(text, L"Press ENTER pour suite"), 2);
    EXPECT_EQ(shown(text, L"No 120 UCS XYZ="), 1);
    EXPECT_EQ(shown(text, L"Ouverte (Dist3D) ZORTAPOLY 120 Sommets"), 1);
    // Twice: before the vertices and after them.
    EXPECT_EQ(shown(text, L"Cumul dist 2d ="), 2);
    // A quarter turn is 100 grads.
    EXPECT_EQ(shown(text, L"A.C= 100.0000 R="), 1);
    EXPECT_EQ(shown(text, L"G= 100.0000 Dist="), 0);
}

TEST_F(Listing, ACancelAtThePauseEndsTheVertices) {
    session.type({L"^C"});
    poly.list();
    const std::wstring& text = session.transcript();
    EXPECT_EQ(shown(text, L"Press ENTER pour suite"), 1);
    EXPECT_EQ(shown(text, L"No 50 UCS"), 1);
    EXPECT_EQ(shown(text, L"No 51 UCS"), 0);
    EXPECT_EQ(shown(text, L"Cumul dist 2d ="), 2);
}

TEST_F(Listing, AnEntityWithASystemShowsItsNormalAndStoredPoints) {
    PolyArc3D tilted;
    poly_test::appendAll(tilted, {{0, 0, 1}, {4, 0, 1}});
    tilted.setSNormal(AcGeVector3d(0, 0.6, 0.8), 0);
    tilted.list();
    const std::wstring& text = session.transcript();
    EXPECT_EQ(shown(text, L"Vecteur Normal: 0.0000000,0.6000000,0.8000000"), 1);
    EXPECT_EQ(shown(text, L"BRUT (     4.0000,     0.0000,   1.0000)"), 1);
    // A bearing clockwise from north: along the stored x axis is 100 grads.
    EXPECT_EQ(shown(text, L"G= 100.0000 Dist=   4.0000"), 1);
}

} // namespace
