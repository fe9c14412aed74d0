#pragma once
// Files of the support path: the current folder, the folder of the current drawing, then the folders of the
// environment variable ZHOST_SUPPORT (separated by ":"). Names are looked up without regard to case, and
// "\" separates folders as well as "/".
#include <cstddef>

#include "host/rx/adesk.h"

// RTNORM with the full path in `result`; RTERROR when no such file exists or the path does not fit.
int acedFindFile(const ACHAR* fileName, ACHAR* result, std::size_t size);
