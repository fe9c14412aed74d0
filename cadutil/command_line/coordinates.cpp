#include "cadutil/command_line/coordinates.h"

#include "host/editor/ucs.h"

namespace {

int trans(const ads_point from, short fromSystem, short toSystem, ads_point to) {
    resbuf a{}, b{};
    a.restype = b.restype = RTSHORT;
    a.resval.rint = fromSystem;
    b.resval.rint = toSystem;
    return acedTrans(from, &a, &b, 0, to);
}

constexpr short kWorld = 0;
constexpr short kUser = 1;

} // namespace

int wcsToUcs(const ads_point world, ads_point user) {
    return trans(world, kWorld, kUser, user);
}

int ucsToWcs(const ads_point user, ads_point world) {
    return trans(user, kUser, kWorld, world);
}

int ucsToWcsInPlace(ads_point point) {
    ads_point p = {point[0], point[1], point[2]};
    return trans(p, kUser, kWorld, point);
}
