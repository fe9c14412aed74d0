// The dense matrix against Eigen: inversions of random matrices, well and badly conditioned, of order 1 to
// 40; determinants on both sides of the switch from cofactor expansion to factorisation; products,
// transposition and removals exactly.
#include "geometry/matrices/matrice.h"
#include "tests/oracle/matrices_eigen.h"

#include <gtest/gtest.h>

#include <Eigen/Dense>

#include <cmath>
#include <random>

namespace {

using namespace testing_support;

constexpr int kInversions = 500;

class MatricesOracle : public ::testing::Test {
protected:
    std::mt19937_64 rng{20261208};

    double uniform(double low, double high) { return std::uniform_real_distribution<double>(low, high)(rng); }
    int order(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); }

    Eigen::MatrixXd randomOrthogonal(int n) {
        const Eigen::MatrixXd g = Eigen::MatrixXd::NullaryExpr(n, n, [&] { return uniform(-1, 1); });
        return Eigen::HouseholderQR<Eigen::MatrixXd>(g).householderQ();
    }

    // Singular values spread evenly in the logarithm over `decades`.
    Eigen::VectorXd spectrum(int n, double decades) {
        Eigen::VectorXd s(n);
        for (int i = 0; i < n; ++i)
            s[i] = std::pow(10.0, -decades * (n == 1 ? 0 : double(i) / (n - 1))) * uniform(1, 2);
        return s;
    }

    Eigen::MatrixXd smallIntegers(int r, int c) {
        return Eigen::MatrixXd::NullaryExpr(r, c, [&] { return double(order(-9, 9)); });
    }
};

Matrice toVector(const Eigen::VectorXd& v) {
    Matrice m(static_cast<std::uint32_t>(v.size()), 0);
    for (int i = 0; i < v.size(); ++i)
        m.vec[i] = v[i];
    return m;
}

// Rounding in an inversion grows with the condition number: 1e-9 up to 1e4, proportionally beyond.
double inversionTolerance(double condition) {
    return 1e-9 * std::max(1.0, condition / 1e4);
}

} // namespace

TEST_F(MatricesOracle, InversionsOfGeneralAndSymmetricMatrices) {
    for (int c = 0; c < kInversions; ++c) {
        const int n = order(1, 40);
        const double decades = c % 2 ? uniform(0, 1) : uniform(5, 8);
        const Eigen::MatrixXd u = randomOrthogonal(n);
        const Eigen::VectorXd s = spectrum(n, decades);
        const Eigen::MatrixXd general = u * s.asDiagonal() * randomOrthogonal(n);
        // Elimination without a search is only sound where no pivot can vanish: positive definite matrices.
        const Eigen::MatrixXd definite = u * s.asDiagonal() * u.transpose();
        for (const Eigen::MatrixXd* a : {&general, &definite}) {
            const Eigen::FullPivLU<Eigen::MatrixXd> lu(*a);
            const double tolerance = inversionTolerance(1 / lu.rcond());
            Matrice full = toMatrice(*a);
            ASSERT_EQ(full.Inverse(a == &definite ? 1 : 0), 0) << "case " << c << ", order " << n;
            EXPECT_LT(relativeError(toEigen(full), lu.inverse()), tolerance)
                << "case " << c << ", order " << n;
            if (a != &definite) continue;
            Matrice simple = toMatrice(*a);
            ASSERT_EQ(simple.InverseSimple(4), 0) << "case " << c;
            EXPECT_LT(relativeError(toEigen(simple), lu.inverse()), tolerance)
                << "case " << c << ", order " << n;
        }
    }
}

TEST_F(MatricesOracle, DeterminantsOnBothSidesOfTheFactorisation) {
    for (int n = 2; n <= 16; ++n) {
        for (int c = 0; c < 5; ++c) {
            const Eigen::MatrixXd a = randomOrthogonal(n) * spectrum(n, 1).asDiagonal() * randomOrthogonal(n);
            const double expected = a.determinant();
            EXPECT_NEAR(toMatrice(a).Determinant(), expected, 1e-10 * std::fabs(expected)) << "order " << n;
        }
    }
}

TEST_F(MatricesOracle, ProductsTransposeAndRemovalsExactly) {
    for (int c = 0; c < 100; ++c) {
        const int r = order(1, 12), k = order(1, 12), q = order(1, 12);
        const Eigen::MatrixXd a = smallIntegers(r, k);
        const Eigen::MatrixXd b = smallIntegers(k, q);
        const Eigen::MatrixXd same = smallIntegers(r, k);
        const Eigen::VectorXd x = smallIntegers(k, 1);
        const Matrice ma = toMatrice(a);
        EXPECT_EQ(toEigen(ma * toMatrice(b)), a * b);
        EXPECT_EQ(toEigen(ma * toVector(x)), a * x);
        EXPECT_EQ(toEigen(ma + toMatrice(same)), a + same);
        EXPECT_EQ(toEigen(ma - toMatrice(same)), a - same);
        EXPECT_EQ(toEigen(ma * -3.0), a * -3.0);
        EXPECT_EQ(toEigen(ma.Transpose()), a.transpose());
        if (k > 1) {
            const int j = order(0, k - 1);
            Matrice m = toMatrice(a);
            ASSERT_EQ(m.RemoveColumn(static_cast<std::uint32_t>(j)), 1);
            Eigen::MatrixXd expected(r, k - 1);
            expected << a.leftCols(j), a.rightCols(k - 1 - j);
            EXPECT_EQ(toEigen(m), expected);
        }
        if (r > 1) {
            const int i = order(0, r - 1);
            Matrice m = toMatrice(a);
            ASSERT_EQ(m.RemoveLine(static_cast<std::uint32_t>(i)), 1);
            Eigen::MatrixXd expected(r - 1, k);
            expected << a.topRows(i), a.bottomRows(r - 1 - i);
            EXPECT_EQ(toEigen(m), expected);
        }
    }
}
