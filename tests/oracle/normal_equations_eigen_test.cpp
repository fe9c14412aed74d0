// Normal equations of random sparse networks in profile form against Eigen: N = A^T A and A^T y formed both
// ways, N inverted three ways, and the profile kept by assignment.
#include "geometry/matrices/matrice_sym.h"
#include "tests/oracle/matrices_eigen.h"

#include <gtest/gtest.h>

#include <Eigen/Dense>

#include <algorithm>
#include <random>
#include <vector>

namespace {

using namespace testing_support;

constexpr int kNetworks = 6;

// A plane network of points on a grid, two unknowns (x, y) per point numbered row by row, so that N is a
// band. Each point is tied through all four unknowns to the next point (the last one to the one before), and
// through 2 to 4 unknowns, picked at random, to its neighbours; coefficients are random, and the
// observations come in the order of their first point.
struct Network {
    Eigen::MatrixXd design;
    Eigen::VectorXd observed;
};

Network randomNetwork(std::mt19937_64& rng, int width, int points) {
    std::uniform_real_distribution<double> coefficient(0.5, 1.5);
    std::uniform_int_distribution<int> touched(2, 4);
    std::vector<std::vector<std::pair<int, double>>> rows;
    auto observe = [&](int p, int q, int count) {
        int unknowns[4] = {2 * p, 2 * q, 2 * p + 1, 2 * q + 1};
        std::shuffle(unknowns, unknowns + 4, rng);
        std::vector<std::pair<int, double>> row;
        for (int k = 0; k < count; ++k)
            row.emplace_back(unknowns[k], (k % 2 ? -1 : 1) * coefficient(rng));
        rows.push_back(row);
    };
    for (int p = 0; p < points; ++p) {
        observe(p, p + 1 < points ? p + 1 : p - 1, 4);
        for (int q : {p + width, p + width + 1})
            if (q < points) observe(p, q, touched(rng));
    }
    Network network{Eigen::MatrixXd::Zero(static_cast<int>(rows.size()), 2 * points),
                    Eigen::VectorXd(static_cast<int>(rows.size()))};
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        for (const auto& [unknown, value] : rows[i])
            network.design(i, unknown) = value;
        network.observed[i] = coefficient(rng) - 1;
    }
    return network;
}

MatriceSym toProfile(const Eigen::MatrixXd& a) {
    MatriceSym m;
    m = toMatrice(a);
    return m;
}

Eigen::MatrixXd toEigen(const MatriceSym& m) {
    Eigen::MatrixXd a(m.rows, m.cols);
    for (std::uint32_t i = 0; i < m.rows; ++i)
        for (std::uint32_t j = 0; j < m.cols; ++j)
            a(i, j) = m[i][static_cast<std::int32_t>(j)];
    return a;
}

class NormalEquationsOracle : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        std::mt19937_64 rng(GetParam());
        const int width = 4 + GetParam() % 4;
        network = randomNetwork(rng, width, width * (6 + GetParam()));
        a = toProfile(network.design);
        normal = network.design.transpose() * network.design;
        rightSide = network.design.transpose() * network.observed;
    }

    Network network;
    MatriceSym a;
    Eigen::MatrixXd normal;
    Eigen::VectorXd rightSide;
};

} // namespace

TEST_P(NormalEquationsOracle, NormalMatrixAndRightSideBothWays) {
    const MatriceSym at = a.Transpose();
    MatriceSym n;
    ASSERT_EQ(MatriceSym::AddMul(n, at, at, 1), 0);
    EXPECT_LT(relativeError(toEigen(n), normal), 1e-12);
    MatriceSym n2;
    ASSERT_EQ(MatriceSym::AddMul(n2, at, a, 0), 0);
    EXPECT_LT(relativeError(toEigen(n2), normal), 1e-12);

    Matrice dense;
    a.CopyTo(dense, 0);
    EXPECT_LT(relativeError(toEigen(dense.Transpose() * dense), normal), 1e-12);

    const std::vector<double> y(network.observed.data(), network.observed.data() + network.observed.size());
    std::vector<double> b(a.cols, 0.0);
    ASSERT_EQ(MatriceSym::AddMul(b.data(), at, y.data(), 1), 0);
    EXPECT_LT(relativeError(Eigen::Map<Eigen::VectorXd>(b.data(), a.cols), rightSide), 1e-12);
    std::vector<double> minus(a.cols, 0.0);
    ASSERT_EQ(MatriceSym::SubMulT(minus.data(), a, y.data()), 0);
    EXPECT_LT(relativeError(-Eigen::Map<Eigen::VectorXd>(minus.data(), a.cols), rightSide), 1e-12);
}

TEST_P(NormalEquationsOracle, InversesOfTheNormalMatrix) {
    MatriceSym n;
    ASSERT_EQ(MatriceSym::AddMul(n, a.Transpose(), a.Transpose(), 1), 0);
    const Eigen::MatrixXd expected =
        normal.ldlt().solve(Eigen::MatrixXd::Identity(normal.rows(), normal.cols()));
    for (int way = 0; way < 3; ++way) {
        MatriceSym inverse;
        inverse = n;
        const int result = way == 0   ? inverse.InverseSimple(2)
                           : way == 1 ? inverse.InverseSimple(0)
                                      : inverse.Inverse(1);
        ASSERT_EQ(result, 0) << way;
        EXPECT_LT(relativeError(toEigen(inverse), expected), 1e-9) << way;
    }
}

TEST_P(NormalEquationsOracle, AssignmentKeepsExactlyTheNonZeroRangeOfEachRow) {
    MatriceSym n;
    ASSERT_EQ(MatriceSym::AddMul(n, a.Transpose(), a, 0), 0);
    MatriceSym kept;
    kept = n;
    for (std::uint32_t i = 0; i < kept.rows; ++i) {
        const Eigen::VectorXd row = normal.row(i);
        int first = 0;
        while (row[first] == 0)
            ++first;
        int last = static_cast<int>(row.size()) - 1;
        while (row[last] == 0)
            --last;
        const MatriceSym::pLine stored = kept[i];
        EXPECT_EQ(int{stored.first}, first) << "row " << i;
        EXPECT_EQ(int{stored.last}, last) << "row " << i;
        EXPECT_EQ(int{stored.allocated}, last - first + 1) << "row " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Networks, NormalEquationsOracle, ::testing::Range(0, kNetworks));
