// Inversions and determinant of the dense matrix: result codes, the pivot threshold, progress and cancel.
#include "geometry/matrices/matrice.h"
#include "tests/geometry/matrices/matrix_literals.h"
#include "tests/geometry/matrices/one_exchange_at_a_time.h"
#include "tests/geometry/matrices/recording_meter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace {

using testing_support::RecordingMeter;
using testing_support::stepsUpTo;

using testing_support::DenseRows;
using testing_support::exchangeInOrder;
using testing_support::table;

Matrice denseOf(const DenseRows& rows) {
    Matrice m(static_cast<std::uint32_t>(rows.size()), static_cast<int>(rows.size()));
    for (std::uint32_t i = 0; i < m.rows; ++i)
        for (std::uint32_t j = 0; j < m.cols; ++j)
            m[i][j] = rows[i][j];
    return m;
}

void expectSameElements(const Matrice& m, const DenseRows& expected) {
    for (std::uint32_t i = 0; i < m.rows; ++i)
        for (std::uint32_t j = 0; j < m.cols; ++j)
            ASSERT_EQ(m.element(i, j), expected[i][j]) << i << "," << j;
}

// A well-conditioned 5 x 5 that needs row and column exchanges.
Matrice mixed() {
    return table({{0, 2, 1, 0, 3}, {4, 0, 0, 1, 0}, {1, 1, 5, 0, 0}, {0, 3, 0, 0, 1}, {2, 0, 1, 6, 0}});
}

void expectInverse(const Matrice& original, const Matrice& inverse) {
    const Matrice product = original * inverse;
    for (std::uint32_t i = 0; i < original.rows; ++i)
        for (std::uint32_t j = 0; j < original.rows; ++j)
            EXPECT_NEAR(product.element(i, j), i == j ? 1 : 0, 1e-12) << i << "," << j;
}

} // namespace

TEST(MatriceInverse, DiagonalAndPivotMini) {
    Matrice m = table({{2, 0}, {0, 4}});
    EXPECT_EQ(m.Inverse(), 0);
    EXPECT_EQ(m.element(0, 0), 0.5);
    EXPECT_EQ(m.element(1, 1), 0.25);
    EXPECT_EQ(m.element(0, 1), 0);
    EXPECT_EQ(m.pivotMini, 2);
    Matrice s = table({{2, 0}, {0, 4}});
    EXPECT_EQ(s.InverseSimple(), 0);
    EXPECT_EQ(s.element(1, 1), 0.25);
}

TEST(MatriceInverse, BothInversionsUndoTheirExchanges) {
    for (int opt : {0, 1}) {
        Matrice m = mixed();
        EXPECT_EQ(m.Inverse(opt), 0);
        expectInverse(mixed(), m);
    }
    Matrice s = table({{4, 1, 0}, {1, 3, 1}, {0, 1, 2}});
    EXPECT_EQ(s.InverseSimple(), 0);
    expectInverse(table({{4, 1, 0}, {1, 3, 1}, {0, 1, 2}}), s);
}

TEST(MatriceInverse, SingularMatricesAreReportedAndPatched) {
    Matrice m = table({{1, 2}, {2, 4}});
    EXPECT_EQ(m.Inverse(), 0x10001);
    EXPECT_EQ(m.element(0, 0), 0) << "the row without a pivot gets 0 on its diagonal";
    EXPECT_EQ(m.element(1, 1), 0.25);
    EXPECT_EQ(m.pivotMini, 0);
    Matrice swapped = table({{0, 1, 0}, {1, 0, 0}, {0, 0, 0}});
    EXPECT_EQ(swapped.Inverse(), 0x10002);
    EXPECT_EQ(swapped.element(0, 0), 1e-10) << "pivoted rows with a zero diagonal get a tiny one";
    EXPECT_EQ(swapped.element(1, 1), 1e-10);
    EXPECT_EQ(swapped.element(2, 2), 0);
    Matrice zero(3, 3);
    EXPECT_EQ(zero.Inverse(), 0x10000);
    Matrice s = table({{1, 2}, {2, 4}});
    EXPECT_EQ(s.InverseSimple(), 0x10001);
    Matrice z = table({{0, 1}, {1, 1}});
    EXPECT_EQ(z.InverseSimple(), 0x10000) << "no search: a zero diagonal stops at once";
}

TEST(MatriceInverse, APermutationIsItsOwnInverse) {
    Matrice m = table({{0, 1}, {1, 0}});
    EXPECT_EQ(m.Inverse(), 0);
    EXPECT_EQ(m.element(0, 1), 1);
    EXPECT_EQ(m.element(1, 0), 1);
    EXPECT_EQ(m.element(0, 0), 0);
}

TEST(MatriceInverse, SpecialResults) {
    Matrice notPositive = table({{-1, 0}, {0, 1}});
    EXPECT_EQ(notPositive.Inverse(4), 5);
    Matrice nan = table({{1, 0}, {0, std::numeric_limits<double>::quiet_NaN()}});
    EXPECT_EQ(nan.Inverse(), 3);
    EXPECT_EQ(nan.InverseSimple(), 3);
    Matrice rectangle(2, 3);
    EXPECT_EQ(rectangle.Inverse(), 1);
    EXPECT_EQ(Matrice().Inverse(), 1);
    Matrice vector(2, 0);
    EXPECT_EQ(vector.Inverse(), 1);
    EXPECT_EQ(vector.InverseSimple(), 1);
}

TEST(MatriceInverse, AOneElementVectorIsInvertedAsAScalar) {
    Matrice x(1, 0);
    x.vec[0] = 4;
    EXPECT_EQ(x.Inverse(), 0);
    EXPECT_EQ(x.vec[0], 0.25);
    x.vec[0] = 0;
    EXPECT_EQ(x.Inverse(), 0x10000) << "no infinity reported as success";
    EXPECT_EQ(x.vec[0], 0);
}

// Small integers tie often: the pivot must be the first of the largest in row order among the rows and
// columns left, whatever the row's length against the search's vector width.
TEST(MatriceInverse, TheFullPivotInversionPicksTheFirstLargestLeft) {
    for (const std::size_t n : {2u, 3u, 5u, 7u, 13u, 37u}) {
        std::mt19937 rng(static_cast<unsigned>(n));
        std::uniform_int_distribution<int> value(-3, 3);
        DenseRows a(n, std::vector<double>(n));
        for (auto& row : a)
            for (double& x : row)
                x = value(rng);
        Matrice m = denseOf(a);
        ASSERT_EQ(m.Inverse(), 0) << n;

        std::vector<std::size_t> colOfRow(n, n), rowOfCol(n, n);
        for (std::size_t k = 0; k < n; ++k) {
            std::size_t e = n, d = n;
            for (std::size_t i = 0; i < n; ++i)
                for (std::size_t j = 0; j < n; ++j)
                    if (colOfRow[i] == n && rowOfCol[j] == n &&
                        (e == n || std::fabs(a[i][j]) > std::fabs(a[e][d])))
                        e = i, d = j;
            colOfRow[e] = d;
            rowOfCol[d] = e;
            testing_support::exchangeAt(a, e, d);
        }
        DenseRows inverse(n, std::vector<double>(n));
        for (std::size_t e = 0; e < n; ++e)
            for (std::size_t d = 0; d < n; ++d)
                inverse[colOfRow[e]][rowOfCol[d]] = a[e][d];
        expectSameElements(m, inverse);
    }
}

// Whole, stopped by a singular pivot and cancelled, each half way through a panel.
TEST(MatriceInverse, TheSimpleInversionGivesWhatOneExchangeAtATimeGives) {
    DenseRows full = testing_support::randomBand(75, 74, 1);
    Matrice m = denseOf(full);
    EXPECT_EQ(m.InverseSimple(), 0);
    exchangeInOrder(full, 75);
    expectSameElements(m, full);

    DenseRows singular = testing_support::randomBand(75, 74, 2);
    for (std::size_t j = 0; j < 75; ++j)
        singular[45][j] = singular[3][j] + singular[7][j];
    Matrice s = denseOf(singular);
    EXPECT_EQ(s.InverseSimple(), 0x10000 + 45);
    exchangeInOrder(singular, 45);
    expectSameElements(s, singular);

    DenseRows cancelled = testing_support::randomBand(75, 74, 3);
    Matrice c = denseOf(cancelled);
    RecordingMeter cancel(RecordingMeter::At::Cancel, 40);
    EXPECT_EQ(c.InverseSimple(0, &cancel), 0x30000 + 40);
    exchangeInOrder(cancelled, 40);
    expectSameElements(c, cancelled);
}

TEST(MatriceProgress, EveryStepInOrderThenCancelOrThrow) {
    for (bool simple : {false, true}) {
        RecordingMeter all;
        Matrice m = mixed();
        EXPECT_EQ(simple ? m.InverseSimple(0, &all) : m.Inverse(0, &all), simple ? 0x10000 : 0);
        EXPECT_EQ(all.steps, simple ? stepsUpTo(1) : stepsUpTo(5));

        RecordingMeter cancel(RecordingMeter::At::Cancel, 0);
        Matrice untouched = mixed();
        EXPECT_EQ(simple ? untouched.InverseSimple(0, &cancel) : untouched.Inverse(0, &cancel), 0x30000);
        EXPECT_EQ(untouched.element(1, 0), 4) << "cancelled before the first exchange";
    }
    RecordingMeter cancel(RecordingMeter::At::Cancel, 3);
    Matrice m = mixed();
    EXPECT_EQ(m.Inverse(0, &cancel), 0x30003);
    EXPECT_EQ(cancel.steps, stepsUpTo(4));
    RecordingMeter throwing(RecordingMeter::At::Throw, 2);
    Matrice t = mixed();
    EXPECT_EQ(t.Inverse(0, &throwing), 2);
    Matrice s = table({{4, 1, 0}, {1, 3, 1}, {0, 1, 2}});
    RecordingMeter simpleCancel(RecordingMeter::At::Cancel, 2);
    EXPECT_EQ(s.InverseSimple(0, &simpleCancel), 0x30002);
    RecordingMeter simpleThrow(RecordingMeter::At::Throw, 1);
    EXPECT_EQ(s.InverseSimple(0, &simpleThrow), 2);
}

TEST(MatriceDeterminant, SmallAndDegenerateMatrices) {
    EXPECT_EQ(table({{3, 1}, {4, 2}}).Determinant(), 2);
    EXPECT_EQ(table({{7}}).Determinant(), 7);
    EXPECT_EQ(Matrice(2, 3).Determinant(), 0);
    EXPECT_EQ(Matrice().Determinant(), 0);
    EXPECT_NEAR(mixed().Determinant(), -799, 1e-9);
}

// Large orders go through a factorisation: the identity scaled by 1.1 has the power as its determinant
// within rounding, where a cofactor expansion of order 20 would never finish.
TEST(MatriceDeterminant, LargeOrdersFinish) {
    Matrice m;
    m.SetIDN(20, 20);
    m *= 1.1;
    std::swap(m.lines[0], m.lines[1]);
    EXPECT_NEAR(m.Determinant(), -std::pow(1.1, 20), 1e-12);
}
