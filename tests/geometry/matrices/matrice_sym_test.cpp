// The profile matrix: row growth, copies to and from the dense form, products with their size checks, and
// the inversions.
#include "geometry/matrices/matrice_sym.h"
#include "platform/ui/message_box.h"
#include "tests/geometry/matrices/one_exchange_at_a_time.h"
#include "tests/geometry/matrices/recording_meter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

namespace {

using testing_support::RecordingMeter;
using testing_support::stepsUpTo;
using Rows = std::vector<std::vector<double>>;

MatriceSym profile(const Rows& values) {
    MatriceSym m;
    m.SetNul(static_cast<std::uint32_t>(values.size()), static_cast<std::uint32_t>(values[0].size()));
    for (std::uint32_t i = 0; i < m.rows; ++i)
        for (std::uint32_t j = 0; j < m.cols; ++j)
            if (values[i][j] != 0) *m.pAt(i, j) = values[i][j];
    return m;
}

Rows elements(const MatriceSym& m) {
    Rows out(m.rows, std::vector<double>(m.cols));
    for (std::uint32_t i = 0; i < m.rows; ++i)
        for (std::uint32_t j = 0; j < m.cols; ++j)
            out[i][j] = m[i][static_cast<std::int32_t>(j)];
    return out;
}

// Records the message boxes shown.
class ScriptedBoxes {
public:
    ScriptedBoxes() {
        platform::setMessageBoxHandler([this](const platform::MessageBoxRequest& box) {
            shown.push_back(box.text);
            return platform::IDOK;
        });
    }
    ~ScriptedBoxes() { platform::setMessageBoxHandler(nullptr); }
    std::vector<std::string> shown;
};

const Rows kBand = {{4, 1, 0, 0}, {1, 4, 1, 0}, {0, 1, 4, 1}, {0, 0, 1, 4}};

} // namespace

TEST(MatriceSymRows, GrowthToTheRightAndToTheLeft) {
    MatriceSym m;
    m.SetNul(2, 12);
    *m.pAt(0, 5) = 5;
    EXPECT_EQ(m[0].first, 5);
    EXPECT_EQ(m[0].last, 5);
    EXPECT_EQ(m[0].allocated, 10);
    *m.pAt(0, 2) = 2;
    EXPECT_EQ(m[0].first, 2);
    EXPECT_EQ(m[0].last, 5);
    EXPECT_EQ(m[0].allocated, 13);
    EXPECT_EQ(m[0][3], 0);
    EXPECT_EQ(m[0][4], 0);
    *m.pAt(0, 11) = 11;
    EXPECT_EQ(m[0].last, 11);
    EXPECT_EQ(m[0].allocated, 13) << "still inside the block";
    EXPECT_EQ(m[0][8], 0);
    EXPECT_EQ(elements(m)[0], (std::vector<double>{0, 0, 2, 0, 0, 5, 0, 0, 0, 0, 0, 11}));
    EXPECT_EQ(m.pAt(2, 0), nullptr);
    EXPECT_EQ(m.pAt(0, 12), nullptr);
    MatriceSym::pLine row{};
    row.pAtt(3);
    EXPECT_EQ(*row.pAtt(30), 0);
    EXPECT_EQ(row.allocated, 37) << "beyond the block: the range plus 10";
    std::free(row.values);
}

TEST(MatriceSymRows, TheRowBeyondTheLastIsEmpty) {
    const MatriceSym m = profile(kBand);
    EXPECT_EQ(m[4].values, nullptr);
    EXPECT_EQ(m[4][0], 0);
    EXPECT_EQ(m[100][2], 0);
    EXPECT_EQ(MatriceSym()[0][0], 0);
}

TEST(MatriceSymCopies, AssignmentTrimsEachRowToItsNonZeros) {
    MatriceSym m;
    m.SetNul(2, 8);
    *m.pAt(0, 7) = 0;
    *m.pAt(0, 4) = 0;
    *m.pAt(0, 6) = 3;
    *m.pAt(1, 1) = 0;
    MatriceSym copy;
    copy = m;
    EXPECT_EQ(copy[0].first, 6);
    EXPECT_EQ(copy[0].last, 6);
    EXPECT_EQ(copy[0][6], 3);
    EXPECT_EQ(copy[1].values, nullptr) << "a row of zeros stays empty";
    MatriceSym& same = copy; // a self-assignment as code makes it unknowingly, through another name
    copy = same;
    EXPECT_EQ(copy[0][6], 3);

    Matrice dense;
    EXPECT_EQ(m.CopyTo(dense, 0), 1);
    EXPECT_EQ(dense.rows, 2u);
    EXPECT_EQ(dense.element(0, 6), 3);
    EXPECT_EQ(m.CopyTo(dense, 1), 1);
    EXPECT_EQ(dense.rows, 8u);
    EXPECT_EQ(dense.element(6, 0), 3);
    MatriceSym back;
    back = dense;
    EXPECT_EQ(back[6].first, 0);
    EXPECT_EQ(back[6].last, 0);
    EXPECT_EQ(back[0].values, nullptr);

    Matrice column(3, 0);
    column.vec[1] = 9;
    back = column;
    EXPECT_EQ(back.cols, 1u);
    EXPECT_EQ(back[1][0], 9);
}

TEST(MatriceSymCopies, TransposeAndColumnRanges) {
    const MatriceSym m = profile({{1, 2, 0, 0}, {0, 0, 3, 0}, {0, 4, 5, 0}});
    std::uint32_t* minRow = nullptr;
    std::uint32_t* maxRow = nullptr;
    EXPECT_EQ(m.GetMinMaxCol(minRow, maxRow), 4u);
    EXPECT_EQ(std::vector<std::uint32_t>(minRow, minRow + 4),
              (std::vector<std::uint32_t>{0, 0, 1, 0x7F7F7F7F}));
    EXPECT_EQ(std::vector<std::uint32_t>(maxRow, maxRow + 4), (std::vector<std::uint32_t>{0, 2, 2, 0}));
    std::free(minRow);
    std::free(maxRow);
    MatriceSym t;
    t = m.Transpose();
    EXPECT_EQ(t.borrowed, 0);
    EXPECT_EQ(elements(t), (Rows{{1, 0, 0}, {2, 0, 4}, {0, 3, 5}, {0, 0, 0}}));
    m.Transpose();
    const MatriceSym kept = m.Transpose();
    EXPECT_EQ(elements(kept.Transpose()), elements(m));
}

TEST(MatriceSymProducts, DenseAndProfileOperands) {
    const MatriceSym a = profile({{1, 2, 0}, {0, 3, 4}});
    MatriceSym r;
    EXPECT_EQ(MatriceSym::AddMul(r, a, a, 1), 0);
    EXPECT_EQ(elements(r), (Rows{{5, 6}, {6, 25}}));
    EXPECT_EQ(MatriceSym::AddMul(r, a, a, 1), 0);
    EXPECT_EQ(elements(r), (Rows{{10, 12}, {12, 50}})) << "products accumulate";
    MatriceSym n;
    EXPECT_EQ(MatriceSym::AddMul(n, a.Transpose(), a, 0), 0);
    EXPECT_EQ(elements(n), (Rows{{1, 2, 0}, {2, 13, 12}, {0, 12, 16}}));
    EXPECT_EQ(n[0].last, 1) << "exact zeros are not written";

    Matrice m(3, 1);
    m[0][0] = 1;
    m[1][0] = 1;
    m[2][0] = 1;
    MatriceSym am;
    EXPECT_EQ(MatriceSym::AddMul(am, a, m), 0);
    EXPECT_EQ(elements(am), (Rows{{3}, {7}}));

    const double x[3] = {1, 1, 1};
    double y[2] = {10, 20};
    EXPECT_EQ(MatriceSym::AddMul(y, a, x, -1), 0);
    EXPECT_EQ(y[0], 7);
    EXPECT_EQ(y[1], 13);
    double z[3] = {0, 0, 0};
    EXPECT_EQ(MatriceSym::SubMulT(z, a, y), 0);
    EXPECT_EQ(z[1], -(2 * 7 + 3 * 13));
    Matrice dense;
    EXPECT_EQ(MatriceSym::SubMulNT(dense, a, a), 0);
    EXPECT_EQ(dense.element(1, 1), -25);
}

TEST(MatriceSymProducts, SizeProblemsAreShownAndChangeNothing) {
    ScriptedBoxes boxes;
    const MatriceSym a = profile({{1, 2, 0}, {0, 3, 4}});
    MatriceSym small = profile({{7}});
    EXPECT_EQ(MatriceSym::AddMul(small, a, a, 1), -1);
    EXPECT_EQ(elements(small), (Rows{{7}}));
    EXPECT_EQ(MatriceSym::AddMul(small, a, a, 0), -1) << "a's 3 columns against a's 2 rows";
    Matrice m(2, 1);
    EXPECT_EQ(MatriceSym::AddMul(small, a, m), -1);
    Matrice dense(1, 1);
    EXPECT_EQ(MatriceSym::SubMulNT(dense, a, a), -1);
    const double x[3] = {};
    EXPECT_EQ(MatriceSym::AddMul(nullptr, a, x, 1), -1);
    EXPECT_EQ(MatriceSym::SubMulT(nullptr, a, x), -1);
    const std::string sizes = "MatriceSym:AddMul(...):probleme de Colonne et lignes";
    EXPECT_EQ(boxes.shown, (std::vector<std::string>{sizes, sizes, sizes,
                                                     "MatriceSym:SubMulT(...):probleme de Colonne et lignes",
                                                     "MatriceSym:AddMul(double *,...):probleme de Donn\xE9"
                                                     "es",
                                                     "MatriceSym:SubMul(double *,...):probleme de Donn\xE9"
                                                     "es"}));
}

TEST(MatriceSymInverse, DiagonalBandAndPermutation) {
    MatriceSym d = profile({{2, 0}, {0, 4}});
    EXPECT_EQ(d.InverseSimple(), 0);
    EXPECT_EQ(elements(d), (Rows{{0.5, 0}, {0, 0.25}}));
    EXPECT_EQ(d.pivotMini, 2);
    MatriceSym p = profile({{0, 1}, {1, 0}});
    EXPECT_EQ(p.Inverse(), 0);
    EXPECT_EQ(elements(p), (Rows{{0, 1}, {1, 0}}));
    for (int way = 0; way < 3; ++way) {
        MatriceSym m = profile(kBand);
        EXPECT_EQ(way == 0 ? m.Inverse(1) : m.InverseSimple(way == 1 ? 2 : 0), 0);
        Matrice inverse;
        m.CopyTo(inverse, 0);
        Matrice original;
        profile(kBand).CopyTo(original, 0);
        const Matrice product = original * inverse;
        for (std::uint32_t i = 0; i < 4; ++i)
            for (std::uint32_t j = 0; j < 4; ++j)
                EXPECT_NEAR(product.element(i, j), i == j, 1e-14) << way;
    }
}

// A band wider than the panel of the delayed walk, with the reduction to the pivot row's range and without.
TEST(MatriceSymInverse, TheSimpleInversionGivesWhatOneExchangeAtATimeGives) {
    for (const int opt : {0, 2}) {
        Rows band = testing_support::randomBand(90, 6, 4);
        MatriceSym m = profile(band);
        EXPECT_EQ(m.InverseSimple(opt), 0);
        testing_support::exchangeInOrder(band, 90);
        const Rows inverse = elements(m);
        for (std::size_t i = 0; i < band.size(); ++i)
            for (std::size_t j = 0; j < band.size(); ++j)
                ASSERT_EQ(inverse[i][j], band[i][j]) << opt << " " << i << "," << j;
    }
}

// The exchanges made one at a time, each row grown through pAtt to the pivot row's range.
void exchangeThroughPAtt(MatriceSym& m, bool pivotRangeOnly) {
    for (std::uint32_t k = 0; k < m.rows; ++k) {
        const MatriceSym::pLine pivot = m[k];
        const auto column = static_cast<std::int32_t>(k);
        const double h = 1 / pivot[column];
        const auto begin = pivotRangeOnly ? static_cast<std::uint32_t>(pivot.first) : 0;
        const auto end = pivotRangeOnly ? static_cast<std::uint32_t>(pivot.last) + 1 : m.rows;
        for (std::uint32_t i = begin; i < end; ++i) {
            const double f = m[i][column] * h;
            if (i == k || f == 0) continue;
            m.pAt(i, static_cast<std::uint32_t>(pivot.first));
            m.pAt(i, static_cast<std::uint32_t>(pivot.last));
            for (std::int32_t j = pivot.first; j <= pivot.last; ++j)
                *m.pAt(i, static_cast<std::uint32_t>(j)) -= f * pivot[j];
            *m.pAt(i, k) = f;
        }
        for (std::int32_t j = pivot.first; j <= pivot.last; ++j)
            pivot.values[j - pivot.first] *= -h;
        pivot.values[column - pivot.first] = h;
    }
}

// Growing the rows in large steps on the way must leave the ranges and block sizes that pAtt gives.
TEST(MatriceSymInverse, TheRowsGrowAsWithOneExchangeAtATime) {
    for (const int opt : {0, 2}) {
        const Rows band = testing_support::randomBand(90, 6, 5);
        MatriceSym m = profile(band);
        MatriceSym expected = profile(band);
        EXPECT_EQ(m.InverseSimple(opt), 0);
        exchangeThroughPAtt(expected, opt == 2);
        for (std::uint32_t i = 0; i < m.rows; ++i) {
            EXPECT_EQ(m[i].first, expected[i].first) << opt << " " << i;
            EXPECT_EQ(m[i].last, expected[i].last) << opt << " " << i;
            ASSERT_EQ(m[i].allocated, expected[i].allocated) << opt << " " << i;
        }
    }
}

TEST(MatriceSymInverse, SpecialResults) {
    MatriceSym singular = profile({{1, 2}, {2, 4}});
    EXPECT_EQ(singular.Inverse(), 0x10001);
    MatriceSym emptyRow = profile({{1, 0}, {0, 0}});
    EXPECT_EQ(emptyRow.Inverse(), 0x10001);
    EXPECT_EQ(emptyRow.InverseSimple(), 0x10001);
    MatriceSym negative = profile({{-1, 0}, {0, 1}});
    EXPECT_EQ(negative.Inverse(4), 5);
    MatriceSym nan = profile({{1, 0}, {0, std::numeric_limits<double>::quiet_NaN()}});
    EXPECT_EQ(nan.InverseSimple(), 3);
    MatriceSym rectangle;
    rectangle.SetNul(2, 3);
    EXPECT_EQ(rectangle.Inverse(), 1);
    EXPECT_EQ(MatriceSym().InverseSimple(), 1);
}

TEST(MatriceSymProgress, InversionsAndProductsReportEveryRow) {
    for (int way = 0; way < 2; ++way) {
        RecordingMeter all;
        MatriceSym m = profile(kBand);
        EXPECT_EQ(way ? m.InverseSimple(2, &all) : m.Inverse(0, &all), 0);
        EXPECT_EQ(all.steps, stepsUpTo(4));
        RecordingMeter cancel(RecordingMeter::At::Cancel, 2);
        MatriceSym c = profile(kBand);
        EXPECT_EQ(way ? c.InverseSimple(2, &cancel) : c.Inverse(0, &cancel), 0x30002);
        RecordingMeter throwing(RecordingMeter::At::Throw, 1);
        MatriceSym t = profile(kBand);
        EXPECT_EQ(way ? t.InverseSimple(0, &throwing) : t.Inverse(0, &throwing), 2);
    }
    const MatriceSym a = profile(kBand);
    MatriceSym r;
    RecordingMeter rows;
    EXPECT_EQ(MatriceSym::AddMul(r, a, a, 1, &rows), 0);
    EXPECT_EQ(rows.steps, stepsUpTo(4));
    RecordingMeter cancel(RecordingMeter::At::Cancel, 1);
    Matrice dense;
    EXPECT_EQ(MatriceSym::SubMulNT(dense, a, a, &cancel), 0x30001);
}
