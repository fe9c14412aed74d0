#include "geometry/points/angle_units.h"

namespace {
// The one stored value every other constant is computed from. The expressions are evaluated at compile
// time with the same IEEE rounding as at run time (constinit), so the values are ready before any static
// initialiser of the library or of a module that links it reads them.
constexpr double kQuarterPi = 0.7853981633974483;
} // namespace

constinit const double _25rd = kQuarterPi / 2;
constinit const double _50rd = kQuarterPi;
constinit const double _100rd = kQuarterPi * 2;
constinit const double _200rd = kQuarterPi * 4;
constinit const double _300rd = kQuarterPi * 6;
constinit const double _400rd = kQuarterPi * 8;
constinit const double _500rd = kQuarterPi * 10;
constinit const double __200rd = -kQuarterPi * 4;
constinit const double __400rd = -kQuarterPi * 8;
constinit const double __500rd = -kQuarterPi * 10;

constinit const double _RVIDE = -3 * kQuarterPi;
constinit const float _FVIDE = static_cast<float>(-3 * kQuarterPi);

constinit const double degre_en_radian = kQuarterPi / 45;
constinit const double radian_en_degre = 45 / kQuarterPi;
constinit const double grade_en_radian = -kQuarterPi / 50;
constinit const double radian_en_grade = -50 / kQuarterPi;
constinit const double degre_en_grade = -10.0 / 9.0;
constinit const double grade_en_degre = -0.9;

constinit const double _ecpt = 0.0001;
