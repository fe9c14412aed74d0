#pragma once
// Points as a draughtsman types them at a point prompt: absolute "x,y[,z]", relative "@dx,dy[,dz]" (from the
// last point), polar "dist<angle" and "@dist<angle" (angle in degrees, counter-clockwise from the X axis),
// and
// "@" alone for the last point itself. All in user coordinates.
#include <string_view>

#include "host/ge/ge.h"

namespace host {

// False when the text is written as none of these forms or holds a coordinate the drawing cannot hold.
// A missing z is `defaultZ` for an absolute point, the last point's for a relative one.
bool parseTypedPoint(std::wstring_view text, const AcGePoint3d& lastPoint, double defaultZ,
                     AcGePoint3d& point);

} // namespace host
