#pragma once
// The distance prompt of the polyline commands and editor: a number typed, or two points whose distance in
// plan is taken; "-" or "+" alone forces the sign of what follows.

// Asks " label <value> ?" (" Distance <value> ?" without a label) starting from `defaultValue`; keywords (a
// list for acedInitGet, or null) and any other text are accepted: such a text is copied into `text` (when
// given, at least 256 bytes) and the current value answered. Enter answers the current value; cancel or an
// error the default.
double askDistance(double defaultValue, const char* label, const char* keywords, char* text);
