// What the dense and the profile matrices print through the output routing.
#include "geometry/matrices/matrice_sym.h"
#include "services/output/output.h"
#include "tests/services/recording_screens.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class MatricesPrinting : public ::testing::Test {
protected:
    void SetUp() override { mprintf("$L$"); }

    const std::string& printed() { return screens.local.printed; }

    testing_support::RecordingScreens screens;
};

std::string columnHeader(int cols) {
    std::string header = "\n[NoCol]:";
    for (int j = 0; j < cols; ++j)
        header += "        00000" + std::to_string(j) + " ";
    return header;
}

} // namespace

TEST_F(MatricesPrinting, TableAndVector) {
    Matrice m(2, 2);
    m[0][0] = 1.5;
    m[1][1] = -20;
    m.Mprint();
    EXPECT_EQ(printed(), columnHeader(2) + "\n[00000]:+1.500000e+00 +0.000000e+00 "
                                           "\n[00001]:+0.000000e+00 -2.000000e+01 ");
    screens.local.printed.clear();
    Matrice v(2, 0);
    v.vec[1] = 3;
    v.Mprint();
    EXPECT_EQ(printed(), "\n+0.000000e+00  +3.000000e+00  ");
}

TEST_F(MatricesPrinting, LongMatricesRepeatTheHeader) {
    Matrice twenty(20, 1);
    twenty.Mprint();
    EXPECT_EQ(printed().rfind(columnHeader(1)), 0u) << "once, at the top";
    screens.local.printed.clear();
    Matrice longer(21, 1);
    longer.Mprint();
    const std::string& text = printed();
    EXPECT_EQ(text.rfind(columnHeader(1)), text.size() - columnHeader(1).size()) << "and again at the end";
    EXPECT_NE(text.find("\n[00020]:+0.000000e+00 "), std::string::npos);
}

TEST_F(MatricesPrinting, ProfileRows) {
    MatriceSym m;
    m.SetNul(3, 8);
    *m.pAt(0, 6) = 2;
    *m.pAt(2, 1) = -1;
    *m.pAt(2, 2) = 0.5;
    m.Mprint();
    EXPECT_EQ(printed(), "\n[00000][00006,00006]:+2.000000e+00 "
                         "\n[00001]"
                         "\n[00002][00001,00002]:-1.000000e+00 +5.000000e-01 ");
}
