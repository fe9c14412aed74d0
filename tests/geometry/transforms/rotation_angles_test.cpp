#include "geometry/points/angle_units.h"
#include "geometry/transforms/mat3d.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

double maxDifference(const Mat3D& a, const Mat3D& b) {
    double worst = 0;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            worst = std::max(worst, std::fabs(a.r[i][j] - b.r[i][j]));
    return worst;
}

} // namespace

TEST(RotationAngles, BuildersMatchTheBasicRotations) {
    const Mat3D product = Mat3D::MOmega(0.3) * Mat3D::MPhi(-0.7) * Mat3D::MKappa(2.1);
    EXPECT_LT(maxDifference(Mat3D::MOmegaPhiKappa(0.3, -0.7, 2.1), product), 1e-15);
    EXPECT_LT(maxDifference(Mat3D::MOmegaPhiKappa(CPoint3d(0.3, -0.7, 2.1)), product), 1e-15);
    Mat3D transposed = product;
    transposed.InvBySwap();
    EXPECT_LT(maxDifference(Mat3D::MOmegaPhiKappaInv(0.3, -0.7, 2.1, 0), transposed), 1e-15);
    EXPECT_LT(maxDifference(Mat3D::MOmegaPhiKappaInv(CPoint3d(0.3, -0.7, 2.1)), transposed), 1e-15);
}

TEST(RotationAngles, UnitLettersConvertAndGradsTurnTheOtherWay) {
    const Mat3D grads = Mat3D::MOmegaPhiKappa(0, 100, 0, 'G');
    EXPECT_LT(maxDifference(grads, Mat3D::MPhi(-_100rd)), 1e-15);
    EXPECT_LT(maxDifference(Mat3D::MOmegaPhiKappa(90, 0, 0, 'D'), Mat3D::MOmega(_100rd)), 1e-15);
    EXPECT_LT(maxDifference(Mat3D::MOmegaPhiKappa(0, 0, 1, 'x'), Mat3D::MKappa(1)), 1e-15);
    EXPECT_LT(maxDifference(Mat3D::MOmegaPhiKappa(0, 0, 1, 'g'), Mat3D::MKappa(1)), 1e-15)
        << "builders know only the capital letters";
}

TEST(RotationAngles, OmegaPhiKappaRoundTrip) {
    double omega, phi, kappa;
    const Mat3D m = Mat3D::MOmegaPhiKappa(0.1, 0.2, 0.3);
    EXPECT_LT(m.GetOmegaPhiKappa(omega, phi, kappa, 0), 1e-15);
    EXPECT_NEAR(omega, 0.1, 1e-14);
    EXPECT_NEAR(phi, 0.2, 1e-14);
    EXPECT_NEAR(kappa, 0.3, 1e-14);

    // Scaled matrices are made uniform first; angles come out in the unit asked, lower case too.
    (m * 3.0).GetOmegaPhiKappa(omega, phi, kappa, 'g');
    EXPECT_NEAR(omega, 0.1 * radian_en_grade, 1e-12);
    EXPECT_NEAR(kappa, 0.3 * radian_en_grade, 1e-12);
    m.GetOmegaPhiKappa(omega, phi, kappa, 'D');
    EXPECT_NEAR(phi, 0.2 * radian_en_degre, 1e-12);
}

TEST(RotationAngles, OmegaPhiKappaSpecialCases) {
    double omega, phi, kappa;
    // A pure turn about z: kappa in [0, 2*pi), residual 0.
    EXPECT_EQ(Mat3D::MKappa(-0.5).GetOmegaPhiKappa(omega, phi, kappa), 0.0);
    EXPECT_EQ(omega, 0.0);
    EXPECT_EQ(phi, 0.0);
    EXPECT_NEAR(kappa, _400rd - 0.5, 1e-14);
    Mat3D::MKappa(2.5).GetOmegaPhiKappa(omega, phi, kappa);
    EXPECT_NEAR(kappa, 2.5, 1e-14);

    // phi at a quarter turn: omega folds into kappa.
    const Mat3D gimbal = Mat3D::MOmegaPhiKappa(0, _100rd, 0.4);
    EXPECT_LT(gimbal.GetOmegaPhiKappa(omega, phi, kappa), 1e-12);
    EXPECT_EQ(phi, _100rd);
    EXPECT_NEAR(kappa, 0.4, 1e-12);

    // Angles beyond a quarter turn come back through the cosine signs.
    const Mat3D wide = Mat3D::MOmegaPhiKappa(2.5, -0.4, 4.0);
    EXPECT_LT(wide.GetOmegaPhiKappa(omega, phi, kappa), 1e-12);
    EXPECT_NEAR(omega, 2.5, 1e-12);
    EXPECT_NEAR(phi, -0.4, 1e-12);
    EXPECT_NEAR(kappa, 4.0, 1e-12);
}

TEST(RotationAngles, OtherOrdersRebuildTheirRotation) {
    double phi, omega, kappa;
    const Mat3D pok = Mat3D::MPhi(0.3) * Mat3D::MOmega(-0.2) * Mat3D::MKappa(2.0);
    EXPECT_LT(pok.GetPhiOmegaKappa(phi, omega, kappa), 1e-12);
    EXPECT_NEAR(phi, 0.3, 1e-12);
    EXPECT_NEAR(omega, -0.2, 1e-12);
    EXPECT_NEAR(std::remainder(kappa - 2.0, _400rd), 0, 1e-12);

    const Mat3D kpo = Mat3D::MKappa(-2.8) * Mat3D::MPhi(0.5) * Mat3D::MOmega(1.2);
    EXPECT_LT(kpo.GetKappaPhiOmega(kappa, phi, omega, 'D'), 1e-12);
    EXPECT_NEAR(kappa, -2.8 * radian_en_degre, 1e-10);
    EXPECT_NEAR(phi, 0.5 * radian_en_degre, 1e-10);
    EXPECT_NEAR(omega, 1.2 * radian_en_degre, 1e-10);
}

TEST(RotationAngles, CameraOrientationRoundTrip) {
    double a, b, c;
    const Mat3D m = Mat3D::MOriAvRCam(0.7, -2.0, 5.0);
    EXPECT_LT(m.GetOriAvRCam(a, b, c), 1e-12);
    EXPECT_LT(maxDifference(Mat3D::MOriAvRCam(a, b, c), m), 1e-12);
    EXPECT_GE(a, 0.0);
    EXPECT_GE(c, 0.0);

    // Looking straight down or up: b is 0 or -pi, c is 0.
    const Mat3D down = Mat3D::MOriAvRCam(0.4, 0, 0);
    EXPECT_LT(down.GetOriAvRCam(a, b, c), 1e-12);
    EXPECT_EQ(b, 0.0);
    EXPECT_EQ(c, 0.0);
    EXPECT_NEAR(a, 0.4, 1e-12);
    const Mat3D up = Mat3D::MOriAvRCam(2.0, -_200rd, 0);
    EXPECT_LT(up.GetOriAvRCam(a, b, c, 'G'), 1e-12);
    EXPECT_EQ(b, -_200rd * radian_en_grade);
    EXPECT_NEAR(a, 2.0 * radian_en_grade, 1e-10);
}

TEST(RotationAngles, UniformCopyMakesColumnsUnit) {
    const Mat3D m = Mat3D::MOmegaPhiKappa(0.1, 0.2, 0.3);
    EXPECT_EQ(&m.GetUniformCopy(), &m);
    Mat3D stretched = m;
    for (int i = 0; i < 3; ++i)
        stretched.r[i][1] *= 5;
    const Mat3D& uniform = stretched.GetUniformCopy();
    EXPECT_NE(&uniform, &stretched);
    EXPECT_LT(maxDifference(uniform, m), 1e-12);
}
