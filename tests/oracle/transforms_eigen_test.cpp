// Transforms against Eigen on random rotations, scales and translations.
#include "geometry/transforms/mat2d.h"
#include "geometry/transforms/mat3d.h"

#include <gtest/gtest.h>

#include <Eigen/Geometry>

#include <random>

namespace {

constexpr int kCases = 1000;
constexpr double kTolerance = 1e-12;

class TransformsOracle : public ::testing::Test {
protected:
    std::mt19937_64 rng{20240611};

    double uniform(double low, double high) { return std::uniform_real_distribution<double>(low, high)(rng); }

    Eigen::Matrix3d randomRotation() {
        Eigen::Quaterniond q(uniform(-1, 1), uniform(-1, 1), uniform(-1, 1), uniform(-1, 1));
        return q.normalized().toRotationMatrix();
    }

    // A well-conditioned general transform: rotation * stretch * rotation, then a translation.
    Eigen::Affine3d randomAffine() {
        const Eigen::Vector3d stretch(uniform(0.5, 2), uniform(0.5, 2), uniform(0.5, 2));
        Eigen::Affine3d a = Eigen::Affine3d::Identity();
        a.linear() = randomRotation() * stretch.asDiagonal() * randomRotation();
        a.translation() = Eigen::Vector3d(uniform(-1000, 1000), uniform(-1000, 1000), uniform(-1000, 1000));
        return a;
    }
};

Mat3D toMat3D(const Eigen::Affine3d& a) {
    Mat3D m;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j)
            m.r[i][j] = a.linear()(i, j);
        m.t[i] = a.translation()(i);
    }
    return m;
}

// Relative to the size of the values, which reach a few thousands in the translations.
void expectSame(const Mat3D& m, const Eigen::Affine3d& a) {
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j)
            ASSERT_NEAR(m.r[i][j], a.linear()(i, j), kTolerance) << i << "," << j;
        ASSERT_NEAR(m.t[i], a.translation()(i), kTolerance * std::max(1.0, std::fabs(m.t[i])));
    }
}

void expectSame(const CPoint3d& p, const Eigen::Vector3d& v) {
    ASSERT_NEAR(p.x, v.x(), kTolerance * std::max(1.0, std::fabs(v.x())));
    ASSERT_NEAR(p.y, v.y(), kTolerance * std::max(1.0, std::fabs(v.y())));
    ASSERT_NEAR(p.z, v.z(), kTolerance * std::max(1.0, std::fabs(v.z())));
}

} // namespace

TEST_F(TransformsOracle, InversesMatch) {
    for (int n = 0; n < kCases; ++n) {
        const Eigen::Affine3d a = randomAffine();
        Mat3D m = toMat3D(a);
        ASSERT_EQ(m.Inverse(), 0);
        expectSame(m, a.inverse());
    }
}

TEST_F(TransformsOracle, CompositionsAndApplicationMatch) {
    for (int n = 0; n < kCases; ++n) {
        const Eigen::Affine3d a = randomAffine(), b = randomAffine();
        expectSame(toMat3D(a) * toMat3D(b), a * b);
        const Eigen::Vector3d v(uniform(-100, 100), uniform(-100, 100), uniform(-100, 100));
        const CPoint3d p(v.x(), v.y(), v.z());
        CPoint3d q;
        toMat3D(a).ApplyToPt(&q, &p);
        expectSame(q, a * v);
        toMat3D(a).ApplyRot(&q, &p);
        expectSame(q, a.linear() * v);
        toMat3D(a).ApplyRotInv(&q, &p);
        expectSame(q, a.linear().transpose() * v);
    }
}

// A rotation with a uniform scale is undone by ApplyToPtInv without inverting the matrix.
TEST_F(TransformsOracle, InverseApplicationOfScaledRotationsMatches) {
    for (int n = 0; n < kCases; ++n) {
        Eigen::Affine3d a = Eigen::Affine3d::Identity();
        a.linear() = randomRotation() * uniform(0.1, 10);
        a.translation() = Eigen::Vector3d(uniform(-1000, 1000), uniform(-1000, 1000), uniform(-1000, 1000));
        const Eigen::Vector3d v(uniform(-100, 100), uniform(-100, 100), uniform(-100, 100));
        const CPoint3d p(v.x(), v.y(), v.z());
        CPoint3d q;
        toMat3D(a).ApplyToPtInv(&q, &p);
        expectSame(q, a.inverse() * v);
    }
}

TEST_F(TransformsOracle, PhotogrammetricRotationsMatch) {
    using Eigen::AngleAxisd;
    using Eigen::Vector3d;
    for (int n = 0; n < kCases; ++n) {
        const double omega = uniform(-3, 3), phi = uniform(-1.5, 1.5), kappa = uniform(-3, 3);
        Eigen::Affine3d expected = Eigen::Affine3d::Identity();
        expected.linear() = (AngleAxisd(omega, Vector3d::UnitX()) * AngleAxisd(phi, Vector3d::UnitY()) *
                             AngleAxisd(kappa, Vector3d::UnitZ()))
                                .toRotationMatrix();
        const Mat3D m = Mat3D::MOmegaPhiKappa(omega, phi, kappa);
        expectSame(m, expected);
        expectSame(Mat3D::MOmegaPhiKappaInv(omega, phi, kappa), expected.inverse());

        // The angles found back rebuild the same rotation. They come from arc sines, whose accuracy falls
        // to about the square root of the rounding near a quarter turn: hence the looser bound.
        double o, p, k;
        const double residual = m.GetOmegaPhiKappa(o, p, k);
        EXPECT_LT(residual, 1e-7);
        const Eigen::Matrix3d rebuilt = (AngleAxisd(o, Vector3d::UnitX()) * AngleAxisd(p, Vector3d::UnitY()) *
                                         AngleAxisd(k, Vector3d::UnitZ()))
                                            .toRotationMatrix();
        EXPECT_NEAR((rebuilt - expected.linear()).cwiseAbs().maxCoeff(), residual, 1e-12)
            << "the residual reported is the difference of the rebuilt rotation";
    }
}

TEST_F(TransformsOracle, PlaneInversesMatch) {
    for (int n = 0; n < kCases; ++n) {
        Eigen::Affine2d a = Eigen::Affine2d::Identity();
        a.linear() << uniform(-2, 2), uniform(-2, 2), uniform(-2, 2), uniform(-2, 2);
        if (std::fabs(a.linear().determinant()) < 0.1) continue;
        a.translation() = Eigen::Vector2d(uniform(-1000, 1000), uniform(-1000, 1000));
        Mat2D m;
        for (int i = 0; i < 2; ++i) {
            for (int j = 0; j < 2; ++j)
                m.m[i][j] = a.linear()(i, j);
            m.t[i] = a.translation()(i);
        }
        ASSERT_EQ(m.Inverse(), 0);
        const Eigen::Affine2d inverse = a.inverse();
        const double scale = 1 / std::fabs(a.linear().determinant());
        for (int i = 0; i < 2; ++i) {
            for (int j = 0; j < 2; ++j)
                ASSERT_NEAR(m.m[i][j], inverse.linear()(i, j), kTolerance * scale);
            ASSERT_NEAR(m.t[i], inverse.translation()(i), kTolerance * scale * 1000);
        }
    }
}
