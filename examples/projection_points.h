#pragma once
// The projection part of the library session: a few points converted L-93 -> UTM 31 -> L-IIE, heights
// through the shipped geoid grid.

// Prints the conversions with "$L$"; answers 0, or 1 when the definition file cannot be read.
int convertSamplePoints();
