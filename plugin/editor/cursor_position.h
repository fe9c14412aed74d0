#pragma once
// The outside LISP function ZOR_SetCursorPos, defined by another application when it runs: the editor hands
// it the point it works at, or a height alone when the point's x is empty.
#include "geometry/points/point3d.h"

void setCursorPos(const CPoint3d& point);
