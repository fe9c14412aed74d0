#include "host/ge/bspline.h"

#include <algorithm>
#include <cmath>

namespace host {

bool BSpline::isValid() const {
    std::size_t n = controlPoints.size();
    return degree >= 1 && n >= static_cast<std::size_t>(degree) + 1 && knots.size() == n + degree + 1 &&
           (weights.empty() || weights.size() == n) && std::is_sorted(knots.begin(), knots.end()) &&
           endParam() > startParam();
}

AcGePoint3d BSpline::pointAt(double t) const {
    if (!isValid()) return controlPoints.empty() ? AcGePoint3d() : controlPoints.front();
    t = std::clamp(t, startParam(), endParam());
    int n = static_cast<int>(controlPoints.size());
    int span = degree;
    while (span < n - 1 && t >= knots[span + 1])
        ++span;
    // Homogeneous coordinates: (w x, w y, w z, w).
    std::vector<double> px(degree + 1), py(degree + 1), pz(degree + 1), pw(degree + 1);
    for (int j = 0; j <= degree; ++j) {
        const AcGePoint3d& p = controlPoints[span - degree + j];
        double w = weights.empty() ? 1.0 : weights[span - degree + j];
        px[j] = p.x * w;
        py[j] = p.y * w;
        pz[j] = p.z * w;
        pw[j] = w;
    }
    for (int r = 1; r <= degree; ++r)
        for (int j = degree; j >= r; --j) {
            int i = span - degree + j;
            double denominator = knots[i + degree - r + 1] - knots[i];
            double a = denominator > 0 ? (t - knots[i]) / denominator : 0;
            px[j] = (1 - a) * px[j - 1] + a * px[j];
            py[j] = (1 - a) * py[j - 1] + a * py[j];
            pz[j] = (1 - a) * pz[j - 1] + a * pz[j];
            pw[j] = (1 - a) * pw[j - 1] + a * pw[j];
        }
    double w = pw[degree] != 0 ? pw[degree] : 1;
    return {px[degree] / w, py[degree] / w, pz[degree] / w};
}

namespace {

// The basis function values N(i, degree) at t for every i (Cox - de Boor).
std::vector<double> basis(const std::vector<double>& knots, int degree, int count, double t) {
    std::vector<double> n(knots.size() - 1, 0.0);
    int last = count - 1;
    for (std::size_t i = 0; i + 1 < knots.size(); ++i)
        n[i] = (t >= knots[i] && t < knots[i + 1]) ? 1.0 : 0.0;
    if (t >= knots[last + 1]) n[last] = 1.0; // the end of the range belongs to the last span
    for (int p = 1; p <= degree; ++p)
        for (std::size_t i = 0; i + p + 1 < knots.size(); ++i) {
            double left = knots[i + p] - knots[i], right = knots[i + p + 1] - knots[i + 1];
            double a = left > 0 ? (t - knots[i]) / left * n[i] : 0;
            double b = right > 0 ? (knots[i + p + 1] - t) / right * n[i + 1] : 0;
            n[i] = a + b;
        }
    n.resize(count);
    return n;
}

// Solves A x = b for a small dense system by Gaussian elimination with partial pivoting.
bool solve(std::vector<std::vector<double>> a, std::vector<double>& b) {
    std::size_t n = b.size();
    for (std::size_t c = 0; c < n; ++c) {
        std::size_t pivot = c;
        for (std::size_t r = c + 1; r < n; ++r)
            if (std::abs(a[r][c]) > std::abs(a[pivot][c])) pivot = r;
        if (std::abs(a[pivot][c]) < 1e-14) return false;
        std::swap(a[c], a[pivot]);
        std::swap(b[c], b[pivot]);
        for (std::size_t r = c + 1; r < n; ++r) {
            double f = a[r][c] / a[c][c];
            for (std::size_t k = c; k < n; ++k)
                a[r][k] -= f * a[c][k];
            b[r] -= f * b[c];
        }
    }
    for (std::size_t c = n; c-- > 0;) {
        for (std::size_t k = c + 1; k < n; ++k)
            b[c] -= a[c][k] * b[k];
        b[c] /= a[c][c];
    }
    return true;
}

} // namespace

BSpline interpolate(const std::vector<AcGePoint3d>& fitPoints, int degree) {
    std::vector<AcGePoint3d> points;
    for (const AcGePoint3d& p : fitPoints)
        if (points.empty() || !points.back().isEqualTo(p)) points.push_back(p);
    BSpline s;
    int n = static_cast<int>(points.size());
    if (n < 2) return s;
    s.degree = std::clamp(degree, 1, n - 1);
    std::vector<double> params(n, 0.0);
    double total = 0;
    for (int i = 1; i < n; ++i)
        params[i] = (total += points[i].distanceTo(points[i - 1]));
    for (double& u : params)
        u /= total;
    s.knots.assign(s.degree + 1, 0.0);
    for (int j = 1; j < n - s.degree; ++j) {
        double sum = 0;
        for (int i = j; i < j + s.degree; ++i)
            sum += params[i];
        s.knots.push_back(sum / s.degree);
    }
    s.knots.insert(s.knots.end(), s.degree + 1, 1.0);
    std::vector<std::vector<double>> a;
    for (double u : params)
        a.push_back(basis(s.knots, s.degree, n, u));
    std::vector<double> xs(n), ys(n), zs(n);
    for (int i = 0; i < n; ++i) {
        xs[i] = points[i].x;
        ys[i] = points[i].y;
        zs[i] = points[i].z;
    }
    if (!solve(a, xs) || !solve(a, ys) || !solve(a, zs)) return BSpline{};
    for (int i = 0; i < n; ++i)
        s.controlPoints.emplace_back(xs[i], ys[i], zs[i]);
    return s;
}

} // namespace host
