// The dense matrix: storage forms, arithmetic, removal of rows and columns, ownership of returned results and
// the transforms made from it.
#include "geometry/matrices/matrice.h"
#include "geometry/transforms/mat2d.h"
#include "geometry/transforms/mat3d.h"
#include "tests/geometry/matrices/matrix_literals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using testing_support::table;
using testing_support::vector;

std::vector<std::vector<double>> elements(const Matrice& m) {
    std::vector<std::vector<double>> out(m.rows);
    for (std::uint32_t i = 0; i < m.rows; ++i)
        for (std::uint32_t j = 0; j < m.cols; ++j)
            out[i].push_back(m.element(i, j));
    return out;
}

using Rows = std::vector<std::vector<double>>;

} // namespace

TEST(MatriceStorage, TableAndVectorForms) {
    Matrice v(3, 0);
    EXPECT_EQ(v.cols, 1u);
    ASSERT_NE(v.vec, nullptr);
    EXPECT_EQ(v.lines, nullptr);
    EXPECT_EQ(elements(v), (Rows{{0}, {0}, {0}}));
    EXPECT_EQ(v[2], v.vec + 2);
    EXPECT_EQ(v[3], nullptr);

    Matrice t(2, 3);
    ASSERT_NE(t.lines, nullptr);
    EXPECT_EQ(t.vec, nullptr);
    EXPECT_EQ(t[1], t.lines[1]);
    EXPECT_EQ(t.element(5, 5), 0);

    Matrice empty(0, 4);
    EXPECT_EQ(empty.rows, 0u);
    EXPECT_EQ(empty[0], nullptr);
}

TEST(MatriceStorage, IdentityAndSingleColumn) {
    Matrice m;
    m.SetIDN(3, 3);
    EXPECT_EQ(elements(m), (Rows{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}));
    m.SetIDN(3, 1);
    EXPECT_EQ(elements(m), (Rows{{1}, {1}, {1}}));
    m.SetIDN(2, 3);
    EXPECT_EQ(elements(m), (Rows{{0, 0, 0}, {0, 0, 0}}));
}

TEST(MatriceStorage, ReallocGrowsAVectorAndLeavesATable) {
    Matrice v = vector({1, 2});
    v.Realloc(4);
    EXPECT_EQ(elements(v), (Rows{{1}, {2}, {0}, {0}}));
    v.Realloc(1);
    EXPECT_EQ(elements(v), (Rows{{1}}));
    Matrice empty;
    empty.Realloc(2);
    EXPECT_EQ(empty.cols, 1u);
    EXPECT_EQ(elements(empty), (Rows{{0}, {0}}));
    Matrice t = table({{1, 2}});
    t.Realloc(5);
    EXPECT_EQ(elements(t), (Rows{{1, 2}}));
}

TEST(MatriceStorage, VideMatriceKeepsTheCounts) {
    Matrice m(2, 2);
    m.VideMatrice();
    EXPECT_EQ(m.lines, nullptr);
    EXPECT_EQ(m.rows, 2u);
    EXPECT_EQ(m.element(0, 0), 0);
    EXPECT_EQ(m.Inverse(), 1);
    EXPECT_EQ((m * m).rows, 0u);
}

TEST(MatriceArithmetic, ProductsOfEachForm) {
    const Matrice a = table({{1, 2}, {3, 4}});
    const Matrice b = table({{5, 6, 7}, {8, 9, 10}});
    EXPECT_EQ(elements(a * b), (Rows{{21, 24, 27}, {47, 54, 61}}));
    const Matrice x = vector({1, -1});
    const Matrice ax = a * x;
    EXPECT_NE(ax.vec, nullptr) << "table x vector is a vector";
    EXPECT_EQ(elements(ax), (Rows{{-1}, {-1}}));
    EXPECT_EQ(elements(x * vector({3, 4})), (Rows{{3}, {-4}})) << "vectors multiply element by element";
    // A right operand with more rows than this matrix has columns is read only as far as needed.
    const Matrice tall = table({{1}, {1}, {100}});
    EXPECT_EQ(elements(a * tall), (Rows{{3}, {7}}));
    EXPECT_EQ(elements(a * 2.0), (Rows{{2, 4}, {6, 8}}));
    Matrice c = a;
    c *= -1;
    EXPECT_EQ(elements(c), (Rows{{-1, -2}, {-3, -4}}));
}

TEST(MatriceArithmetic, MismatchedOperandsGiveAnEmptyMatrix) {
    const Matrice a = table({{1, 2, 3}, {4, 5, 6}});
    const Matrice shortRight = table({{1}, {2}});
    const Matrice product = a * shortRight;
    EXPECT_EQ(product.rows, 0u);
    EXPECT_EQ(product.lines, nullptr);
    EXPECT_EQ((vector({1, 2}) * vector({1, 2, 3})).rows, 0u);
    EXPECT_EQ((a + shortRight).rows, 0u);
    EXPECT_EQ((a - table({{1, 2}, {3, 4}})).rows, 0u);
    EXPECT_EQ((a * Matrice()).rows, 0u);
}

TEST(MatriceArithmetic, SumsDifferencesAndTranspose) {
    const Matrice a = table({{1, 2}, {3, 4}});
    const Matrice b = table({{10, 20}, {30, 40}});
    EXPECT_EQ(elements(a + b), (Rows{{11, 22}, {33, 44}}));
    EXPECT_EQ(elements(b - a), (Rows{{9, 18}, {27, 36}}));
    const Matrice column = table({{1}, {2}});
    const Matrice sum = column + vector({5, 6});
    EXPECT_NE(sum.vec, nullptr) << "the form of the right operand";
    EXPECT_EQ(elements(sum), (Rows{{6}, {8}}));
    EXPECT_EQ(elements(table({{1, 2, 3}, {4, 5, 6}}).Transpose()), (Rows{{1, 4}, {2, 5}, {3, 6}}));
    const Matrice row = vector({7, 8, 9}).Transpose();
    EXPECT_NE(row.lines, nullptr);
    EXPECT_EQ(elements(row), (Rows{{7, 8, 9}}));
}

TEST(MatriceRemoval, ColumnsAndRows) {
    Matrice m = table({{1, 2, 3}, {4, 5, 6}});
    EXPECT_EQ(m.RemoveColumn(1), 1);
    EXPECT_EQ(elements(m), (Rows{{1, 3}, {4, 6}}));
    EXPECT_EQ(m.RemoveColumn(2), -1);
    EXPECT_EQ(m.RemoveLine(0), 1);
    EXPECT_EQ(elements(m), (Rows{{4, 6}}));
    EXPECT_EQ(m.RemoveLine(0), -1) << "the last row stays";
    EXPECT_EQ(m.RemoveColumn(1), 1);
    EXPECT_EQ(m.RemoveColumn(0), -1) << "the last column stays";

    Matrice v = vector({1, 2, 3});
    EXPECT_EQ(v.RemoveColumn(0), -1);
    EXPECT_EQ(v.RemoveLine(1), 1);
    EXPECT_EQ(elements(v), (Rows{{1}, {3}}));
    EXPECT_EQ(v.RemoveLine(2), -1);
    EXPECT_EQ(Matrice().RemoveLine(0), -1);
}

// Under the sanitizers' leak check: every result is freed once, by whoever holds it last.
TEST(MatriceOwnership, ResultsAreHandedOverAndNeverLeak) {
    const Matrice a = table({{1, 2}, {3, 4}});
    Matrice c;
    c = a * a;
    EXPECT_EQ(c.borrowed, 0) << "the taker owns the storage";
    EXPECT_EQ(elements(c), (Rows{{7, 10}, {15, 22}}));
    const Matrice chain = a * a * a;
    EXPECT_EQ(elements(chain), (Rows{{37, 54}, {81, 118}}));
    EXPECT_EQ(elements((a * a).Transpose()), (Rows{{7, 15}, {10, 22}}));
    a.Transpose();
    a + a;
    Matrice::MKappa(1.0);

    Matrice self = table({{1, 2}, {3, 4}});
    Matrice& alias = self;
    self = alias;
    EXPECT_EQ(elements(self), (Rows{{1, 2}, {3, 4}}));
    Matrice held = a * a;
    Matrice& heldAlias = held;
    held = heldAlias;
    EXPECT_EQ(elements(held), (Rows{{7, 10}, {15, 22}}));

    // A copy of an ordinary matrix is its own.
    Matrice copy = a;
    copy[0][0] = 99;
    EXPECT_EQ(a.element(0, 0), 1);
}

TEST(MatriceTransforms, RotationRoundTripThroughMat3D) {
    Matrice rotation;
    rotation = Mat3D::MOmegaPhiKappa(0.1, 0.2, 0.3);
    Mat3D m(&rotation);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(m.t[i], 0);
    Matrice back;
    back = m;
    EXPECT_EQ(elements(back), elements(rotation));
    double omega, phi, kappa;
    EXPECT_LT(back.GetOmegaPhiKappa(omega, phi, kappa), 1e-12);
    EXPECT_NEAR(omega, 0.1, 1e-12);
    EXPECT_NEAR(phi, 0.2, 1e-12);
    EXPECT_NEAR(kappa, 0.3, 1e-12);
}

TEST(MatriceTransforms, SmallerMatricesAndVectors) {
    const Matrice plane = table({{2, 3}, {4, 5}});
    Mat3D m;
    m.t[0] = m.t[1] = m.t[2] = 7;
    m = plane;
    EXPECT_EQ(m.r[0][0], 2);
    EXPECT_EQ(m.r[1][1], 5);
    EXPECT_EQ(m.r[2][2], 1) << "the rest of the linear part stays";
    EXPECT_EQ(m.t[0], 0);
    EXPECT_EQ(m.t[1], 0);
    EXPECT_EQ(m.t[2], 7) << "only the rows copied lose their translation";
    EXPECT_FALSE(m.FromMatrice(plane));

    const Matrice column = vector({4, 5, 6});
    Mat3D fromVector(&column);
    EXPECT_EQ(fromVector.r[2][0], 6);
    EXPECT_EQ(fromVector.r[2][2], 1);
    Mat3D identity(static_cast<const Matrice*>(nullptr));
    EXPECT_EQ(identity.r[1][1], 1);

    Mat2D p;
    p.t[0] = 9;
    EXPECT_TRUE(p.FromMatrice(table({{1, 2, 3}, {4, 5, 6}})));
    EXPECT_EQ(p.m[1][1], 5);
    EXPECT_EQ(p.t[0], 9) << "FromMatrice leaves the translation";
    Mat2D q(&plane);
    EXPECT_EQ(q.m[0][1], 3);
    q = vector({8});
    EXPECT_EQ(q.m[0][0], 8);
    EXPECT_EQ(q.m[0][1], 3);

    double omega, phi, kappa;
    EXPECT_LT(Matrice::MKappa(0.5).GetOmegaPhiKappa(omega, phi, kappa), 1e-12);
    EXPECT_NEAR(kappa, 0.5, 1e-12);
    EXPECT_LT(table({{0, -1}, {1, 0}}).GetPhiOmegaKappa(phi, omega, kappa), 1e-12)
        << "a plane turn completed by the identity";
    EXPECT_NEAR(kappa, M_PI / 2, 1e-12);
}

TEST(MatriceTransforms, SystemFromTwoVectors) {
    Matrice m(2, 2);
    const double vx[3] = {0, 2, 0};
    const double vy[3] = {-1, 0, 0};
    EXPECT_TRUE(m.SetFromVxVy(vx, vy));
    EXPECT_EQ(elements(m), (Rows{{0, 1, 0}, {-1, 0, 0}, {0, 0, 1}}));
    EXPECT_FALSE(m.SetFromVxVy(vx, vx));
    EXPECT_EQ(m.rows, 3u) << "a degenerate system changes nothing";
    const double a[3] = {1, 0, 0};
    const double b[3] = {0, 1, 0};
    double c[3];
    EXPECT_TRUE(Matrice::crossProduct(a, b, c));
    EXPECT_EQ(c[2], 1);
    EXPECT_EQ(Matrice::Dist3D(vx), 2);
    EXPECT_EQ(elements(Matrice::MOmega(0)), (Rows{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}));
    EXPECT_NEAR(Matrice::MPhi(M_PI / 2).element(0, 2), 1, 1e-15);
}
