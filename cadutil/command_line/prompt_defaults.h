#pragma once
// Prompts of the plug-in that show a default, and the yes/no question of smoothing.
#include "host/db/resbuf.h"

// "%s <%f> :" (or "<%f> :" without a prompt) and acedGetReal; a prompt that is itself a format with exactly
// one real conversion ("Rayon %.2f m ?") is filled with the value, any other "%" is printed as it stands.
// The value is unchanged unless a number is given; the host's code.
int getr_def(const char* prompt, double* value);
// The same with "%s <%d> :", one integer conversion, and acedGetInt.
int geti_def(const char* prompt, int* value);
// A non-negative integer or a keyword ("Rect3"): a keyword gives the number its last digits make (0
// without), Enter or cancel give `defaultValue`.
int getIntOrKeyword(int defaultValue, const char* prompt, const char* keywords);
// Whether straight segments are smoothed too: 6 yes, 7 no, the negated last answer on cancel. Starts from
// g_smoothLinesAnswer (which the caller keeps).
int askSmoothLines();
extern int g_smoothLinesAnswer;
// A point in world coordinates, asked from a base point in world coordinates (or none); the host's code.
int getWorldPoint(const ads_point base, const char* prompt, ads_point result);
