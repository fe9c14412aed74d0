// Running out of memory: this test's environment lets the allocator answer null (and refuses single blocks
// above 1 GiB), so the failures are real ones.
#include "geometry/matrices/matrice_sym.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

class MatricesOutOfMemory : public ::testing::Test {
protected:
    void SetUp() override { g_CalculState = 0; }
};

void expectEmpty(const Matrice& m) {
    EXPECT_EQ(m.rows, 0u);
    EXPECT_EQ(m.cols, 0u);
    EXPECT_EQ(m.lines, nullptr);
    EXPECT_EQ(m.vec, nullptr);
}

} // namespace

TEST_F(MatricesOutOfMemory, AHugeMatrixIsLeftEmptyAndEveryMemberAnswersItsFailure) {
    Matrice m(2, 2);
    m.SetNul(1000, 200'000'000);
    EXPECT_EQ(g_CalculState, -100);
    expectEmpty(m);
    EXPECT_EQ(m.Inverse(), 1);
    EXPECT_EQ(m.InverseSimple(), 1);
    EXPECT_EQ(m.RemoveColumn(0), -1);
    EXPECT_EQ(m.RemoveLine(0), -1);
    EXPECT_EQ(m.Determinant(), 0);
    expectEmpty(m * m);
    expectEmpty(m + m);
    expectEmpty(m - m);
    expectEmpty(m * 2.0);
    expectEmpty(m.Transpose());
    EXPECT_EQ(m[0], nullptr);
    m.Mprint();

    Matrice v;
    v.SetNul(300'000'000, 0);
    expectEmpty(v);
    Matrice small(2, 0);
    small.Realloc(300'000'000);
    expectEmpty(small);
    EXPECT_EQ(g_CalculState, -100) << "never reset by the matrices";
}

TEST_F(MatricesOutOfMemory, CountsWhoseProductOverflowsAreRefusedBeforeAnyAllocation) {
    Matrice m;
    m.SetNul(0xFFFFFFFF, 0x7FFFFFFF);
    expectEmpty(m);
    EXPECT_EQ(g_CalculState, -100);
}

TEST_F(MatricesOutOfMemory, AProfileMatrixStopsTheSameWay) {
    MatriceSym m;
    m.SetNul(300'000'000, 4);
    EXPECT_EQ(g_CalculState, -100);
    EXPECT_EQ(m.table, nullptr);
    EXPECT_EQ(m.rows, 0u);
    EXPECT_EQ(m.Inverse(), 1);
    EXPECT_EQ(m.InverseSimple(), 1);
    EXPECT_EQ(m.pAt(0, 0), nullptr);

    g_CalculState = 0;
    MatriceSym wide;
    wide.SetNul(1, 0x7FFFFFFF);
    ASSERT_NE(wide.pAt(0, 0), nullptr);
    EXPECT_EQ(wide.pAt(0, 0x7FFFFFF0), nullptr) << "a row of 16 GiB";
    EXPECT_EQ(g_CalculState, -100);
    EXPECT_EQ(wide[0].last, 0) << "the row keeps what it had";
}
