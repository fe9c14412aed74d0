#pragma once
// One host line, arc, circle or flat circular ellipse as a polyline segment in a working system.
#include "geometry/arcs/arc3d.h"

class AcDbCurve;

// Fills `arc` in `system` (null: world), which becomes its working system. Answers 1 for a straight
// segment, 2 for an arc, 3 for a full circle, -1 for a curve that is none of these.
int curveToArc3d(CArc3d& arc, Mat3D* system, const AcDbCurve* curve);

// The bulge in plan of the arc from start to end whose middle is `middle`.
double bulgeThrough(const CPoint3d& start, const CPoint3d& middle, const CPoint3d& end);
