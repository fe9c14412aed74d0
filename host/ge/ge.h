#pragma once
// Points, vectors, matrices and planes of the host's geometry interface.
#include <cmath>
#include <numbers>

class AcGeMatrix3d;
class AcGeVector3d;

// Tolerance of point and vector comparisons.
class AcGeTol {
public:
    double equalPoint() const { return m_point; }
    double equalVector() const { return m_vector; }
    void setEqualPoint(double t) { m_point = t; }
    void setEqualVector(double t) { m_vector = t; }

private:
    double m_point = 1e-10;
    double m_vector = 1e-12;
};

struct AcGeContext {
    static AcGeTol gTol;
};

class AcGeVector2d {
public:
    AcGeVector2d() = default;
    AcGeVector2d(double xx, double yy) : x(xx), y(yy) {}
    double length() const { return std::hypot(x, y); }
    double angle() const; // in [0, 2pi) from the x axis
    AcGeVector2d operator+(const AcGeVector2d& v) const { return {x + v.x, y + v.y}; }
    AcGeVector2d operator-(const AcGeVector2d& v) const { return {x - v.x, y - v.y}; }
    AcGeVector2d operator*(double s) const { return {x * s, y * s}; }
    double dotProduct(const AcGeVector2d& v) const { return x * v.x + y * v.y; }
    bool operator==(const AcGeVector2d& v) const = default;
    double x = 0, y = 0;
};

class AcGePoint2d {
public:
    AcGePoint2d() = default;
    AcGePoint2d(double xx, double yy) : x(xx), y(yy) {}
    double distanceTo(const AcGePoint2d& p) const { return std::hypot(x - p.x, y - p.y); }
    AcGePoint2d operator+(const AcGeVector2d& v) const { return {x + v.x, y + v.y}; }
    AcGeVector2d operator-(const AcGePoint2d& p) const { return {x - p.x, y - p.y}; }
    bool isEqualTo(const AcGePoint2d& p, const AcGeTol& tol = AcGeContext::gTol) const {
        return distanceTo(p) <= tol.equalPoint();
    }
    bool operator==(const AcGePoint2d& p) const = default;
    static const AcGePoint2d kOrigin;
    double x = 0, y = 0;
};

class AcGeVector3d {
public:
    AcGeVector3d() = default;
    AcGeVector3d(double xx, double yy, double zz) : x(xx), y(yy), z(zz) {}
    double length() const { return std::sqrt(x * x + y * y + z * z); }
    bool isZeroLength(const AcGeTol& tol = AcGeContext::gTol) const { return length() <= tol.equalVector(); }
    AcGeVector3d normal(const AcGeTol& tol = AcGeContext::gTol) const;
    AcGeVector3d& normalize(const AcGeTol& tol = AcGeContext::gTol) { return *this = normal(tol); }
    double dotProduct(const AcGeVector3d& v) const { return x * v.x + y * v.y + z * v.z; }
    AcGeVector3d crossProduct(const AcGeVector3d& v) const {
        return {y * v.z - z * v.y, z * v.x - x * v.z, x * v.y - y * v.x};
    }
    // A unit vector perpendicular to this one.
    AcGeVector3d perpVector() const;
    bool isEqualTo(const AcGeVector3d& v, const AcGeTol& tol = AcGeContext::gTol) const {
        return (*this - v).length() <= tol.equalVector();
    }
    AcGeVector3d& transformBy(const AcGeMatrix3d& m);
    AcGeVector3d operator+(const AcGeVector3d& v) const { return {x + v.x, y + v.y, z + v.z}; }
    AcGeVector3d operator-(const AcGeVector3d& v) const { return {x - v.x, y - v.y, z - v.z}; }
    AcGeVector3d operator-() const { return {-x, -y, -z}; }
    AcGeVector3d operator*(double s) const { return {x * s, y * s, z * s}; }
    AcGeVector3d operator/(double s) const { return {x / s, y / s, z / s}; }
    AcGeVector3d& operator+=(const AcGeVector3d& v) { return *this = *this + v; }
    bool operator==(const AcGeVector3d& v) const = default;
    static const AcGeVector3d kIdentity, kXAxis, kYAxis, kZAxis;
    double x = 0, y = 0, z = 0;
};

inline AcGeVector3d operator*(double s, const AcGeVector3d& v) {
    return v * s;
}

class AcGePoint3d {
public:
    AcGePoint3d() = default;
    AcGePoint3d(double xx, double yy, double zz) : x(xx), y(yy), z(zz) {}
    double distanceTo(const AcGePoint3d& p) const { return (*this - p).length(); }
    bool isEqualTo(const AcGePoint3d& p, const AcGeTol& tol = AcGeContext::gTol) const {
        return distanceTo(p) <= tol.equalPoint();
    }
    AcGePoint3d& transformBy(const AcGeMatrix3d& m);
    AcGePoint2d convert2d() const { return {x, y}; }
    AcGeVector3d asVector() const { return {x, y, z}; }
    AcGePoint3d operator+(const AcGeVector3d& v) const { return {x + v.x, y + v.y, z + v.z}; }
    AcGePoint3d operator-(const AcGeVector3d& v) const { return {x - v.x, y - v.y, z - v.z}; }
    AcGeVector3d operator-(const AcGePoint3d& p) const { return {x - p.x, y - p.y, z - p.z}; }
    AcGePoint3d& operator+=(const AcGeVector3d& v) { return *this = *this + v; }
    bool operator==(const AcGePoint3d& p) const = default;
    static const AcGePoint3d kOrigin;
    double x = 0, y = 0, z = 0;
};

// Affine transform of 3-D space; entry[row][col], points are columns (p' = M p).
class AcGeMatrix3d {
public:
    AcGeMatrix3d();
    double operator()(int row, int col) const { return entry[row][col]; }
    double& operator()(int row, int col) { return entry[row][col]; }
    AcGeMatrix3d operator*(const AcGeMatrix3d& m) const;
    AcGeMatrix3d& setToIdentity() { return *this = AcGeMatrix3d(); }
    AcGeMatrix3d inverse() const;
    double det() const;
    bool isEqualTo(const AcGeMatrix3d& m, const AcGeTol& tol = AcGeContext::gTol) const;
    bool operator==(const AcGeMatrix3d& m) const;
    AcGeVector3d translation() const { return {entry[0][3], entry[1][3], entry[2][3]}; }
    // Uniform scale factor (the length of the transformed x axis).
    double scale() const;

    static AcGeMatrix3d translation(const AcGeVector3d& v);
    static AcGeMatrix3d rotation(double angle, const AcGeVector3d& axis,
                                 const AcGePoint3d& center = AcGePoint3d::kOrigin);
    static AcGeMatrix3d scaling(double factor, const AcGePoint3d& center = AcGePoint3d::kOrigin);
    // Reflection in the plane through `point` with normal `normal`.
    static AcGeMatrix3d mirroring(const AcGePoint3d& point, const AcGeVector3d& normal);
    static AcGeMatrix3d alignCoordSys(const AcGePoint3d& fromOrigin, const AcGeVector3d& fromX,
                                      const AcGeVector3d& fromY, const AcGeVector3d& fromZ,
                                      const AcGePoint3d& toOrigin, const AcGeVector3d& toX,
                                      const AcGeVector3d& toY, const AcGeVector3d& toZ);
    // From the object coordinate system of `normal` (the arbitrary-axis rule of drawing files) to world.
    static AcGeMatrix3d planeToWorld(const AcGeVector3d& normal);
    static AcGeMatrix3d worldToPlane(const AcGeVector3d& normal) { return planeToWorld(normal).inverse(); }

    static const AcGeMatrix3d kIdentity;
    double entry[4][4];
};

class AcGePlane {
public:
    AcGePlane();
    AcGePlane(const AcGePoint3d& origin, const AcGeVector3d& normal);
    AcGePlane(const AcGePoint3d& origin, const AcGeVector3d& uAxis, const AcGeVector3d& vAxis);
    AcGeVector3d normal() const { return m_normal; }
    AcGePoint3d pointOnPlane() const { return m_origin; }
    void getCoordSystem(AcGePoint3d& origin, AcGeVector3d& xAxis, AcGeVector3d& yAxis) const;
    AcGePlane& set(const AcGePoint3d& origin, const AcGeVector3d& normal);
    static const AcGePlane kXYPlane;

private:
    AcGePoint3d m_origin;
    AcGeVector3d m_xAxis, m_yAxis, m_normal;
};

class AcGeScale3d {
public:
    AcGeScale3d() = default;
    explicit AcGeScale3d(double s) : sx(s), sy(s), sz(s) {}
    AcGeScale3d(double x, double y, double z) : sx(x), sy(y), sz(z) {}
    bool operator==(const AcGeScale3d& s) const = default;
    double sx = 1, sy = 1, sz = 1;
};

namespace host {
// A full turn, and the degrees in a radian (drawing files give angles in degrees).
constexpr double kTwoPi = 2 * std::numbers::pi;
constexpr double kDegrees = 180 / std::numbers::pi;

// The x axis of the object coordinate system of `normal` (arbitrary-axis rule).
AcGeVector3d ocsXAxis(const AcGeVector3d& normal);
// A unit normal carried through a transform; the z axis when the transform collapses it.
AcGeVector3d transformedNormal(const AcGeVector3d& normal, const AcGeMatrix3d& xform);
} // namespace host
