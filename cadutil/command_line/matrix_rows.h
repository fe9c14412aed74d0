#pragma once
// The rows of a 3 x 4 transform (rotation and translation) as the plug-in hands them to other modules.

// `src`: three rows of four values. `dst`: the nine values of the first three columns row by row, then the
// three values of the fourth column.
void copyMatrix3x4(double dst[12], const double src[3][4]);
