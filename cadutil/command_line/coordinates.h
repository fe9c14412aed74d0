#pragma once
// Conversions of points between the world and the current user coordinate systems (points, not
// displacements).
#include "host/db/resbuf.h"

int wcsToUcs(const ads_point world, ads_point user);
int ucsToWcs(const ads_point user, ads_point world);
int ucsToWcsInPlace(ads_point point);
