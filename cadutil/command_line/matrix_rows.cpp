#include "cadutil/command_line/matrix_rows.h"

void copyMatrix3x4(double dst[12], const double src[3][4]) {
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column)
            dst[row * 3 + column] = src[row][column];
        dst[9 + row] = src[row][3];
    }
}
