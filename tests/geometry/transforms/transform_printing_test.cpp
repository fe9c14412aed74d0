// What the transforms print through the output routing.
#include "geometry/transforms/mat2d.h"
#include "geometry/transforms/mat3d.h"
#include "services/output/output.h"
#include "tests/services/recording_screens.h"

#include <gtest/gtest.h>

namespace {

class TransformPrinting : public ::testing::Test {
protected:
    void SetUp() override { mprintf("$L$"); }

    const std::string& printed() { return screens.local.printed; }

    testing_support::RecordingScreens screens;
};

} // namespace

TEST_F(TransformPrinting, RowsOfAPlaneTransform) {
    Mat2D m;
    m.t[0] = 2.5;
    m.t[1] = -1;
    m.Mprint();
    EXPECT_EQ(printed(), "\n[NoLi]:  0 +1.000000e+00 +0.000000e+00 Tr=     +2.5000"
                         "\n[NoLi]:  1 +0.000000e+00 +1.000000e+00 Tr=     -1.0000\n");
}

TEST_F(TransformPrinting, RowsOfASpaceTransform) {
    Mat3D m;
    m.r[0][1] = 0.5;
    m.r[2][2] = -2;
    m.t[2] = 1234.56789;
    m.Mprint();
    EXPECT_EQ(printed(), "\n[NoLi]:  0 +1.000000e+00 +5.000000e-01 +0.000000e+00 Tr=       +0.0000"
                         "\n[NoLi]:  1 +0.000000e+00 +1.000000e+00 +0.000000e+00 Tr=       +0.0000"
                         "\n[NoLi]:  2 +0.000000e+00 +0.000000e+00 -2.000000e+00 Tr=    +1234.5679\n");
}

TEST_F(TransformPrinting, CameraAnglesOfAShearAreReported) {
    Mat3D shear;
    shear.r[0][1] = 0.5;
    double a, b, c;
    EXPECT_GT(shear.GetOriAvRCam(a, b, c), 1e-6);
    EXPECT_EQ(printed().rfind("\n**** Erreur GetOriAvRCam de ", 0), 0u) << printed();
    screens.local.printed.clear();
    Mat3D::MOriAvRCam(0.1, -1, 0.2).GetOriAvRCam(a, b, c);
    EXPECT_EQ(printed(), "") << "a rotation is found back silently";
}
