#pragma once
// Dense matrices to and from Eigen, and the relative difference the cross-checks measure.
#include "geometry/matrices/matrice.h"

#include <Eigen/Dense>

namespace testing_support {

inline Matrice toMatrice(const Eigen::MatrixXd& a) {
    Matrice m(static_cast<std::uint32_t>(a.rows()), static_cast<int>(a.cols()));
    for (int i = 0; i < a.rows(); ++i)
        for (int j = 0; j < a.cols(); ++j)
            m[i][j] = a(i, j);
    return m;
}

inline Eigen::MatrixXd toEigen(const Matrice& m) {
    Eigen::MatrixXd a(m.rows, m.cols);
    for (std::uint32_t i = 0; i < m.rows; ++i)
        for (std::uint32_t j = 0; j < m.cols; ++j)
            a(i, j) = m.element(i, j);
    return a;
}

// The largest difference relative to the largest element expected.
inline double relativeError(const Eigen::MatrixXd& got, const Eigen::MatrixXd& expected) {
    return (got - expected).cwiseAbs().maxCoeff() / expected.cwiseAbs().maxCoeff();
}

} // namespace testing_support
