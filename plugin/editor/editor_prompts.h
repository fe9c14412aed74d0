#pragma once
// What the editor asks and tells at the command line: a height, a distance, the line about the current
// vertex, and the colour the rubber band is drawn in.
#include <cstddef>

#include "geometry/points/point3d.h"
#include "host/input/text_numbers.h"

class AcDbEntity;
class P_Vertex;

// The number at the start of a typed text into `value`, 0 when there is none (the locale never matters);
// false, `value` untouched, when it is written as a number that is not finite or is beyond `largest`.
bool leadingNumber(const wchar_t* text, double largest, double& value);
// What a number prompt says when it refuses a value, before it asks again.
void refuseNumber();
// " Z du point <default> ?": a point gives its Z, a typed number its value, anything else the default. A
// number the drawing cannot hold is refused and asked again.
double askZ(double defaultZ, const CPoint3d* base);
// A distance typed or measured between two points; "-" or "+" alone force the sign of what follows; other
// text goes to `text` (when given) and answers the current value; Cancel answers the default. `status`
// (when given) receives RTCAN after a cancel, else RTNORM. A value that is not finite or is beyond
// `largest` is refused and asked again, so that it never reaches the field it is meant for.
double askDistance(double defaultValue, const char* label, const char* keywords, char* text,
                   std::size_t textSize, int* status = nullptr, double largest = host::kLargestCoordinate);
// The line about a vertex before a digitising prompt, only in an interactive command (CMDACTIVE <= 3);
// with usePrevious the codes of the vertex before it when there is one.
void printVertexInfo(const P_Vertex* vertex, int usePrevious);
// The entity's colour index, ByLayer taken from its layer (7 when the layer cannot be read).
int effectiveColorIndex(const AcDbEntity* entity);
