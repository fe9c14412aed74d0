#pragma once
// What the form and function keywords remember for the whole process (host command thread only): the last
// width and height (defaults of E and H), the last offset distance, the re-take mask and the first point of
// an imposed shape.
#include "geometry/points/point3d.h"

namespace shape_memory {

struct Values {
    double lastWidth = 0;
    double lastHeight = 0;
    double lastOffset = 0;
    int retakeMask = 0;
    CPoint3d firstPoint;
};

Values& values();
// Back to the values of a fresh process (tests).
void reset();

} // namespace shape_memory
