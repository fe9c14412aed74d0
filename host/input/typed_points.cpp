#include "host/input/typed_points.h"

#include <cmath>
#include <numbers>

#include "host/input/text_numbers.h"

namespace host {

namespace {

// "dist<angle" from `from`; false when either part is not a number.
bool parsePolar(std::wstring_view text, const AcGePoint3d& from, AcGePoint3d& point) {
    const std::size_t at = text.find(L'<');
    double distance = 0, degrees = 0;
    if (at == std::wstring_view::npos || !parseReal(text.substr(0, at), distance) ||
        !parseReal(text.substr(at + 1), degrees))
        return false;
    const double radians = degrees * std::numbers::pi / 180;
    point = AcGePoint3d(from.x + distance * std::cos(radians), from.y + distance * std::sin(radians), from.z);
    return true;
}

bool isHeld(const AcGePoint3d& p) {
    for (double v : {p.x, p.y, p.z})
        if (!(std::fabs(v) <= kLargestCoordinate)) return false;
    return true;
}

} // namespace

bool parseTypedPoint(std::wstring_view raw, const AcGePoint3d& lastPoint, double defaultZ,
                     AcGePoint3d& point) {
    const std::wstring text = trim(raw);
    std::wstring_view body = text;
    const bool relative = !body.empty() && body.front() == L'@';
    if (relative) body.remove_prefix(1);
    const AcGePoint3d from = relative ? lastPoint : AcGePoint3d(0, 0, defaultZ);
    AcGePoint3d p;
    if (relative && trim(body).empty())
        p = lastPoint;
    else if (body.find(L'<') != std::wstring_view::npos) {
        if (!parsePolar(body, from, p)) return false;
    } else if (parsePoint(body, p, relative ? 0.0 : defaultZ)) {
        if (relative) p = AcGePoint3d(from.x + p.x, from.y + p.y, from.z + p.z);
    } else
        return false;
    if (!isHeld(p)) return false;
    point = p;
    return true;
}

} // namespace host
