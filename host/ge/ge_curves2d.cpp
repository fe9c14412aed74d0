#include "host/ge/ge_curves2d.h"

double AcGeCircArc2d::sweep() const {
    double s = m_end - m_start;
    while (s <= 0)
        s += host::kTwoPi;
    while (s > host::kTwoPi)
        s -= host::kTwoPi;
    return s;
}

AcGePoint2d AcGeCircArc2d::pointAtSweep(double a) const {
    double angle = m_clockwise ? m_start - a : m_start + a;
    return {m_center.x + m_radius * std::cos(angle), m_center.y + m_radius * std::sin(angle)};
}

AcGePoint2d AcGeEllipArc2d::pointAtParam(double t) const {
    double len = m_major.length();
    AcGeVector2d u = len > 0 ? m_major * (1 / len) : AcGeVector2d(1, 0);
    AcGeVector2d v(-u.y, u.x);
    double s = m_clockwise ? -std::sin(t) : std::sin(t);
    return m_center + u * (m_majorRadius * std::cos(t)) + v * (m_minorRadius * s);
}
