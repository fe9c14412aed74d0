#pragma once
// Normal of the plane through three points, given as arrays of three doubles.

// n = (a - o) x (b - o), or a x b when o is null, written to nx, ny, nz. With `mode` non-zero n is made
// unit (a zero normal stays zero). Returns the length of n for mode 2; otherwise -(o . n), the constant of
// the plane through o, or 0 without o.
double produit_vectoriel_double(const double* o, const double* a, const double* b, double& nx, double& ny,
                                double& nz, int mode);
