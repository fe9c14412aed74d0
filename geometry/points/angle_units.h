#pragma once
// Angle constants, unit factors and empty values shared by every module of the system.
//
// Everything is derived from one stored value of pi/4, so the constants agree to the last bit with the other
// programs of the product family. Grads run clockwise: the factors to and from grads are negative.

// 25 ... 500 grads expressed in radians, and the negatives of three of them.
extern const double _25rd;
extern const double _50rd;
extern const double _100rd;
extern const double _200rd;
extern const double _300rd;
extern const double _400rd;
extern const double _500rd;
extern const double __200rd;
extern const double __400rd;
extern const double __500rd;

// The empty value of a double (points, vertex values) and of a float: -3*pi/4.
extern const double _RVIDE;
extern const float _FVIDE;

// Unit factors: multiply an angle in the first unit to get it in the second.
extern const double degre_en_radian;
extern const double radian_en_degre;
extern const double grade_en_radian;
extern const double radian_en_grade;
extern const double degre_en_grade;
extern const double grade_en_degre;

// Common coordinate tolerance (snapping to segment ends, closing polylines).
extern const double _ecpt;
