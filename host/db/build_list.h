#pragma once
// Result-buffer chains built from argument lists: a type code, then its value, and so on, ended by 0 (or
// RTNONE). Result types take the value they name: RTSTR a text, RTREAL, RTANG and RTORINT a double, RTSHORT
// and RTLONG an int, RTPOINT and RT3DPOINT an ads_point, RTENAME and RTPICKS an ads_name; RTLB, RTLE, RTDOTE,
// RTT, RTNIL and RTVOID take none. A DXF group code takes a value of its own type.
#include <cstdarg>

#include "host/db/resbuf.h"

// A new chain the caller frees; null for an unknown type (nothing built).
resbuf* acutBuildList(int rtype, ...);

namespace host {
resbuf* buildList(int first, va_list args);
}
